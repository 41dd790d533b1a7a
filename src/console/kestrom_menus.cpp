// The menus, the grid's context menu and the keys that act on the whole window.
#include "console/kestrom.h"

#include "console/sessiongrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

void Kestrom::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& caption,
                         void (Kestrom::*slot)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        return a;
    };
    Lin = menuBar()->addMenu(QStringLiteral("接続(&L)"));
    Lin->setObjectName(QStringLiteral("Lin"));
    Link = action(Lin, "Link", QStringLiteral("ＤＢ接続(&L)"), &Kestrom::Link_Click);
    Cutting = action(Lin, "Cutting", QStringLiteral("ＤＢ切断(&C)"), &Kestrom::Cutting_Click);
    Cutting->setEnabled(false);
    Lin->addSeparator()->setObjectName(QStringLiteral("a"));
    EN = action(Lin, "EN", QStringLiteral("終了(&X)"), &Kestrom::EN_Click);

    ken = menuBar()->addMenu(QStringLiteral("検索(&S)"));
    ken->setObjectName(QStringLiteral("ken"));
    Search = action(ken, "Search", QStringLiteral("ｾｯｼｮﾝの検索(&S)"), &Kestrom::Search_Click);
    // Beyond the classic menus: the sessions that block others, from every machine.
    Blockers =
        action(ken, "Blockers", QStringLiteral("ﾌﾞﾛｯｸ中のｾｯｼｮﾝ(&B)"), &Kestrom::Blockers_Click);
    ken->addSeparator()->setObjectName(QStringLiteral("b"));
    MyPcName = action(ken, "MyPcName", QStringLiteral("自分のﾏｼﾝ名(&P)"), &Kestrom::MyPcName_Click);

    hel = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    hel->setObjectName(QStringLiteral("hel"));
    Help = action(hel, "Help", QStringLiteral("ヘルプ(&H)"), nullptr);
    Help->setEnabled(false);
    Version = action(hel, "Version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"), &Kestrom::Version_Click);

    // Beyond the classic menus: the cluster-wide list, remembered between runs.
    ken->addSeparator()->setObjectName(QStringLiteral("c"));
    AllInstances =
        action(ken, "AllInstances", QStringLiteral("全ｲﾝｽﾀﾝｽ(&A)"), &Kestrom::AllInstances_Click);
    AllInstances->setCheckable(true);
    AllInstances->setChecked(allInstancesSetting());
    buildAutoRefreshMenu();
}

void Kestrom::buildGridActions() {
    auto* refresh = new QAction(this);
    refresh->setObjectName(QStringLiteral("Refresh"));
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    refresh->setShortcutContext(Qt::WindowShortcut);
    connect(refresh, &QAction::triggered, this, &Kestrom::Refresh_Click);
    addAction(refresh);

    auto* copy = new QAction(MSFlexGrid1);
    copy->setObjectName(QStringLiteral("CopyRows"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &Kestrom::Copy_Click);
    MSFlexGrid1->addAction(copy);

    connect(MSFlexGrid1, &SessionGrid::ContextMenu, this, &Kestrom::showGridMenu);
    connect(MSFlexGrid1, &SessionGrid::RowDoubleClicked, this, &Kestrom::showDetails);
    connect(MSFlexGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &Kestrom::targetChosen);
}

void Kestrom::showGridMenu(int row, const QPoint& globalPos) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("GridMenu"));
    if (row >= 1 && row < MSFlexGrid1->Rows()) {
        MSFlexGrid1->setRow(row);
        const bool canKill = cmdSessionCt->isEnabled() && mConnection;
        QAction* kill =
            menu.addAction(QStringLiteral("ｾｯｼｮﾝ切断(&K)"), this, &Kestrom::cmdSessionCt_Click);
        kill->setEnabled(canKill);
        QAction* immediate =
            menu.addAction(QStringLiteral("即時切断(&I)"), this, &Kestrom::KillImmediate_Click);
        immediate->setEnabled(canKill);
        menu.addAction(QStringLiteral("SQL中止(&Q)"), this, &Kestrom::CancelSql_Click)
            ->setEnabled(canKill);
        QAction* disconnect = menu.addAction(QStringLiteral("ﾄﾗﾝｻﾞｸｼｮﾝ終了後に切断(&T)"), this,
                                             &Kestrom::DisconnectAfterTransaction_Click);
        disconnect->setObjectName(QStringLiteral("DisconnectAfterTransaction"));
        const int col = MSFlexGrid1->Col();
        const QString refusal = canKill ? disconnectRefusal(currentSession()) : QString();
        MSFlexGrid1->setCol(col);
        disconnect->setEnabled(canKill && refusal.isEmpty());
        disconnect->setToolTip(refusal);
        menu.setToolTipsVisible(true);
        menu.addAction(QStringLiteral("詳細(&D)"), this, &Kestrom::Details_Click)
            ->setEnabled(mConnection != nullptr);
    }
    menu.addAction(QStringLiteral("コピー(&C)"), this, &Kestrom::Copy_Click)
        ->setEnabled(MSFlexGrid1->Rows() > 1);
    menu.addAction(QStringLiteral("すべてコピー(&A)"), this,
                   [this] { toClipboard(MSFlexGrid1->CopyAllText()); })
        ->setEnabled(MSFlexGrid1->Rows() > 1);
    menu.exec(globalPos);
}

void Kestrom::Copy_Click() {
    toClipboard(MSFlexGrid1->CopyText());
}

void Kestrom::toClipboard(const QString& text) {
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}
