#include "console/mainlayout.h"

namespace mainlayout {

Layout Compute(float W, float H) {
    Layout l;
    if (W < kMinWidth) {
        l.windowWidth = kMinWidth;
        W = kMinWidth;
    }
    if (H < kMinHeight) {
        l.windowHeight = kMinHeight;
        H = kMinHeight;
    }
    l.frameWidth = W - 375.0f;
    l.gridWidth = l.frameWidth - 240.0f;
    l.exitLeft = l.gridWidth + kGridLeft - kExitWidth;
    l.frameHeight = H - 1650.0f;
    l.gridHeight = l.frameHeight - 990.0f;
    l.killTop = l.gridHeight + kGridTop + 100.0f;
    l.exitTop = l.killTop;
    l.separatorTop = H - 1000.0f;
    l.separatorWidth = W + 120.0f;
    return l;
}

} // namespace mainlayout
