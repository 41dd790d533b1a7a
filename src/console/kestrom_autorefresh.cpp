// Reading the list again on a timer, and by F5, without moving what a kill acts on.
#include "console/kestrom.h"

#include "console/callwait.h"
#include "console/gridcolumns.h"
#include "console/inputclock.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "decor/frmsearch.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTime>
#include <QTimer>
#include <algorithm>

namespace {
const QString kAutoRefreshKey = QStringLiteral("search/autoRefreshSeconds");
struct Choice {
    int seconds;
    const char16_t* caption;
};
constexpr Choice kChoices[] = {
    {0, u"しない(&O)"}, {5, u"5秒(&5)"}, {10, u"10秒(&1)"}, {30, u"30秒(&3)"}, {60, u"60秒(&6)"}};
// The user must have paused this long, and a refresh that had to wait is tried again this soon.
constexpr int kIdleMs = 1000;
constexpr int kRetryMs = 250;

QSettings Settings() {
    return QSettings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom"));
}

bool IsChoice(int seconds) {
    return std::any_of(std::begin(kChoices), std::end(kChoices),
                       [seconds](const Choice& c) { return c.seconds == seconds; });
}
} // namespace

int Kestrom::autoRefreshSetting() {
    const int seconds = Settings().value(kAutoRefreshKey, 0).toInt();
    return IsChoice(seconds) ? seconds : 0;
}

void Kestrom::buildAutoRefreshMenu() {
    // R, not A: A stays 全ｲﾝｽﾀﾝｽ's, which one key press still switches.
    AutoRefresh = ken->addMenu(QStringLiteral("自動更新(&R)"));
    AutoRefresh->setObjectName(QStringLiteral("AutoRefresh"));
    mAutoRefreshChoices = new QActionGroup(AutoRefresh);
    mAutoRefreshChoices->setExclusive(true);
    mAutoRefreshSeconds = autoRefreshSetting();
    for (const Choice& c : kChoices) {
        QAction* choice = AutoRefresh->addAction(QString::fromUtf16(c.caption));
        choice->setObjectName(QStringLiteral("AutoRefresh%1").arg(c.seconds));
        choice->setData(c.seconds);
        choice->setCheckable(true);
        choice->setChecked(c.seconds == mAutoRefreshSeconds);
        mAutoRefreshChoices->addAction(choice);
    }
    connect(mAutoRefreshChoices, &QActionGroup::triggered, this, &Kestrom::AutoRefresh_Click);
    mAutoRefreshTimer = new QTimer(this);
    mAutoRefreshTimer->setSingleShot(true);
    connect(mAutoRefreshTimer, &QTimer::timeout, this, &Kestrom::autoRefreshDue);
    mInputClock = new InputClock(this);
}

void Kestrom::AutoRefresh_Click(QAction* choice) {
    mAutoRefreshSeconds = choice->data().toInt();
    Settings().setValue(kAutoRefreshKey, mAutoRefreshSeconds);
    mLastRefresh.clear();
    updateAutoRefresh();
}

void Kestrom::setAutoRefreshChoice(int seconds) {
    mAutoRefreshSeconds = seconds;
    for (QAction* choice : mAutoRefreshChoices->actions())
        choice->setChecked(choice->data().toInt() == seconds);
    updateAutoRefresh();
}

void Kestrom::updateAutoRefresh() {
    if (mAutoRefreshSeconds > 0 && mConnection && !mUnloaded) {
        // A new choice counts from now; one already running keeps its time.
        if (!mAutoRefreshTimer->isActive())
            mAutoRefreshTimer->start(mAutoRefreshSeconds * 1000);
    } else {
        mAutoRefreshTimer->stop();
        mLastRefresh.clear();
    }
    showAutoRefreshState();
}

void Kestrom::showAutoRefreshState() {
    QString text;
    if (mAutoRefreshTimer->isActive() || (mAutoRefreshSeconds > 0 && mConnection)) {
        text = QStringLiteral("自動更新 %1秒").arg(mAutoRefreshSeconds);
        if (!mLastRefresh.isEmpty())
            text += QStringLiteral("　最終 ") + mLastRefresh;
    }
    sbStatusBar->setRefreshText(text);
}

bool Kestrom::windowIsIdle() const {
    // Nothing the user is in the middle of: a dialog or message, a menu, a wait for the
    // server, the search banner, a drag, typing.
    return !QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
           !callwait::InProgress() && !frmSearch::instance() &&
           QGuiApplication::mouseButtons() == Qt::NoButton &&
           mInputClock->msSinceInput() >= kIdleMs;
}

