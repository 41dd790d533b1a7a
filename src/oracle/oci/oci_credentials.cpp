#include "oracle/oci/oci_credentials.h"

#include "oracle/secret.h"

#include <QRegularExpression>
#include <optional>

namespace ora::binding {

namespace {
// The privileges a user ID may name after "as", as SQL*Plus spells them.
std::optional<ub4> PrivilegeMode(const QString& word) {
    static const struct {
        const char* name;
        ub4 mode;
    } kPrivileges[] = {{"sysdba", oci::SYSDBA}, {"sysoper", oci::SYSOPER},
                       {"sysasm", oci::SYSASM}, {"sysbackup", oci::SYSBKP},
                       {"sysdg", oci::SYSDGD},  {"syskm", oci::SYSKMT}};
    for (const auto& p : kPrivileges)
        if (word.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0)
            return p.mode;
    return std::nullopt;
}

const QRegularExpression& ExternalUser() {
    // "/", blanks allowed around it, optionally "as <privilege>", then the joining "/".
    static const QRegularExpression re(QStringLiteral(R"(^\s*/\s*(?:as\s+(\w+)\s*)?/)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

const QRegularExpression& NamedUser() {
    static const QRegularExpression re(QStringLiteral(R"(^\s*(\S+)\s+as\s+(\w+)\s*$)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}
} // namespace

OciCredentials SplitConnect(const QString& connect) {
    OciCredentials out;
    const QRegularExpressionMatch external = ExternalUser().match(connect);
    if (external.hasMatch()) {
        const QString privilege = external.captured(1);
        const std::optional<ub4> mode =
            privilege.isEmpty() ? std::optional<ub4>(oci::DEFAULT) : PrivilegeMode(privilege);
        if (mode) {
            // External credentials carry no password; whatever was typed goes nowhere.
            out.external = true;
            out.mode = *mode;
            return out;
        }
    }
    const qsizetype slash = connect.indexOf(QLatin1Char('/'));
    // Encoded from a view of the text, so that no other copy of the password is made.
    const QStringView text(connect);
    QString user = (slash < 0 ? text : text.left(slash)).toString();
    if (slash >= 0)
        out.password = text.mid(slash + 1).toUtf8();
    const QRegularExpressionMatch named = NamedUser().match(user);
    if (named.hasMatch()) {
        if (const std::optional<ub4> mode = PrivilegeMode(named.captured(2))) {
            user = named.captured(1);
            out.mode = *mode;
        }
    }
    out.user = user.toUtf8();
    return out;
}

OciCredentials::~OciCredentials() {
    Wipe(password);
}

} // namespace ora::binding
