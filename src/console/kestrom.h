#pragma once

#include "classic/winrect.h"
#include "console/callwait.h"
#include "oracle/database.h"
#include "oracle/sessiondetails.h"
#include "oracle/sessionkill.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class InputClock;
class PanelStatusBar;
class SessionGrid;
struct GridColumnSpec;

// The main window: the session console and the owner of all program state.
class Kestrom final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Kestrom)
public:
    using LoginPrompt = std::function<qint16(QString&, QString&, QString&)>;

    explicit Kestrom(QWidget* parent = nullptr);
    ~Kestrom() override;

    // The opening sequence: shows the window and opens the login dialog.
    void Form_Load();

    // Test seam: the login dialog's LinkSet by default.
    void setLoginPrompt(LoginPrompt prompt) { mLoginPrompt = std::move(prompt); }

Q_SIGNALS:
    // The window has closed; the program ends with it.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    // Event procedures.
    void CmdDB_Click();
    void Link_Click();
    void Cutting_Click();
    void cmdSearch_Click();
    void Search_Click();
    void cmdSessionCt_Click();
    void cmdEN_Click();
    void EN_Click();
    void MyPcName_Click();
    void txtPcName_DblClick();
    void txtPcName_KeyDown(qint16& KeyCode, qint16& Shift);
    void MSFlexGrid1_KeyDown(qint16& KeyCode, qint16& Shift);
    void Version_Click();
    void Form_Resize();

    // Beyond the classic window: the grid's context menu, the immediate kill, session details,
    // the cluster-wide list, F5 and copying rows.
    void KillImmediate_Click();
    void Details_Click();
    void Copy_Click();
    void AllInstances_Click();
    void CancelSql_Click();
    void Blockers_Click();
    void Refresh_Click();
    // Beyond the classic window: the list read again on a timer, and the disconnect that lets
    // the session's transaction end first.
    void AutoRefresh_Click(QAction* choice);
    void DisconnectAfterTransaction_Click();

