#include "console/panelstatusbar.h"

#include "classic/twips.h"

#include <QLabel>
#include <QTime>
#include <QTimer>

PanelStatusBar::PanelStatusBar(QWidget* parent)
    : QStatusBar(parent), mNotice(new QLabel(this)), mRefresh(new QLabel(this)),
      mClock(new QTimer(this)) {
    setSizeGripEnabled(true);
    const float widths[3] = {1200.0f, 6840.0f, 800.0f};
    for (int i = 0; i < 3; ++i) {
        mPanels[i] = new QLabel(this);
        mPanels[i]->setObjectName(QStringLiteral("sbStatusBar_Panel%1").arg(i + 1));
        mPanels[i]->setFrameShape(QFrame::StyledPanel);
        mPanels[i]->setFrameShadow(QFrame::Sunken);
        mPanels[i]->setMinimumWidth(classic::TwipsToPixelsX(widths[i]) / (i == 1 ? 4 : 1));
    }
    mPanels[0]->setToolTip(QStringLiteral("DataBaseの接続状態を表示"));
    mPanels[1]->setToolTip(QStringLiteral("ﾛｸﾞｲﾝ情報を表示"));
    mPanels[2]->setAlignment(Qt::AlignCenter);
    addWidget(mPanels[0]);
    addWidget(mPanels[1], 1);
    mNotice->setObjectName(QStringLiteral("sbStatusBar_Notice"));
    mNotice->setFrameShape(QFrame::StyledPanel);
    mNotice->setFrameShadow(QFrame::Sunken);
    mNotice->hide();
    addPermanentWidget(mNotice);
    mRefresh->setObjectName(QStringLiteral("sbStatusBar_AutoRefresh"));
    mRefresh->setFrameShape(QFrame::StyledPanel);
    mRefresh->setFrameShadow(QFrame::Sunken);
    mRefresh->hide();
    addPermanentWidget(mRefresh);
    addPermanentWidget(mPanels[2]);
    connect(mClock, &QTimer::timeout, this, &PanelStatusBar::tick);
    mClock->start(1000);
    tick();
}

QLabel* PanelStatusBar::panel(int panel) const {
    return panel >= 1 && panel <= 3 ? mPanels[panel - 1] : nullptr;
}

QString PanelStatusBar::panelText(int p) const {
    return panel(p) ? panel(p)->text() : QString();
}

void PanelStatusBar::setPanelText(int p, const QString& text) {
    if (panel(p))
        panel(p)->setText(text);
}

QString PanelStatusBar::panelToolTip(int p) const {
    return panel(p) ? panel(p)->toolTip() : QString();
}

void PanelStatusBar::setNoticeText(const QString& text) {
    mNotice->setText(text);
    // A narrow window cuts the note; it is all there when pointed at.
    mNotice->setToolTip(text);
    mNotice->setVisible(!text.isEmpty());
}

QString PanelStatusBar::noticeText() const {
    return mNotice->text();
}

void PanelStatusBar::setRefreshText(const QString& text) {
    mRefresh->setText(text);
    // Short, and never cut: a narrow window cuts the notice beside it instead.
    mRefresh->setMinimumWidth(text.isEmpty() ? 0 : mRefresh->sizeHint().width());
    mRefresh->setVisible(!text.isEmpty());
}

void PanelStatusBar::tick() {
    const QString now = QTime::currentTime().toString(QStringLiteral("H:mm"));
    if (mPanels[2]->text() != now)
        mPanels[2]->setText(now);
}
