#include "decor/centre.h"

#include "classic/mainform.h"
#include "classic/twips.h"

#include <QWidget>

namespace centre {

namespace {
TwipsRect outerTwips(const QWidget& window) {
    const QRectF r = classic::OuterRectTwips(&window);
    return {static_cast<float>(r.x()), static_cast<float>(r.y()), static_cast<float>(r.width()),
            static_cast<float>(r.height())};
}
} // namespace

TwipsPos CentreOver(const TwipsRect& main, float ownWidth, float ownHeight) {
    TwipsPos pos;
    pos.Top = main.Height / 2 + main.Top - ownHeight / 2;
    pos.Left = main.Width / 2 + main.Left - ownWidth / 2;
    return pos;
}

void CentreOverMainForm(QWidget& window) {
    const QWidget* main = classic::MainForm();
    if (!main)
        return;
    const TwipsRect own = outerTwips(window);
    const TwipsPos pos = CentreOver(outerTwips(*main), own.Width, own.Height);
    classic::MoveOuterTwips(&window, pos.Left, pos.Top);
}

} // namespace centre
