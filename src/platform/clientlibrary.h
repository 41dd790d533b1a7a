#pragma once

#include <QString>
#include <QStringList>

namespace platform {
// Loading the Oracle client library at run time, as this system's loader finds libraries.

// The files tried, in order, as Oracle's own drivers try them: on Linux the unversioned name
// and the versioned ones through the loader's search, then $ORACLE_HOME/lib; on Windows
// oci.dll as Windows finds DLLs (the program's folder, the system folders, PATH), then
// %ORACLE_HOME%\bin. An empty oracleHome adds no place.
QStringList OracleClientCandidates(const QString& oracleHome);

// Loads a library by a plain name through the loader's search, or by a path as given (with
// the libraries it needs from the same folder); null when it cannot, with the loader's reason
// in LibraryLoadError().
void* OpenLibrary(const QString& name);
// The address of an exported function; null when the library has none of that name.
void* LibrarySymbol(void* library, const char* name);
// The loader's reason for the last failed OpenLibrary, in its own words.
QString LibraryLoadError();
// What a user without a loadable client installs and sets, in this system's terms.
QString ClientSetUpAdvice();
} // namespace platform
