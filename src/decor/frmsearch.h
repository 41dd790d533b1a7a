#pragma once

#include <QWidget>

class SvgPicture;

// The small borderless banner centred over the main window while a search runs; it follows
// the main window when that is moved or resized meanwhile.
class frmSearch final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSearch)
public:
    // Loads (if needed) and shows the window, painted before the caller blocks.
    static void Show();
    // Unloads the window; nothing of it remains.
    static void Unload();
    // The loaded window, or null.
    static frmSearch* instance();

    // The window's own handle while it is loaded, 0 otherwise.
    quintptr hWnd() const { return mHwnd; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmSearch(QWidget* parent = nullptr);
    void Form_Load();
    void Form_QueryUnload();

    SvgPicture* Picture1 = nullptr;
    quintptr mHwnd = 0;
};
