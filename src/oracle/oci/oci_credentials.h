#pragma once

#include <QByteArray>
#include <QString>

namespace ora::binding {

struct OciCredentials {
    QByteArray user;     // UTF-8
    QByteArray password; // UTF-8
};

// Splits "user/password" at the first "/": the password may itself hold "/" or "@". Without
// a "/" the whole text is the user name and the password is empty.
OciCredentials SplitConnect(const QString& connect);

} // namespace ora::binding