private:
    bool allInstances() const;
    void buildControls();
    void buildMenus();
    void buildGrid();
    void Form_QueryUnload();
    // Opens the database and probes it; true when the login dialog should be shown again.
    bool DbConnect();
    void SessionSearch();
    void GetMyPcName();
    void Disconnect();
    void buildGridActions();
    // Writes one column's caption into the header row and gives the column its width.
    void setHeaderCell(const GridColumnSpec& spec);
    // A failure the user can do nothing about but read: the sentence, then the database's text.
    void reportFailure(const QString& sentence, const QString& description);
    static bool allInstancesSetting();
    // Gives the grid its tenth column, the instance, for the cluster-wide list, or takes it away.
    void showInstanceColumn(bool shown);
    // The cluster-wide list was refused: for the rest of this connection the single-instance
    // list is shown, at once, and the user is told why.
    void listWithoutCluster(const QString& reason);
    void showGridMenu(int row, const QPoint& globalPos);
    static void toClipboard(const QString& text);
    void showDetails(int row);
    // The session of the grid's current row, read from its cells (the key is empty when the
    // texts are not plain numbers); leaves the terminal's column current.
    struct RowSession {
        std::optional<ora::SessionKey> key;
        QString terminal;
    };
    RowSession currentSession() const;
    void killCurrentRow(bool immediate);
    // The ways a session is ended, each with its own statement, question and report.
    enum class SessionEnd { Kill, KillImmediate, DisconnectAfterTransaction };
    void endSession(const RowSession& session, SessionEnd how);
    // Asks before acting on another machine's session; true to go on.
    bool confirmedForSession(const RowSession& session, const QString& question,
                             const QString& title);
    // Why the disconnect cannot reach the session (another instance than the connection's), or
    // an empty text when it can.
    QString disconnectRefusal(const RowSession& session);
    void disconnectSession(const RowSession& session);
    // A note on one session in the status bar before what the list says of itself, until the
    // next search.
    void noteForSession(const ora::SessionKey& key, const QString& note);
    // The row that shows the session (0: none).
    int rowOf(const ora::SessionKey& key) const;
    std::optional<ora::SessionKey> keyAtRow(int row) const;
    // Where the user is in the list: the current session by its key, and the scroll position.
    struct ListPlace {
        std::optional<ora::SessionKey> key;
        int col = 0;
        int top = 0;
        int left = 0;
    };
    ListPlace listPlace() const;
    // Makes the same session current again, wherever the new list shows it; when it is gone,
    // no row is current and the session commands wait until the user picks a row.
    void restoreListPlace(const ListPlace& place);
    void buildAutoRefreshMenu();
    static int autoRefreshSetting();
    // Starts or stops the timer as the choice and the connection say.
    void updateAutoRefresh();
    // Shows and uses a choice without storing it: the stored one is taken up again at each
    // login, and a failure turns auto-refresh off for the rest of the connection only.
    void setAutoRefreshChoice(int seconds);
    void autoRefreshDue();
    bool windowIsIdle() const;
    void showAutoRefreshState();
    void targetChosen();
    // Ends one session: asks first when it belongs to another machine, reports the outcome and
    // lists the sessions again.
    void killSession(const RowSession& session, bool immediate);
    // The server only marked the session for kill: the status bar says so until the next search.
    void noteMarkedForKill(const ora::SessionKey& key);
    // Cancels the statement the session runs, keeping the session: asks first when it belongs
    // to another machine, reports the outcome and lists the sessions again.
    void cancelSql(const RowSession& session);
    // Lists the sessions that block others, from every machine.
    void listBlockers();
    // The statement of the list shown: the blockers', or the machine's in mPCname.
    QString listStatement(bool cluster) const;
    // What the status bar says of the list shown, beside what was left out of it.
    QString listNotice(int rows) const;
    // Shows the blockers' list with the root of a chain current, ready for Delete. The
    // single-instance list shows the sessions of `connectedInstance` only.
    void goToRootBlocker(const ora::BlockerRef& root, qint64 connectedInstance);
    // The key of a row's session; throws when its texts are not plain numbers.
    static ora::SessionKey keyOf(const RowSession& session);
    // Lists the sessions again after a change, under the hourglass.
    void refreshList();
    void reportSearchFailure(const QString& description);
    // A call failed: when the connection is gone, the status bar says so and the details
    // window read on it closes.
    void noteFailure(const ora::OraError& error);
    // The connection shows it is lost: the status bar says so and the details window read on
    // it closes.
    void noteConnectionLost();
    // The answer to a kill or a cancel was lost: says that the outcome is unknown (`unknown`),
    // with Oracle's text, and how the user will know. True when the list can be read again now;
    // false when the connection is lost and the list waits for the next login.
    bool reportUnknownOutcome(const QString& unknown, const ora::OraError& error,
                              bool connectionLost);
    // The connection, held by the caller so that a disconnect from a nested event loop cannot
    // pull it away; ORA-03114 when there is none.
    std::shared_ptr<ora::Connection> connection() const;
    // Makes one call on the connection's own thread while the window waits; Esc breaks it off.
    // `job` takes the database and holds copies of everything else it uses.
    template <typename Job> auto roundTrip(const std::shared_ptr<ora::Connection>& db, Job job) {
        return callwait::Run(*db, sbStatusBar, std::move(job));
    }
    // Closes the connection in the background; its logoff is never cut off while the program
    // runs.
    void closeDatabaseQuietly();
    // Lets every connection's thread leave the client library, within the close bound.
    void waitForClientCalls();
    // The outer size the resize rules work on, and setting it, in twips.
    float outerWidth() const;
    float outerHeight() const;
    void setOuterWidth(float twips);
    void setOuterHeight(float twips);
    void placeStatusBar();

    // Database objects. The connection is shared so that a procedure entered again from a
    // nested event loop cannot pull it away from one that is still using it; it is set from
    // the start of the logon.
    std::shared_ptr<ora::OraSession> OraSession;
    std::shared_ptr<ora::Connection> mConnection;
    QString mSetID;
    QString mSetPass;
    QString mSetMoji;
    qint16 mStrFlg = 0;
    qint16 mLogFlg = 0;
    QString mPCname;
    QString mMyPCname;
    qint16 mDbLinkFlg = 0;
    QString pUsrID;
    QString pHost;
    // Set once the window has closed; procedures that let events run stop there.
    bool mUnloaded = false;
    // The list shows the sessions that block others, until the next search by machine name.
    bool mBlockersList = false;
    // Why the last search failed; empty when it succeeded.
    std::optional<ora::OraError> mSearchFailure;
    classic::WinRect mWindowRect;
    classic::WinRect mMirrorRect;

    LoginPrompt mLoginPrompt;

    // Controls, named as the window's controls are named.
    QWidget* mClient = nullptr;
    QLineEdit* txtPcName = nullptr;
    QPushButton* cmdSearch = nullptr;
    QGroupBox* Frame1 = nullptr;
    SessionGrid* MSFlexGrid1 = nullptr;
    QPushButton* CmdDB = nullptr;
    QLabel* Labe1 = nullptr;
    QPushButton* cmdSessionCt = nullptr;
    QPushButton* cmdEN = nullptr;
    PanelStatusBar* sbStatusBar = nullptr;
    QLabel* Label2 = nullptr;

    // Menus.
    QMenu* Lin = nullptr;
    QAction* Link = nullptr;
    QAction* Cutting = nullptr;
    QAction* EN = nullptr;
    QMenu* ken = nullptr;
    QAction* Search = nullptr;
    QAction* MyPcName = nullptr;
    QAction* AllInstances = nullptr;
    QAction* Blockers = nullptr;
    QMenu* AutoRefresh = nullptr;
    QActionGroup* mAutoRefreshChoices = nullptr;
    QTimer* mAutoRefreshTimer = nullptr;
    InputClock* mInputClock = nullptr;
    // Seconds between refreshes as chosen (0: off), and the time of the last refresh.
    int mAutoRefreshSeconds = 0;
    QString mLastRefresh;
    // The session the commands acted on has left the list; none acts until a row is picked.
    bool mTargetLost = false;
    // The last note on one session, shown again by the timer's refresh while it is listed.
    std::optional<std::pair<ora::SessionKey, QString>> mHeldNote;
    // The instance the connection is on, once known (0: not known).
    qint64 mConnectedInstance = 0;
    QMenu* hel = nullptr;
    QAction* Help = nullptr;
    QAction* Version = nullptr;
};
