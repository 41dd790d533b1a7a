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

namespace testsupport {
QStringList strings(std::initializer_list<const char*> utf8) {
    QStringList out;
    for (const char* s : utf8)
        out << QString::fromUtf8(s);
    return out;
}
} // namespace testsupport
