#pragma once

#include "classic/winrect.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QWidget;

// The version (about) window: logo, product name and version; opens out of the cursor.
class frmVersion final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmVersion)
public:
    // Loads the window, shows it modally and returns once it is closed and unloaded.
    static void ShowModal();

    // The version text as the window holds it, lines ended by CR LF.
    static QString VersionText();

    void done(int result) override;

private:
    explicit frmVersion(QWidget* parent = nullptr);
    void Form_Load();
    void Form_QueryUnload();
    void Command1_Click();

    QPushButton* Command1 = nullptr;
    QWidget* Picture1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;

    classic::WinRect mFromRect;
    classic::WinRect mToRect;
    classic::WinPoint mCursor;
    bool mUnloading = false;
};
