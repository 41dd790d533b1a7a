#include "standin_fixture.h"

#include "standin_extras.h"

#include <QFile>
#include <QTest>
#include <dlfcn.h>

namespace {
void* standinSymbol(const char* name) {
    // The binding has loaded the library already; this only finds it.
    void* library = dlopen("libclntsh.so", RTLD_NOLOAD | RTLD_NOW);
    if (!library)
        qFatal("the stand-in client library is not loaded: %s", dlerror());
    void* symbol = dlsym(library, name);
    dlclose(library);
    if (!symbol)
        qFatal("the loaded libclntsh.so has no %s: it is not the stand-in", name);
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
    const QString log = mDir.filePath(QStringLiteral("log.txt"));
    // The log starts afresh with the instance (the stand-in reopens it on reload).
    QFile::remove(log);
    qputenv("KESTROM_STANDIN_LOG", QFile::encodeName(log));
    reinterpret_cast<standin_reset_t*>(standinSymbol("standin_reset"))();
}

unsigned long long StandinFixture::roundTrips() const {
    return reinterpret_cast<standin_round_trips_t*>(standinSymbol("standin_round_trips"))();
}

QString StandinFixture::log() const {
    QFile file(mDir.filePath(QStringLiteral("log.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace testsupport