void Kestrom::autoRefreshDue() {
    if (mUnloaded || !mConnection || mAutoRefreshSeconds == 0) {
        updateAutoRefresh();
        return;
    }
    if (!windowIsIdle()) {
        mAutoRefreshTimer->start(kRetryMs);
        return;
    }
    const ListPlace place = listPlace();
    // The focus stays where the user left it (the search puts it on the grid).
    QWidget* focus = focusWidget();
    SessionSearch();
    if (mUnloaded)
        return;
    if (focus && focus->isVisible())
        focus->setFocus(Qt::OtherFocusReason);
    // Also after a failure, when the rows read before it are shown, the current row stays on
    // its session or on none.
    restoreListPlace(place);
    if (mSearchFailure) {
        // The failure has been shown once; refreshing would show it again and again.
        setAutoRefreshChoice(0);
        return;
    }
    if (mHeldNote && rowOf(mHeldNote->first) > 0)
        noteForSession(mHeldNote->first, mHeldNote->second);
    else
        mHeldNote.reset();
    mLastRefresh = QTime::currentTime().toString(QStringLiteral("H:mm:ss"));
    mAutoRefreshTimer->start(mAutoRefreshSeconds * 1000);
    showAutoRefreshState();
}

void Kestrom::Refresh_Click() {
    // F5 shows again the list that is shown: the blockers, or the machine in the box.
    // Not connected, or with no session current (an empty list), it lists as the search does:
    // there is nothing to keep. After the current session has gone, none is current still.
    const bool keep = mConnection && (MSFlexGrid1->Row() >= 1 || mTargetLost);
    const ListPlace place = listPlace();
    if (mBlockersList && mConnection)
        listBlockers();
    else
        cmdSearch_Click();
    if (!keep || mUnloaded || !mConnection)
        return;
    restoreListPlace(place);
}

Kestrom::ListPlace Kestrom::listPlace() const {
    SessionGrid* grid = MSFlexGrid1;
    ListPlace place;
    const int row = grid->Row();
    if (row >= 1 && row < grid->Rows())
        place.key = keyAtRow(row);
    place.col = grid->Col();
    place.top = grid->verticalScrollBar()->value();
    place.left = grid->horizontalScrollBar()->value();
    return place;
}

int Kestrom::rowOf(const ora::SessionKey& wanted) const {
    for (int row = 1; row < MSFlexGrid1->Rows(); ++row) {
        const std::optional<ora::SessionKey> key = keyAtRow(row);
        if (key && ora::SameSession(*key, wanted, mConnectedInstance))
            return row;
    }
    return 0;
}

std::optional<ora::SessionKey> Kestrom::keyAtRow(int row) const {
    // Read without moving the current cell, which is the user's.
    const SessionGrid* grid = MSFlexGrid1;
    return ora::ParseSessionKey(grid->TextMatrix(row, colSid), grid->TextMatrix(row, colSerial),
                                grid->Cols() > colInstance ? grid->TextMatrix(row, colInstance)
                                                           : QString());
}

void Kestrom::restoreListPlace(const ListPlace& place) {
    SessionGrid* grid = MSFlexGrid1;
    const int found = place.key ? rowOf(*place.key) : 0;
    // The kill target never moves onto another session by itself: when the session has gone,
    // nothing is current and the commands that act on a session wait for the user's choice.
    mTargetLost = found == 0 && grid->Rows() > 1;
    grid->setRow(found);
    grid->setCol(place.col);
    cmdSessionCt->setEnabled(!mTargetLost);
    // After the grid has shown its new current row: the same part of the list in view, with
    // the current row in it.
    QMetaObject::invokeMethod(
        grid,
        [grid, place] {
            grid->verticalScrollBar()->setValue(place.top);
            grid->horizontalScrollBar()->setValue(place.left);
            if (grid->currentIndex().isValid())
                grid->scrollTo(grid->currentIndex());
        },
        Qt::QueuedConnection);
}

void Kestrom::targetChosen() {
    // The user picked a row after the session acted on had gone: the commands act again.
    if (mTargetLost && mConnection && MSFlexGrid1->Row() >= 1) {
        mTargetLost = false;
        cmdSessionCt->setEnabled(true);
    }
}
