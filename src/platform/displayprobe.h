#pragma once

#include "platform/display.h"

#include <QString>
#include <optional>

// The part of the display check that knows the window system; one implementation per system,
// chosen by the build.
namespace platform {

struct DisplayProblem {
    QString where;  // the display, as `X display ":0"`; empty when none is set
    QString reason; // "unreachable", "authorization refused (...)", ...
};

// Asks the window system that Qt would use for the target whether it takes a connection now.
// Nothing when it does, or when the platform needs no display (offscreen, vnc, ...). A
// connection made is kept until CloseProbe(): an X server without other clients resets when
// its last one leaves, and would then turn Qt's own connection away.
std::optional<DisplayProblem> ProbeDisplay(const WindowTarget& target);
void CloseProbe();

// The display Qt would open, named as in DisplayProblem::where; empty when none is set.
QString DisplayName(const WindowTarget& target);

} // namespace platform
