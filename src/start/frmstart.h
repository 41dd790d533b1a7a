#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

// The first window: refuses a second running copy, shows the splash for 1.5 seconds, then
// opens the main window and unloads itself.
class FrmStart final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmStart)
public:
    explicit FrmStart(QWidget* parent = nullptr);

    // Runs before the window is shown. False when another copy runs: the refusal has been
    // shown, the window is unloaded and the program should end.
    bool Form_Load();

    // Test seam: what the first tick opens (by default the main window's opening sequence).
    void setMainOpener(std::function<void()> opener) { mOpenMain = std::move(opener); }

private:
    void Timer1_Timer();

    QLabel* Picture1;
    QTimer* Timer1;
    std::function<void()> mOpenMain;
    bool mOpening = false;
};
