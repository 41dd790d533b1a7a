#pragma once

#include <QElapsedTimer>
#include <QObject>

// Notes when the user last gave the program input (a key, a click, a wheel turn), anywhere in
// it, so that work of the program's own can wait until the user pauses.
class InputClock final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InputClock)
public:
    explicit InputClock(QObject* parent = nullptr);
    ~InputClock() override;
    qint64 msSinceInput() const { return mLast.elapsed(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QElapsedTimer mLast;
};
