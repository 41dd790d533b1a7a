#include "userid/userid.h"

#include <QList>
#include <QString>
#include <optional>

namespace userid {

namespace {
std::optional<Privilege> PrivilegeNamed(QStringView word) {
    static const struct {
        const char16_t* name;
        Privilege privilege;
    } kPrivileges[] = {{u"sysdba", Privilege::SysDba}, {u"sysoper", Privilege::SysOper},
                       {u"sysasm", Privilege::SysAsm}, {u"sysbackup", Privilege::SysBackup},
                       {u"sysdg", Privilege::SysDg},   {u"syskm", Privilege::SysKm}};
    for (const auto& p : kPrivileges)
        if (word.compare(QStringView(p.name), Qt::CaseInsensitive) == 0)
            return p.privilege;
    return std::nullopt;
}

bool IsBlank(QChar c) {
    return c.isSpace();
}

// The words of the text, split at blanks, as views into it.
QList<QStringView> Words(QStringView text) {
    QList<QStringView> words;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            words.append(text.mid(start, i - start));
    }
    return words;
}

bool IsAs(QStringView word) {
    return word.compare(u"as", Qt::CaseInsensitive) == 0;
}

// "as <privilege>" in words[at] and words[at + 1], the last two words.
std::optional<Privilege> AsPrivilege(const QList<QStringView>& words, qsizetype at) {
    if (words.size() != at + 2 || !IsAs(words[at]))
        return std::nullopt;
    return PrivilegeNamed(words[at + 1]);
}
} // namespace

UserId Read(QStringView text) {
    UserId out;
    const QStringView trimmed = text.trimmed();
    if (trimmed.startsWith(u'/')) {
        const QList<QStringView> words = Words(trimmed.mid(1));
        if (words.isEmpty()) {
            out.kind = UserId::External;
        } else if (const std::optional<Privilege> privilege = AsPrivilege(words, 0)) {
            out.kind = UserId::External;
            out.privilege = *privilege;
        } else {
            out.kind = UserId::Refused;
        }
        return out;
    }
    const QList<QStringView> words = Words(trimmed);
    // "as" as the second word asks for a privilege, which must then follow, alone.
    if (words.size() >= 2 && IsAs(words[1])) {
        if (const std::optional<Privilege> privilege = AsPrivilege(words, 1)) {
            out.privilege = *privilege;
            out.name = words[0];
        } else {
            out.kind = UserId::Refused;
        }
        return out;
    }
    out.name = text;
    return out;
}

qsizetype JoiningSlash(QStringView connect) {
    const qsizetype first = connect.indexOf(u'/');
    if (first < 0)
        return -1;
    // Only blanks before the first "/": it begins the user ID "/".
    if (connect.left(first).trimmed().isEmpty())
        return connect.indexOf(u'/', first + 1);
    return first;
}

UserId ReadLeading(QStringView connect) {
    const qsizetype joining = JoiningSlash(connect);
    return Read(joining < 0 ? connect : connect.left(joining));
}

QString RefusalText() {
    return QStringLiteral("ユーザＩＤの AS の後には、SYSDBA、SYSOPER、SYSASM、SYSBACKUP、SYSDG、"
                          "SYSKM のいずれかを指定してください。");
}

} // namespace userid
