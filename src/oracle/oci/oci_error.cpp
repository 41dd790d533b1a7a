#include "oracle/oci/oci_error.h"

#include <array>
#include <cstring>

namespace ora::binding {

QString TrimmedOracleMessage(const OraText* text, size_t capacity) {
    const char* chars = reinterpret_cast<const char*>(text);
    const void* terminator = std::memchr(chars, '\0', capacity);
    size_t length = terminator ? static_cast<const char*>(terminator) - chars : capacity;
    while (length > 0 && std::strchr(" \t\r\n", chars[length - 1]))
        --length;
    return QString::fromUtf8(chars, static_cast<qsizetype>(length));
}

std::optional<OraError> OciFailure(const OciApi& api, sword rc, void* handle, ub4 handleType) {
    if (rc == oci::SUCCESS || rc == oci::SUCCESS_WITH_INFO)
        return std::nullopt;
    if (rc == oci::INVALID_HANDLE) {
        return OraError(
            QStringLiteral("Oracle クライアント ライブラリが無効なハンドルを報告しました "
                           "(OCI_INVALID_HANDLE)"));
    }
    if (rc != oci::ERROR) {
        return OraError(
            QStringLiteral("Oracle クライアント ライブラリから予期しない戻り値 %1 が返りました")
                .arg(rc));
    }
    std::array<OraText, oci::ERROR_MAXMSG_SIZE2> buffer{};
    sb4 code = 0;
    if (!handle || api.ErrorGet(handle, 1, nullptr, &code, buffer.data(),
                                static_cast<ub4>(buffer.size()), handleType) != oci::SUCCESS) {
        return OraError(QStringLiteral(
            "Oracle クライアント ライブラリがエラーを報告しましたが、詳細がありません"));
    }
    return OraError(TrimmedOracleMessage(buffer.data(), buffer.size()), code);
}

void CheckOci(const OciApi& api, sword rc, void* handle, ub4 handleType) {
    if (std::optional<OraError> failure = OciFailure(api, rc, handle, handleType))
        throw *failure;
}

} // namespace ora::binding
