#include "classic/mainform.h"
#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"
#include "classic/zoom.h"
#include "classic/zoom_hook.h"
#include "decor/centre.h"
#include "login/frmlink.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

using Script = std::function<void(QDialog&)>;

namespace {

struct Values {
    QString id;
    QString pass;
    QString line;
    QStringList all() const { return {id, pass, line}; }
};

template <typename T> T* child(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no control %s", name);
    return found;
}

QLineEdit* box(QDialog& dialog, const char* name) {
    return child<QLineEdit>(dialog, name);
}

// Runs LinkSet with the script acting on the open dialog. Whatever the script leaves open
// (a failed check returns early) is closed so the test cannot hang.
qint16 runLinkSet(Values& values, const Script& script) {
    qint16 result = 0;
    testsupport::runModal([&] { result = frmLink::LinkSet(values.id, values.pass, values.line); },
                          script, "login dialog");
    return result;
}

void setText(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // Japanese arrives committed from the input method; the rest as key presses.
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(edit, QString(c));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QCoreApplication::sendEvent(edit, &commit);
        }
    }
}

} // namespace

class TestFrmLink : public QObject {
    Q_OBJECT

    QWidget mMain;

private Q_SLOTS:
    void initTestCase() {
        testsupport::initWindowTests();
        QPixmap icon(16, 16);
        icon.fill(Qt::red);
        mMain.setWindowIcon(QIcon(icon));
        mMain.setGeometry(100, 100, 640, 480);
        classic::SetMainForm(&mMain);
    }

    void init() {
        classic::MsgBoxHook::clear();
        classic::ZoomHook::clear();
        mMain.setGeometry(100, 100, 640, 480);
    }

    void confirmReturnsEditedValuesExactly() {
        Values v{QStringLiteral("system"), QStringLiteral("pelmora"), QString()};
        QStringList shown;
        QString message;
        const qint16 result = runLinkSet(v, [&](QDialog& d) {
            for (const char* name : {"txtUsrID", "txtPasswd", "txtLinkChrLine"})
                shown << box(d, name)->text();
            setText(box(d, "txtUsrID"), QStringLiteral(" Scott "));
            setText(box(d, "txtPasswd"), QStringLiteral("ti/ger@x"));
            setText(box(d, "txtLinkChrLine"), QStringLiteral("本番 ＤＢ"));
            QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
            message = child<QLabel>(d, "lblMessage")->text();
        });
        QCOMPARE(shown, (QStringList{QStringLiteral("system"), QStringLiteral("pelmora"), {}}));
        QCOMPARE(result, qint16(-1));
        QCOMPARE(v.all(), testsupport::strings({" Scott ", "ti/ger@x", "本番 ＤＢ"}));
        QCOMPARE(message, QStringLiteral("Oracleに接続中･･････"));
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
        // The dialog is gone once the call returns.
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(qApp->findChildren<frmLink*>().isEmpty());
    }

    void blanksCountAsFilled() {
        Values v{QStringLiteral(" "), QStringLiteral("  "), QStringLiteral("\t ")};
        const qint16 result = runLinkSet(
            v, [&](QDialog& d) { QTest::keyClick(box(d, "txtLinkChrLine"), Qt::Key_Return); });
        QCOMPARE(result, qint16(-1));
        QCOMPARE(v.all(), testsupport::strings({" ", "  ", "\t "}));
        QVERIFY(classic::MsgBoxHook::log().isEmpty());

        // The user ID "/" takes the operating system's credentials: no password, and no host
        // string for the local database.
        for (const char* id : {"/", " / AS SYSDBA "}) {
            Values external{QString::fromUtf8(id), QString(), QString()};
            QCOMPARE(runLinkSet(external,
                                [&](QDialog& d) {
                                    QTest::keyClick(box(d, "txtLinkChrLine"), Qt::Key_Return);
                                }),
                     qint16(-1));
            QCOMPARE(external.all(), (QStringList{QString::fromUtf8(id), QString(), QString()}));
        }
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }

