#include "platform/clientlibrary.h"

#include <QFile>
#include <dlfcn.h>

namespace platform {
QStringList OracleClientCandidates(const QString& oracleHome) {
    const QString plain = QStringLiteral("libclntsh.so");
    QStringList names{plain};
    // 12.1 is the oldest client with OCIDefineByPos2, which the binding needs.
    for (const char* version : {"19.1", "18.1", "12.1", "20.1", "21.1"})
        names << plain + QLatin1Char('.') + QLatin1String(version);
    if (!oracleHome.isEmpty())
        names << oracleHome + QStringLiteral("/lib/") + plain;
    return names;
}

// Lazy binding, as Oracle's own drivers load the client: it references optional libraries
// that need not be present until used.
void* OpenLibrary(const QString& name) {
    return dlopen(QFile::encodeName(name).constData(), RTLD_LAZY);
}

void* LibrarySymbol(void* library, const char* name) {
    return dlsym(library, name);
}

QString LibraryLoadError() {
    const char* text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QString();
}

QString ClientSetUpAdvice() {
    return QStringLiteral(
        "Oracle Instant Client Basic をインストールして、そのフォルダを LD_LIBRARY_PATH に"
        "設定するか、Oracle クライアントのフォルダを ORACLE_HOME に設定してください。");
}
} // namespace platform
