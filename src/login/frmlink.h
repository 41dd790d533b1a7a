#pragma once

#include "classic/winrect.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The modal login dialog: user ID, password and host string.
class frmLink final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmLink)
public:
    // Shows the three values for editing. True (-1) when the user confirmed with OK and all
    // three are non-empty (for the user ID "/", the user ID alone); the arguments then hold the
    // edited values. False (0) otherwise, with the arguments untouched.
    static qint16 LinkSet(QString& LinkChrID, QString& LinkChrPass, QString& LinkChrLine);
    // The user ID "/" (also "/ as sysdba" and the like) logs on with the operating system's or
    // a wallet's credentials: it needs no password, and a host string only for a wallet or
    // another machine's database.
    static bool ExternalUserId(const QString& userId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit frmLink(QWidget* parent = nullptr);
    void buildControls();
    // A secret box never takes an input method; the others have it switched off on focus.
    QLineEdit* addBox(const QString& name, float top, bool secret);
    QLabel* addLabel(const QString& name, const QString& caption, float top, float width);
    QPushButton* addButton(const QString& name, const QString& caption, float top);

    void Form_Load();
    void cmdOk_Click();
    void cmdNo_Click();
    // The three boxes share these two: what differs is only where Enter leads.
    void txt_GotFocus(QLineEdit* box);
    void txt_KeyDown(QLineEdit* box, qint16 KeyCode);

    QLabel* lblUsrID = nullptr;
    QLabel* lblPasswd[2] = {nullptr, nullptr};
    QLineEdit* txtUsrID = nullptr;
    QLineEdit* txtPasswd = nullptr;
    QLineEdit* txtLinkChrLine = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdNo = nullptr;
    QLabel* lblMessage = nullptr;

    qint16 mOkFlg = 0;
    classic::WinRect mWindowRect;
    classic::WinRect mStartRect;
    // A box that took the focus from a mouse press keeps its whole-text selection through
    // that press, which would otherwise place the cursor.
    QLineEdit* mSelectedByMouse = nullptr;
};
