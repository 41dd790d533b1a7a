#include "classic/enterkey.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace classic {
namespace {
class EnterFilter final : public QObject {
public:
    EnterFilter() = default;
    Q_DISABLE_COPY_MOVE(EnterFilter)
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        auto* button = static_cast<QAbstractButton*>(watched);
        if (!key->isAutoRepeat() && button->isEnabled())
            button->click();
        return true;
    }
};
} // namespace

void EnterPressesButton(QAbstractButton* button) {
    static EnterFilter filter;
    button->installEventFilter(&filter);
}
} // namespace classic
