#include "console/frmdetails.h"

#include "oracle/sessiondisconnect.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QPointer<frmDetails> frmDetails::sInstance;

frmDetails::frmDetails(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmDetails"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    mFields = new QWidget(this);
    mFields->setObjectName(QStringLiteral("fields"));
    layout->addWidget(mFields);
    layout->addWidget(new QLabel(QStringLiteral("実行中のSQL文"), this));
    mSql = new QPlainTextEdit(this);
    mSql->setObjectName(QStringLiteral("txtSql"));
    mSql->setReadOnly(true);
    // About five lines; the window can be made larger for a long statement.
    mSql->setMinimumSize(420, 5 * mSql->fontMetrics().lineSpacing() + 12);
    layout->addWidget(mSql, 1);
    mSqlCut = new QLabel(
        QStringLiteral("SQL文は先頭1000ﾊﾞｲﾄまでしか読めないため、途中で切れています。"), this);
    mSqlCut->setObjectName(QStringLiteral("lblSqlCut"));
    mSqlCut->hide();
    layout->addWidget(mSqlCut);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* kill =
        buttons->addButton(QStringLiteral("即時切断(&I)"), QDialogButtonBox::ActionRole);
    kill->setObjectName(QStringLiteral("cmdKillImmediate"));
    // Ends a session only when clicked or chosen with its access key: never the default, and
    // never focused, so that neither Enter nor Space presses it.
    kill->setAutoDefault(false);
    kill->setFocusPolicy(Qt::NoFocus);
    // Like the kill: only a click or the access key cancels the statement.
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("SQL中止(&Q)"), QDialogButtonBox::ActionRole);
    cancel->setObjectName(QStringLiteral("cmdCancelSql"));
    cancel->setAutoDefault(false);
    cancel->setFocusPolicy(Qt::NoFocus);
    // Like the kill: only a click or the access key ends the session after its transaction.
    mDisconnect = buttons->addButton(QStringLiteral("ﾄﾗﾝｻﾞｸｼｮﾝ終了後に切断(&T)"),
                                     QDialogButtonBox::ActionRole);
    mDisconnect->setObjectName(QStringLiteral("cmdDisconnect"));
    mDisconnect->setAutoDefault(false);
    mDisconnect->setFocusPolicy(Qt::NoFocus);
    mToRoot = buttons->addButton(QStringLiteral("ﾌﾞﾛｯｸ元へ(&G)"), QDialogButtonBox::ActionRole);
    mToRoot->setObjectName(QStringLiteral("cmdToBlocker"));
    mToRoot->setAutoDefault(false);
    QPushButton* closeButton =
        buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    closeButton->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Each request asks, acts, reports and refreshes, and may close this window meanwhile;
    // nothing of the window is used after it.
    auto forSession = [this](KillRequest Requests::*which) {
        return [this, which] {
            const SessionDetails details = mDetails;
            const KillRequest request = mRequests.*which;
            if (request)
                request(details.key, details.terminal);
        };
    };
    connect(kill, &QPushButton::clicked, this, forSession(&Requests::kill));
    connect(cancel, &QPushButton::clicked, this, forSession(&Requests::cancel));
    connect(mDisconnect, &QPushButton::clicked, this, forSession(&Requests::disconnect));
    connect(mToRoot, &QPushButton::clicked, this, [this] {
        const std::optional<ora::BlockerRef> root = mDetails.texts.root;
        const RootRequest request = mRequests.toRoot;
        if (root && request)
            request(*root);
    });
}

void frmDetails::SessionEnded(const ora::SessionKey& key) {
    if (sInstance &&
        ora::SameSession(sInstance->mDetails.key, key, sInstance->mDetails.connectedInstance))
        Unload();
}

void frmDetails::Unload() {
    if (sInstance)
        sInstance->close();
}

frmDetails* frmDetails::instance() {
    return sInstance;
}

frmDetails* frmDetails::Show(QWidget* owner, const SessionDetails& details, Requests requests) {
    if (!sInstance || sInstance->parentWidget() != owner) {
        if (sInstance)
            sInstance->close();
        sInstance = new frmDetails(owner);
    }
    sInstance->mRequests = std::move(requests);
    sInstance->setDetails(details);
    if (!sInstance->isVisible())
        sInstance->resize(sInstance->minimumSizeHint());
    sInstance->show();
    sInstance->raise();
    sInstance->activateWindow();
    return sInstance;
}

void frmDetails::setDetails(const SessionDetails& details) {
    mDetails = details;
    setWindowTitle(
        QStringLiteral("ｾｯｼｮﾝ詳細 - %1,%2").arg(details.key.sid).arg(details.key.serial));
    delete mFields->layout();
    qDeleteAll(mFields->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
    auto* form = new QFormLayout(mFields);
    form->setContentsMargins(0, 0, 0, 0);
    for (const auto& [caption, value] : details.texts.fields) {
        auto* shown = new QLabel(value, mFields);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(caption, shown);
    }
    // Only a session that waits has a blocker to go to.
    mToRoot->setEnabled(details.texts.root.has_value());
    // The statement names no instance: it reaches the connection's instance only.
    const bool reaches = ora::DisconnectReaches(details.key, details.connectedInstance);
    mDisconnect->setEnabled(reaches);
    mDisconnect->setToolTip(
        reaches ? QString()
                : QStringLiteral("接続先ｲﾝｽﾀﾝｽ以外のｾｯｼｮﾝは、ﾄﾗﾝｻﾞｸｼｮﾝ終了後に切断できません。"));
    mSql->setPlainText(details.texts.sqlText);
    mSqlCut->setVisible(details.texts.sqlCut);
}
