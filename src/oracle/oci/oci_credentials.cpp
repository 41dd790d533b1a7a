#include "oracle/oci/oci_credentials.h"

#include "oracle/secret.h"

#include <QStringList>
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

// "as <privilege>" as the last words of a user ID: the privilege's mode. The words are split at
// blanks by hand: this runs on the connection's thread, where a regular expression would leave
// a thread-local matching stack that MinGW's runtime fails to free when the thread ends.
std::optional<ub4> AsPrivilege(const QStringList& words) {
    if (words.size() != 2 || words[0].compare(QLatin1String("as"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return PrivilegeMode(words[1]);
}

QStringList Words(QStringView text) {
    return text.toString().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
} // namespace

OciCredentials SplitConnect(const QString& connect) {
    OciCredentials out;
    // Encoded from a view of the text, so that no other copy of the password is made.
    const QStringView text(connect);
    // "/", blanks allowed around it, optionally "as <privilege>", then the joining "/".
    const QStringView user = text.trimmed();
    if (user.startsWith(QLatin1Char('/'))) {
        const qsizetype joining = user.indexOf(QLatin1Char('/'), 1);
        if (joining > 0) {
            const QStringList words = Words(user.mid(1, joining - 1));
            const std::optional<ub4> mode =
                words.isEmpty() ? std::optional<ub4>(oci::DEFAULT) : AsPrivilege(words);
            if (mode) {
                // External credentials carry no password; whatever was typed goes nowhere.
                out.external = true;
                out.mode = *mode;
                return out;
            }
        }
    }
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    QString name = (slash < 0 ? text : text.left(slash)).toString();
    if (slash >= 0)
        out.password = text.mid(slash + 1).toUtf8();
    // "NAME as <privilege>".
    QStringList words = Words(name);
    if (words.size() == 3) {
        if (const std::optional<ub4> mode = AsPrivilege(words.mid(1))) {
            name = words[0];
            out.mode = *mode;
        }
    }
    out.user = name.toUtf8();
    return out;
}

OciCredentials::~OciCredentials() {
    Wipe(password);
}

} // namespace ora::binding
