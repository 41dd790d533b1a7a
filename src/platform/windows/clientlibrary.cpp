#include "platform/clientlibrary.h"

#include <QDir>

#include <windows.h>

namespace platform {
namespace {
DWORD& lastError() {
    static DWORD error = 0;
    return error;
}
} // namespace

QStringList OracleClientCandidates(const QString& oracleHome) {
    const QString plain = QStringLiteral("oci.dll");
    QStringList names{plain};
    if (!oracleHome.isEmpty())
        names << QDir::toNativeSeparators(
            QDir(oracleHome).filePath(QStringLiteral("bin/") + plain));
    return names;
}

void* OpenLibrary(const QString& name) {
    // A full path loads the libraries the client needs from the client's own folder.
    const bool path = name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/'));
    const HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t*>(name.utf16()), nullptr,
                                          path ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
    lastError() = module ? 0 : GetLastError();
    return reinterpret_cast<void*>(module);
}

void* LibrarySymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

QString LibraryLoadError() {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, lastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString message =
        text ? QString::fromWCharArray(text, static_cast<qsizetype>(length)).trimmed()
             : QStringLiteral("error %1").arg(lastError());
    LocalFree(text);
    return message;
}

QString ClientSetUpAdvice() {
    return QStringLiteral(
        "Oracle Instant Client Basic をインストールして、そのフォルダを PATH に"
        "追加するか、Oracle クライアントのフォルダを ORACLE_HOME に設定してください。");
}
} // namespace platform
