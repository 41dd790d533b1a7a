#include "standin_fixture.h"

#include "oracle/connection.h"
#include "standin_extras.h"

#include <QFile>
#include <QLibrary>
#include <QTest>

namespace {
void* standinSymbol(const char* name) {
    // Found by its plain name as the binding finds it, so this is the library the binding has
    // loaded (or will load): the system keeps one copy of it.
    QLibrary library(QStringLiteral(KESTROM_STANDIN_FILE_NAME));
    if (!library.load())
        qFatal("the stand-in client library cannot be loaded: %s",
               qPrintable(library.errorString()));
    const auto symbol = reinterpret_cast<void*>(library.resolve(name));
    if (!symbol)
        qFatal("the loaded " KESTROM_STANDIN_FILE_NAME " has no %s: it is not the stand-in", name);
    return symbol;
}
} // namespace

namespace testsupport {

StandinFixture::StandinFixture() {
    if (!mDir.isValid())
        qFatal("no temporary folder for the fixture");
}

void StandinFixture::load(const QString& lines) {
    const QString fixture = mDir.filePath(QStringLiteral("instance.txt"));
    QFile file(fixture);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the fixture");
    file.write(lines.toUtf8());
    file.close();
    qputenv("KESTROM_STANDIN_FIXTURE", QFile::encodeName(fixture));
    // The log starts afresh with the instance: the stand-in opens the file named now on reload
    // and appends to it. A new file each time, as Windows cannot remove the one still open.
    ++mLoads;
    // A logoff a window left running in the background finishes on the instance it began on.
    ora::WaitForClientCalls(10000);
    qputenv("KESTROM_STANDIN_LOG", QFile::encodeName(logPath()));
    reinterpret_cast<standin_reset_t*>(standinSymbol("standin_reset"))();
}

unsigned long long StandinFixture::roundTrips() const {
    return reinterpret_cast<standin_round_trips_t*>(standinSymbol("standin_round_trips"))();
}

QString StandinFixture::logPath() const {
    return mDir.filePath(QStringLiteral("log-%1.txt").arg(mLoads));
}

QString StandinFixture::log() const {
    QFile file(logPath());
    // Text: the stand-in ends its lines as the system does (CR LF on Windows).
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace testsupport
