// What administrators expect of a session browser beyond the classic window: a context menu
// on the grid, the immediate kill, session details, the list of every instance of a cluster,
// F5 to search again and copying rows.
#include "console/kestrom.h"

#include "console/frmdetails.h"
#include "console/sessiongrid.h"
#include "oracle/failuretext.h"
#include "oracle/sessiondetails.h"
#include "platform/blockingcall.h"
#include "platform/msgbox.h"
#include "platform/pointer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QSettings>

namespace {
constexpr float kInstanceColumnWidth = 800;
const QString kAllInstancesKey = QStringLiteral("search/allInstances");

QSettings Settings() {
    return QSettings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom"));
}
} // namespace

void Kestrom::buildSessionTools() {
    ken->addSeparator()->setObjectName(QStringLiteral("c"));
    AllInstances = ken->addAction(QStringLiteral("全ｲﾝｽﾀﾝｽ(&A)"));
    AllInstances->setObjectName(QStringLiteral("AllInstances"));
    AllInstances->setCheckable(true);
    AllInstances->setChecked(Settings().value(kAllInstancesKey, false).toBool());
    connect(AllInstances, &QAction::triggered, this, &Kestrom::AllInstances_Click);

    auto* refresh = new QAction(this);
    refresh->setObjectName(QStringLiteral("Refresh"));
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    refresh->setShortcutContext(Qt::WindowShortcut);
    connect(refresh, &QAction::triggered, this, &Kestrom::cmdSearch_Click);
    addAction(refresh);

    auto* copy = new QAction(MSFlexGrid1);
    copy->setObjectName(QStringLiteral("CopyRows"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &Kestrom::Copy_Click);
    MSFlexGrid1->addAction(copy);

    connect(MSFlexGrid1, &SessionGrid::ContextMenu, this, &Kestrom::showGridMenu);
    connect(MSFlexGrid1, &SessionGrid::RowDoubleClicked, this, &Kestrom::showDetails);
}

bool Kestrom::allInstances() const {
    return AllInstances->isChecked();
}

void Kestrom::AllInstances_Click() {
    Settings().setValue(kAllInstancesKey, AllInstances->isChecked());
}

void Kestrom::showInstanceColumn(bool shown) {
    SessionGrid* grid = MSFlexGrid1;
    const int cols = shown ? kInstanceColumn + 1 : kInstanceColumn;
    if (grid->Cols() == cols)
        return;
    const int row = grid->Row();
    grid->setCols(cols);
    if (!shown)
        return;
    grid->setColWidth(kInstanceColumn, kInstanceColumnWidth);
    grid->setRow(0);
    grid->setCol(kInstanceColumn);
    grid->setText(QStringLiteral("ｲﾝｽﾀﾝｽ"));
    grid->setCellAlignment(SessionGrid::flexAlignCenterCenter);
    grid->setCol(0);
    grid->setRow(row);
}

void Kestrom::probeWithoutCluster() {
    const QString reason = mSearchError;
    mStrFlg = -1;
    mLogFlg = -1;
    mSingleInstanceOnly = true;
    SessionSearch();
    mSingleInstanceOnly = false;
    mLogFlg = 0;
    if (mStrFlg == -1)
        reportSearchFailure(reason);
}

void Kestrom::showGridMenu(int row, const QPoint& globalPos) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("GridMenu"));
    if (row >= 1 && row < MSFlexGrid1->Rows()) {
        MSFlexGrid1->setRow(row);
        const bool canKill = cmdSessionCt->isEnabled() && OraDatabase;
        QAction* kill =
            menu.addAction(QStringLiteral("ｾｯｼｮﾝ切断(&K)"), this, &Kestrom::cmdSessionCt_Click);
        kill->setEnabled(canKill);
        QAction* immediate =
            menu.addAction(QStringLiteral("即時切断(&I)"), this, &Kestrom::KillImmediate_Click);
        immediate->setEnabled(canKill);
        menu.addAction(QStringLiteral("詳細(&D)"), this, &Kestrom::Details_Click)
            ->setEnabled(OraDatabase != nullptr);
    }
    menu.addAction(QStringLiteral("コピー(&C)"), this, &Kestrom::Copy_Click)
        ->setEnabled(MSFlexGrid1->Rows() > 1);
    menu.exec(globalPos);
}

void Kestrom::KillImmediate_Click() {
    if (MSFlexGrid1->Rows() == 1 || !cmdSessionCt->isEnabled())
        return;
    killCurrentRow(true);
}

void Kestrom::Copy_Click() {
    const QString text = MSFlexGrid1->CopyText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void Kestrom::Details_Click() {
    showDetails(MSFlexGrid1->Row());
}

void Kestrom::showDetails(int row) {
    SessionGrid* grid = MSFlexGrid1;
    if (row < 1 || row >= grid->Rows() || !OraDatabase)
        return;
    grid->setRow(row);
    const RowSession session = currentSession();
    grid->setCol(0);
    const std::optional<ora::SessionKey>& key = session.key;
    if (!key)
        return;
    SessionDetails details{*key, session.terminal, {}, {}};
    try {
        const std::shared_ptr<ora::OraDatabase> db = connectedDatabase();
        platform::SetMousePointer(this, platform::vbHourglass);
        std::unique_ptr<ora::OraDynaset> dynaset = platform::BlockingCall(
            [&] { return db->DbCreateDynaset(ora::SessionDetailsQuery(*key), 0); });
        platform::SetMousePointer(this, platform::vbDefault);
        if (dynaset->isEOF()) {
            platform::MsgBox(QStringLiteral("ｾｯｼｮﾝ %1,%2 はすでに存在しません。\r\n"
                                            "一覧を更新してください（F5）。")
                                 .arg(key->sid)
                                 .arg(key->serial),
                             platform::vbInformation);
            return;
        }
        QList<QVariant> values;
        for (int c = 0; c < dynaset->fieldsCount(); ++c)
            values << dynaset->Fields(c).value();
        const ora::DetailsTexts texts = ora::SessionDetailsTexts(values);
        details.fields = texts.fields;
        details.sqlText = texts.sqlText;
    } catch (const ora::OraError& error) {
        platform::SetMousePointer(this, platform::vbDefault);
        platform::MsgBox(
            ora::FailureText(QStringLiteral("以下の理由により詳細を取得できませんでした。"),
                             error.description()),
            platform::vbInformation);
        return;
    }
    if (key->instance > 0)
        details.fields.prepend({QStringLiteral("ｲﾝｽﾀﾝｽ"), QString::number(key->instance)});
    frmDetails::Show(this, details, [this](const ora::SessionKey& k, const QString& t) {
        if (OraDatabase)
            killSession({k, t}, true);
    });
}