    void validationReportsFirstEmptyBox_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus");
        const QString user = QStringLiteral("ユーザ名を指定してください。");
        const QString pass = QStringLiteral("パスワードを指定してください。");
        const QString host = QStringLiteral("接続文字列を指定してください。\r\n");
        const QString a = QStringLiteral("a");
        QTest::newRow("all empty")
            << QString() << QString() << QString() << false << user << QStringLiteral("txtUsrID");
        QTest::newRow("password and host empty")
            << a << QString() << QString() << false << pass << QStringLiteral("txtPasswd");
        QTest::newRow("only host empty")
            << a << a << QString() << false << host << QStringLiteral("txtLinkChrLine");
        QTest::newRow("only user empty, Enter in host")
            << QString() << a << a << true << user << QStringLiteral("txtUsrID");
        // A named privilege still needs the password; only "/" brings its own credentials.
        QTest::newRow("sys as sysdba without password")
            << QStringLiteral("sys as sysdba") << QString() << a << false << pass
            << QStringLiteral("txtPasswd");
        // A privilege the client library does not know is refused before anything is sent:
        // with "/" it would log on with an empty user name.
        const QString privilege = QStringLiteral(
            "ユーザＩＤの AS の後には、SYSDBA、SYSOPER、SYSASM、SYSBACKUP、SYSDG、SYSKM の"
            "いずれかを指定してください。");
        QTest::newRow("/ as foo") << QStringLiteral("/ as foo") << QString() << QString() << false
                                  << privilege << QStringLiteral("txtUsrID");
        QTest::newRow("/ and a word, Enter in host")
            << QStringLiteral(" /pw") << a << a << true << privilege << QStringLiteral("txtUsrID");
        QTest::newRow("name as foo") << QStringLiteral("Sys AS sysfoo") << a << a << false
                                     << privilege << QStringLiteral("txtUsrID");
    }

    void validationReportsFirstEmptyBox() {
        QFETCH(QString, id);
        QFETCH(QString, pass);
        QFETCH(QString, line);
        QFETCH(bool, byEnter);
        QFETCH(QString, text);
        QFETCH(QString, focus);
        Values v{id, pass, line};
        bool stillOpen = false;
        QString focused;
        const qint16 result = runLinkSet(v, [&](QDialog& d) {
            if (byEnter) {
                box(d, "txtLinkChrLine")->setFocus();
                QTest::keyClick(box(d, "txtLinkChrLine"), Qt::Key_Enter, Qt::ShiftModifier);
            } else {
                QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
            }
            stillOpen = d.isVisible();
            if (QWidget* w = QApplication::focusWidget())
                focused = w->objectName();
        });
        QCOMPARE(result, qint16(0));
        QVERIFY(stillOpen);
        QCOMPARE(focused, focus);
        QCOMPARE(testsupport::messageTexts(), QStringList{text});
        QCOMPARE(classic::MsgBoxHook::log()[0].style, 48);
        QCOMPARE(classic::MsgBoxHook::log()[0].title, classic::ExeName());
    }

    void notConfirmedLeavesValuesUntouched_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel button") << QStringLiteral("cmdNo");
        QTest::newRow("Esc") << QStringLiteral("esc");
        QTest::newRow("close box") << QStringLiteral("close");
    }

    void notConfirmedLeavesValuesUntouched() {
        QFETCH(QString, how);
        auto finish = [&](QDialog& d) {
            if (how == QStringLiteral("cmdNo"))
                QTest::mouseClick(child<QPushButton>(d, "cmdNo"), Qt::LeftButton);
            else if (how == QStringLiteral("esc"))
                QTest::keyClick(box(d, "txtPasswd"), Qt::Key_Escape);
            else
                d.close();
        };
        // A first call that confirms, then one that does not: the second hands back nothing.
        Values v{QStringLiteral("system"), QStringLiteral("pelmora"), QStringLiteral("orcl")};
        QCOMPARE(
            runLinkSet(
                v, [](QDialog& d) { d.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click(); }),
            qint16(-1));
        bool closed = false;
        const qint16 result = runLinkSet(v, [&](QDialog& d) {
            setText(box(d, "txtUsrID"), QStringLiteral("other"));
            setText(box(d, "txtPasswd"), QString());
            finish(d);
            closed = !d.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(result, qint16(0));
        QCOMPARE(v.all(), testsupport::strings({"system", "pelmora", "orcl"}));
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }

    void enterStepsThroughTheBoxesSelectingAll() {
        Values v{QString(), QStringLiteral("pelmora"), QStringLiteral("orcl")};
        QStringList seen;
        // What the platform's input context asks the focused object before it lets an input
        // method (a Japanese IME) compose into it.
        auto note = [&] {
            auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            QInputMethodQueryEvent query(Qt::ImEnabled);
            if (QGuiApplication::focusObject())
                QCoreApplication::sendEvent(QGuiApplication::focusObject(), &query);
            const QString im =
                query.value(Qt::ImEnabled).toBool() ? QStringLiteral(" IME") : QString();
            seen << (edit ? edit->objectName() + QLatin1Char('=') + edit->selectedText() + im
                          : QStringLiteral("?"));
        };
        runLinkSet(v, [&](QDialog& d) {
            QTRY_COMPARE(QApplication::focusWidget(), box(d, "txtUsrID"));
            note();
            QTest::keyClick(box(d, "txtUsrID"), Qt::Key_Return, Qt::ControlModifier);
            note();
            QTest::keyClick(box(d, "txtPasswd"), Qt::Key_Enter, Qt::AltModifier);
            note();
        });
        // Enter in an empty user ID box only moves on; nothing is checked. The password box
        // never takes an input method; the other two have it switched off on focus, and the
        // user may switch it on there.
        QCOMPARE(seen,
                 (QStringList{QStringLiteral("txtUsrID= IME"), QStringLiteral("txtPasswd=pelmora"),
                              QStringLiteral("txtLinkChrLine=orcl IME")}));
        QVERIFY(classic::MsgBoxHook::log().isEmpty());
    }

    void hostStringBoxOffersAliasesAndRecentOnes_data() {
        QTest::addColumn<QString>("names");    // tnsnames.ora, none when empty
        QTest::addColumn<QString>("included"); // more.ora, which it may include
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QStringList>("offered");
        const QString three = QStringLiteral(
            "# the office's databases\r\n"
            "ORCL =\r\n"
            "  (DESCRIPTION =\r\n"
            "    (ADDRESS = (PROTOCOL = TCP)(HOST = dbhost)(PORT = 1521))\r\n"
            "    (CONNECT_DATA = (SERVICE_NAME = orcl)))\r\n"
            "BROKEN =\r\n"
            "  (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = old)(PORT = 1521))\r\n"
            "sales.world, SALES = (DESCRIPTION = # the branch office\r\n"
            "  (ADDRESS = (PROTOCOL = TCP)(HOST = branch)(PORT = 1521))\r\n"
            "  (CONNECT_DATA = (SID = S1))\r\n"
            ")\r\n");
        QTest::newRow("three aliases beside a broken entry")
            << three << QString() << QStringList()
            << QStringList{QStringLiteral("ORCL"), QStringLiteral("sales.world"),
                           QStringLiteral("SALES")};
        QTest::newRow("recent ones first, an alias among them once")
            << three << QString()
            << QStringList{QStringLiteral("dbhost:1521/orcl"), QStringLiteral("orcl")}
            << QStringList{QStringLiteral("dbhost:1521/orcl"), QStringLiteral("orcl"),
                           QStringLiteral("sales.world"), QStringLiteral("SALES")};
        QTest::newRow("an included file, which includes itself")
            << QStringLiteral("IFILE = more.ora\nORCL = (DESCRIPTION = (SID = O))\n")
            << QStringLiteral("HR = (DESCRIPTION = (SID = H))\nIFILE = more.ora\n") << QStringList()
            << QStringList{QStringLiteral("ORCL"), QStringLiteral("HR")};
        QTest::newRow("no file") << QString() << QString() << QStringList{QStringLiteral("orcl")}
                                 << QStringList{QStringLiteral("orcl")};
        QTest::newRow("not a tnsnames.ora")
            << QStringLiteral("\x01\x02((((= ORCL\n)) = X\n= (A)\nA B = (C)\n") << QString()
            << QStringList() << QStringList();
    }

    void hostStringBoxOffersAliasesAndRecentOnes() {
        QFETCH(QString, names);
        QFETCH(QString, included);
        QFETCH(QStringList, recent);
        QFETCH(QStringList, offered);
        QTemporaryDir admin;
        auto write = [&](const char* name, const QString& text) {
            QFile file(admin.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text.toUtf8());
        };
        if (!names.isEmpty())
            write("tnsnames.ora", names);
        if (!included.isEmpty())
            write("more.ora", included);
        qputenv("TNS_ADMIN", QFile::encodeName(admin.path()));
        qunsetenv("ORACLE_HOME");
        QSettings settings(QStringLiteral("Kestrom"), QStringLiteral("Kestrom"));
        settings.setValue(QStringLiteral("login/recentHostStrings"), recent);
        settings.sync();
        Values v{QStringLiteral("system"), QStringLiteral("pelmora"), QString()};
        QStringList shown;
        QStringList popup;
        QString typed;
        const qint16 result = runLinkSet(v, [&](QDialog& d) {
            QCompleter* completer = box(d, "txtLinkChrLine")->completer();
            QVERIFY(completer);
            for (int row = 0; row < completer->model()->rowCount(); ++row)
                shown << completer->model()->index(row, 0).data().toString();
            if (offered.isEmpty()) {
                QTest::keyClick(&d, Qt::Key_Escape);
                return;
            }
            // Typing the start of one, in any case, pops it up; Enter there still logs in,
            // with what was typed.
            typed = offered.last().left(2).toLower();
            box(d, "txtLinkChrLine")->setFocus();
            QTest::keyClicks(box(d, "txtLinkChrLine"), typed);
            QTRY_VERIFY(completer->popup()->isVisible());
            for (int row = 0; row < completer->completionModel()->rowCount(); ++row)
                popup << completer->completionModel()->index(row, 0).data().toString();
            QTest::keyClick(completer->popup(), Qt::Key_Return);
        });
        qunsetenv("TNS_ADMIN");
        QCOMPARE(shown, offered);
        if (!offered.isEmpty()) {
            QVERIFY2(popup.contains(offered.last()), qPrintable(popup.join(u'|')));
            QCOMPARE(result, qint16(-1));
            QCOMPARE(v.line, typed);
        }
    }

    void focusByTabMouseOrProgramSelectsAll() {
        Values v{QStringLiteral("system"), QStringLiteral("pelmora"), QStringLiteral("orcl")};
        QStringList order;
        QString afterStart, afterMouse, afterProgram;
        runLinkSet(v, [&](QDialog& d) {
            QTRY_COMPARE(QApplication::focusWidget(), box(d, "txtUsrID"));
            afterStart = box(d, "txtUsrID")->selectedText();
            for (int i = 0; i < 4; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                order << QApplication::focusWidget()->objectName();
            }
            QLineEdit* host = box(d, "txtLinkChrLine");
            QTest::mouseClick(host, Qt::LeftButton, {}, QPoint(5, host->height() / 2));
            afterMouse = host->selectedText();
            box(d, "txtPasswd")->setFocus();
            afterProgram = box(d, "txtPasswd")->selectedText();
        });
        QCOMPARE(afterStart, QStringLiteral("system"));
        QCOMPARE(order, (QStringList{QStringLiteral("txtPasswd"), QStringLiteral("txtLinkChrLine"),
                                     QStringLiteral("cmdOk"), QStringLiteral("cmdNo")}));
        QCOMPARE(afterMouse, QStringLiteral("orcl"));
        QCOMPARE(afterProgram, QStringLiteral("pelmora"));
    }

    void passwordShowsOneStarPerCharacter() {
        Values v{QStringLiteral("u"), QStringLiteral("p@ss 語"), QStringLiteral("h")};
        QString display;
        runLinkSet(v, [&](QDialog& d) { display = box(d, "txtPasswd")->displayText(); });
        QCOMPARE(display, QStringLiteral("******"));
    }

    void takesTheMainWindowsIconAndHasNoDefaultButton() {
        Values v;
        QImage icon;
        bool okIsDefault = true;
        runLinkSet(v, [&](QDialog& d) {
            icon = d.windowIcon().pixmap(16, 16).toImage();
            okIsDefault = child<QPushButton>(d, "cmdOk")->isDefault();
        });
        QCOMPARE(icon, mMain.windowIcon().pixmap(16, 16).toImage());
        QVERIFY(!okIsDefault);
    }

    // The dialog sits over the middle of the main window and zooms in from its own mirror
    // image moved 600 px left and 350 px up, also when that lies off the screen.
    void opensCentredWithShiftedZoom_data() {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QRect>("to");
        // 640 x 480 at (100, 100): left 3607.5 twips (240.5 px), top 4365 twips (291 px).
        QTest::newRow("middle") << QRect(100, 100, 640, 480) << QRect(241, 291, 359, 98);
        QTest::newRow("top-left corner") << QRect(-50, -20, 300, 120) << QRect(-80, -9, 359, 98);
    }

    void opensCentredWithShiftedZoom() {
        QFETCH(QRect, main);
        QFETCH(QRect, to);
        mMain.setGeometry(main);
        Values v;
        runLinkSet(v, [](QDialog&) {});
        const auto log = classic::ZoomHook::log();
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].window, QStringLiteral("frmLink"));
        QCOMPARE(log[0].kind, classic::IDANI_CAPTION);
        const classic::WinRect r{to.left(), to.top(), to.left() + to.width(),
                                 to.top() + to.height()};
        QCOMPARE(log[0].to, r);
        QCOMPARE(log[0].from,
                 (classic::WinRect{r.right - 600, r.bottom - 350, r.left - 600, r.top - 350}));
    }
};

QTEST_MAIN(TestFrmLink)
#include "test_frmlink.moc"
