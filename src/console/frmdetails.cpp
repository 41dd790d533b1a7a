#include "console/frmdetails.h"

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
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* kill =
        buttons->addButton(QStringLiteral("即時切断(&I)"), QDialogButtonBox::ActionRole);
    kill->setObjectName(QStringLiteral("cmdKillImmediate"));
    QPushButton* closeButton =
        buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(kill, &QPushButton::clicked, this, [this] {
        // The kill may refresh the list and open message boxes; the window goes first, as
        // the session it shows is about to end.
        const SessionDetails details = mDetails;
        const KillRequest request = mKill;
        close();
        if (request)
            request(details.key, details.terminal);
    });
}

frmDetails* frmDetails::instance() {
    return sInstance;
}

frmDetails* frmDetails::Show(QWidget* owner, const SessionDetails& details, KillRequest kill) {
    if (!sInstance || sInstance->parentWidget() != owner) {
        if (sInstance)
            sInstance->close();
        sInstance = new frmDetails(owner);
    }
    sInstance->mKill = std::move(kill);
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
    mSql->setPlainText(details.texts.sqlText);
}
