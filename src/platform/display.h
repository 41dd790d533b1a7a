#pragma once

namespace platform {

// Whether the windows have somewhere to go: an X11 or Wayland display that accepts a
// connection, or a Qt platform that needs none (offscreen, VNC, ...). Qt itself aborts
// when it cannot open its display, so this is asked before the application object exists.
// A display on another host is taken as reachable and left to the window system.
bool DisplayReachable();

} // namespace platform
