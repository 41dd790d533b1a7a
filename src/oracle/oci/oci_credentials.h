#pragma once

#include "oracle/oci/api/oci_api.h"

#include <QByteArray>
#include <QString>
#include <utility>

namespace ora::binding {

struct OciCredentials final {
    QByteArray user;     // UTF-8
    QByteArray password; // UTF-8, wiped when the credentials go
    // The administrative privilege asked for with "NAME as sysdba" and the like: the
    // OCISessionBegin mode, or DEFAULT.
    ub4 mode = oci::DEFAULT;
    // The user ID "/": the operating system's or a wallet's credentials, no name or password.
    bool external = false;
    OciCredentials() = default;
    OciCredentials(QByteArray u, QByteArray p) : user(std::move(u)), password(std::move(p)) {}
    // Moved, never copied: a copy of the password would outlive the wipe.
    OciCredentials(OciCredentials&&) = default;
    Q_DISABLE_COPY(OciCredentials)
    ~OciCredentials();
};

// Splits "user/password" at the first "/": the password may itself hold "/" or "@". Without
// a "/" the whole text is the user name and the password is empty. As SQL*Plus reads a user
// ID, a trailing "as sysdba" (sysoper, sysasm, sysbackup, sysdg, syskm; any case and spacing)
// asks for that privilege, and a user ID "/" (also "/ as sysdba") for external credentials,
// whatever password follows. A user ID that names no known privilege after "as", or has
// anything else after "/", throws OraError before anything is sent.
OciCredentials SplitConnect(const QString& connect);

} // namespace ora::binding
