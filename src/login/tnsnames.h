#pragma once

#include <QString>
#include <QStringList>

// The net service names of the Oracle client's tnsnames.ora, offered in the host string box.
// Whatever the file holds, reading it never fails: what cannot be read offers nothing.
namespace tnsnames {

// What one tnsnames.ora text gives: the aliases of its well-formed entries ("a, b =
// (DESCRIPTION ...)" with balanced parentheses), in file order without repeats, and the files
// its IFILE entries name. An entry starts in the first column and goes on over the lines that
// begin with whitespace or a parenthesis; "#" starts a comment. A broken entry is passed over
// and the next one read.
struct NamesText {
    QStringList aliases;
    QStringList includes;
};
NamesText ParseNames(const QString& text);

// The tnsnames.ora the client reads: the first folder holding one, of TNS_ADMIN, the folders
// the system's settings name, then ORACLE_HOME's network/admin. Empty when none does.
QString NamesFilePath(const QString& tnsAdmin, const QStringList& systemFolders,
                      const QString& oracleHome);

// The aliases of the client's tnsnames.ora and of the files it includes (one level deep).
QStringList ClientAliases();

} // namespace tnsnames
