// The platform's offline test: is the computer on a network at all?
#pragma once

namespace platform {

// True when some non-loopback interface is up with an address and the system's network
// information (when it has any) does not report the network as disconnected. Never waits on the
// network itself. Call it on the GUI thread after the application object exists.
bool IsOnline();

} // namespace platform

using platform::IsOnline;
