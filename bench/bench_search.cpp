// Lists N generated sessions through the Oracle client library binding and the stand-in
// client library into the main window's grid, and reports the time of the whole search, the
// stand-in's own time to produce the rows, the round trips and the memory per session; then
// the time to sort the listed rows by their logon time (a click on its column header) and
// to copy them all as text for the clipboard.
//   bench_search STANDIN-LIBRARY N...
#include "classic/msgbox.h"
#include "classic/msgbox_hook.h"
#include "classic/zoom.h"
#include "classic/zoom_hook.h"
#include "console/gridcolumns.h"
#include "console/kestrom.h"
#include "console/panelstatusbar.h"
#include "console/sessiongrid.h"
#include "standin_extras.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

long statusKb(const char* field) {
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Lets the peak resident size start again from the current one.
void resetPeak() {
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

struct Standin {
    standin_round_trips_t* roundTrips = nullptr;
    standin_produce_ns_t* produceNs = nullptr;
    standin_reset_t* reset = nullptr;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_search STANDIN-LIBRARY N...\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Loaded by path first, the stand-in is what the binding finds by its name.
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_GLOBAL);
    if (!library) {
        std::fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    Standin standin{reinterpret_cast<standin_round_trips_t*>(dlsym(library, "standin_round_trips")),
                    reinterpret_cast<standin_produce_ns_t*>(dlsym(library, "standin_produce_ns")),
                    reinterpret_cast<standin_reset_t*>(dlsym(library, "standin_reset"))};
    if (!standin.roundTrips || !standin.produceNs || !standin.reset) {
        std::fprintf(stderr, "the library is not the stand-in\n");
        return 1;
    }

    QApplication app(argc, argv);
    classic::MsgBoxHook::enable();
    classic::ZoomHook::enable();
    QTemporaryDir dir;
    const QString fixture = dir.filePath(QStringLiteral("instance.txt"));
    qputenv("KESTROM_STANDIN_FIXTURE", QFile::encodeName(fixture));

    std::printf("%9s %10s %10s %10s %7s %8s %8s %10s %8s %8s\n", "sessions", "search ms",
                "stand-in", "own ms", "share", "trips", "limit", "B/session", "sort ms", "copy ms");
    bool ok = true;
    for (int i = 2; i < argc; ++i) {
        // "N" lists N sessions of one instance; "NxI" spreads them over I instances and lists
        // them all through the cluster-wide view.
        char* rest = nullptr;
        const long n = std::strtol(argv[i], &rest, 10);
        const long instances = *rest == 'x' ? std::strtol(rest + 1, nullptr, 10) : 1;
        {
            QFile file(fixture);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return 1;
            QTextStream out(&file);
            out << "connect\tBENCH\nuser\tsystem\tpelmora\tread,alter\ngenerate\t" << n
                << "\tBENCH01\t" << instances << "\n";
        }
        standin.reset();
        Kestrom window;
        window.setLoginPrompt([](QString& id, QString& pass, QString& host) -> qint16 {
            id = QStringLiteral("system");
            pass = QStringLiteral("pelmora");
            host = QStringLiteral("BENCH");
            return -1;
        });
        window.Form_Load(); // connects; its probe looks for this computer and finds nothing
        if (window.findChild<PanelStatusBar*>(QStringLiteral("sbStatusBar"))->panelText(1) !=
            QStringLiteral("- DB接続中 -")) {
            std::fprintf(stderr, "could not connect: %s\n",
                         qPrintable(classic::MsgBoxHook::log().value(0).text));
            return 1;
        }
        window.findChild<QAction*>(QStringLiteral("AllInstances"))->setChecked(instances > 1);
        window.findChild<QLineEdit*>(QStringLiteral("txtPcName"))
            ->setText(QStringLiteral("bench01"));
        QApplication::processEvents();

        const unsigned long long trips0 = standin.roundTrips();
        const unsigned long long produce0 = standin.produceNs();
        const long rss0 = statusKb("VmRSS");
        resetPeak();
        QElapsedTimer clock;
        clock.start();
        window.findChild<QPushButton*>(QStringLiteral("cmdSearch"))->click();
        QApplication::processEvents(); // the grid shows the rows
        const double wallMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        const double standinMs = static_cast<double>(standin.produceNs() - produce0) / 1e6;
        const long peak = statusKb("VmHWM");
        const unsigned long long trips = standin.roundTrips() - trips0;
        const long limit = static_cast<long>(std::ceil(static_cast<double>(n) / 500.0)) + 1;
        const double perSession =
            static_cast<double>(peak - rss0) * 1024.0 / static_cast<double>(n);
        auto* grid = window.findChild<SessionGrid*>(QStringLiteral("MSFlexGrid1"));
        const int rows = grid->Rows();
        if (rows != n + 1) {
            std::fprintf(stderr, "listed %d rows instead of %ld\n", rows - 1, n);
            ok = false;
        }

        // Sorting: a click on the logon time's header, until the grid shows the new order.
        clock.restart();
        Q_EMIT grid->horizontalHeader()->sectionClicked(colLogonTime - 1);
        QApplication::processEvents();
        const double sortMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        // Copying every row, as すべてコピー does.
        clock.restart();
        QApplication::clipboard()->setText(grid->CopyAllText());
        const double copyMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (QApplication::clipboard()->text().count(QChar(u'\n')) != n + 1) {
            std::fprintf(stderr, "copied other than %ld rows\n", n);
            ok = false;
        }

        std::printf("%9ld %10.1f %10.1f %10.1f %7.1f %8llu %8ld %10.0f %8.1f %8.1f\n", n, wallMs,
                    standinMs, wallMs - standinMs,
                    standinMs > 0 ? (wallMs - standinMs) / standinMs : 0.0, trips, limit,
                    perSession, sortMs, copyMs);
        window.close();
    }
    return ok ? 0 : 1;
}
