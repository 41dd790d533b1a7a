#include "login/tnsnames.h"

#include "platform/tnsadmin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tnsnames {
namespace {

// A file bigger than this is no tnsnames.ora anyone wrote; it is not read on the window's
// thread.
constexpr qint64 kLargestFile = 1 << 20;

bool ValidName(const QString& name) {
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
        if (c.isSpace() || c == u'(' || c == u')' || c == u'=' || c == u'"' || c == u'\'')
            return false;
    return true;
}

// A value of one or more parenthesised groups, nothing but space between them.
bool BalancedValue(const QString& value) {
    if (!value.startsWith(u'('))
        return false;
    int depth = 0;
    for (const QChar c : value) {
        if (c == u'(')
            ++depth;
        else if (c == u')' && --depth < 0)
            return false;
        else if (depth == 0 && c != u')' && !c.isSpace())
            return false;
    }
    return depth == 0;
}

void ReadEntry(const QString& entry, NamesText& out) {
    const qsizetype equals = entry.indexOf(u'=');
    if (equals < 0)
        return;
    const QString names = entry.left(equals).trimmed();
    const QString value = entry.mid(equals + 1).trimmed();
    if (names.compare(QStringLiteral("IFILE"), Qt::CaseInsensitive) == 0) {
        QString file = value;
        if (file.size() >= 2 && file.startsWith(u'"') && file.endsWith(u'"'))
            file = file.mid(1, file.size() - 2);
        if (!file.isEmpty() && !file.contains(u'('))
            out.includes << file;
        return;
    }
    if (!BalancedValue(value))
        return;
    QStringList aliases;
    for (const QString& name : names.split(u',')) {
        const QString alias = name.trimmed();
        if (!ValidName(alias))
            return;
        aliases << alias;
    }
    for (const QString& alias : aliases)
        if (!out.aliases.contains(alias, Qt::CaseInsensitive))
            out.aliases << alias;
}

QString ReadSmallFile(const QString& path) {
    QFile file(path);
    if (file.size() > kLargestFile || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(kLargestFile));
}

} // namespace

NamesText ParseNames(const QString& text) {
    NamesText out;
    QString entry;
    for (QString line : text.split(u'\n')) {
        const qsizetype comment = line.indexOf(u'#');
        if (comment >= 0)
            line.truncate(comment);
        const bool starts =
            !line.isEmpty() && !line[0].isSpace() && line[0] != u'(' && line[0] != u')';
        if (starts) {
            ReadEntry(entry, out);
            entry = line;
        } else {
            entry += u' ' + line;
        }
    }
    ReadEntry(entry, out);
    return out;
}

QString NamesFilePath(const QString& tnsAdmin, const QStringList& systemFolders,
                      const QString& oracleHome) {
    QStringList folders{tnsAdmin};
    folders << systemFolders;
    if (!oracleHome.isEmpty())
        folders << QDir(oracleHome).filePath(QStringLiteral("network/admin"));
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(QStringLiteral("tnsnames.ora"));
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QStringList ClientAliases() {
    const QString path =
        NamesFilePath(qEnvironmentVariable("TNS_ADMIN"), platform::TnsAdminFolders(),
                      qEnvironmentVariable("ORACLE_HOME"));
    if (path.isEmpty())
        return {};
    const NamesText names = ParseNames(ReadSmallFile(path));
    QStringList aliases = names.aliases;
    // An included file is read, its own includes are not: a file that includes itself ends.
    const QDir folder = QFileInfo(path).absoluteDir();
    for (const QString& include : names.includes)
        for (const QString& alias : ParseNames(ReadSmallFile(folder.filePath(include))).aliases)
            if (!aliases.contains(alias, Qt::CaseInsensitive))
                aliases << alias;
    return aliases;
}

} // namespace tnsnames
