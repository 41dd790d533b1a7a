#include "decor/dasPBer.h"

#include "decor/frmsearch.h"
#include "platform/topmost.h"

namespace dasPBer {

void TopMostSet(qint16& flag) {
    frmSearch* window = frmSearch::instance();
    if (!window || window->hWnd() == 0)
        return;
    // Only the z-order changes; position and size stay as they are.
    platform::SetTopMost(window, flag == -1);
}

} // namespace dasPBer
