// The settings dialog's volume page opens the mixer and a monitor capture: every test of the
// dialog programs talks to one private sound server, never to the desktop's.
#pragma once

namespace quortest {
class PulseServer;
// The program's server, started before the first test and stopped after the last.
PulseServer& DialogTestServer();
} // namespace quortest
