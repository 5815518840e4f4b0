// The settings dialog and its volume page open the mixer and a monitor capture: every test of
// those windows talks to one private sound server, never to the desktop's.
#pragma once

namespace quortest {
class PulseServer;
// The program's server, started before the first test and stopped after the last.
PulseServer& DialogTestServer();
} // namespace quortest
