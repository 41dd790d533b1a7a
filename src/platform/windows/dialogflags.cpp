#include "platform/dialogflags.h"

namespace platform {
void OfferOnlyCloseBox(QWidget*) {
    // Windows draws the caption buttons exactly as the dialog's flags ask.
}
} // namespace platform
