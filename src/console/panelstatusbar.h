#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

// The main window's status bar: panel 1 the connection state, panel 2 the login
// information, panel 3 a clock (hours and minutes) that the bar keeps current itself.
class PanelStatusBar final : public QStatusBar {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelStatusBar)
public:
    explicit PanelStatusBar(QWidget* parent = nullptr);

    // Panels are numbered from 1.
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    QString panelToolTip(int panel) const;
    // A note beside the login information (what the last list left out), shown while it is
    // not empty.
    void setNoticeText(const QString& text);
    QString noticeText() const;
    // What keeps the list current by itself (auto-refresh), shown while not empty.
    void setRefreshText(const QString& text);

private:
    void tick();
    QLabel* panel(int panel) const;

    QLabel* mPanels[3];
    QLabel* mNotice;
    QLabel* mRefresh;
    QTimer* mClock;
};
