#include "platform/closerequest.h"

namespace platform {
// Windows itself keeps a window's close box from acting while a modal window blocks it, so
// there is no dropped request to answer.
void OnCloseRequestWhileBlocked(QWidget*, std::function<void()>) {}
} // namespace platform
