#include "testsupport.h"

#include "platform/fonts.h"
#include "platform/msgbox.h"
#include "platform/zoom.h"

namespace testsupport {
void initWindowTests() {
    platform::InstallFontSubstitutions();
    platform::MsgBoxHook::enable();
    platform::MsgBoxHook::clear();
    platform::ZoomHook::setDurationMs(0);
    platform::ZoomHook::clear();
}
} // namespace testsupport
