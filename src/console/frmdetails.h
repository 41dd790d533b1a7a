#pragma once

#include "oracle/sessiondetails.h"
#include "oracle/sessionkill.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// What the details window shows of one session, as texts ready to read.
struct SessionDetails {
    ora::SessionKey key;
    QString terminal;             // as the list shows it, for the kill's confirmation rule
    qint64 connectedInstance = 0; // the instance the connection is on, 0 when not known
    ora::DetailsTexts texts;
};

// The session details window: modeless, one at a time; Esc and Enter close it. It can end the
// session it shows at once (the immediate kill) or cancel its statement, through the main
// window's procedures, and lead to the root of the chain of blockers it waits behind.
class frmDetails final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmDetails)
public:
    using KillRequest = std::function<void(const ora::SessionKey&, const QString& terminal)>;
    using RootRequest = std::function<void(const ora::BlockerRef&)>;
    struct Requests {
        KillRequest kill;
        KillRequest cancel;
        KillRequest disconnect;
        RootRequest toRoot;
    };

    // Shows the details over the owner, replacing what the window showed before.
    static frmDetails* Show(QWidget* owner, const SessionDetails& details, Requests requests);
    static frmDetails* instance();
    // The session shown has ended: the window, which would show it still running, closes.
    static void SessionEnded(const ora::SessionKey& key);
    // Closes the window, if open.
    static void Unload();

private:
    explicit frmDetails(QWidget* owner);
    void setDetails(const SessionDetails& details);

    static QPointer<frmDetails> sInstance;
    SessionDetails mDetails;
    Requests mRequests;
    QPushButton* mToRoot = nullptr;
    QPushButton* mDisconnect = nullptr;
    QWidget* mFields = nullptr;
    QPlainTextEdit* mSql = nullptr;
    QLabel* mSqlCut = nullptr;
};
