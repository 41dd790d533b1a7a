#pragma once

#include <QByteArray>
#include <QString>
#include <utility>

namespace ora::binding {

struct OciCredentials {
    QByteArray user;     // UTF-8
    QByteArray password; // UTF-8, wiped when the credentials go
    OciCredentials(QByteArray u, QByteArray p) : user(std::move(u)), password(std::move(p)) {}
    OciCredentials(const OciCredentials&) = delete;
    OciCredentials& operator=(const OciCredentials&) = delete;
    ~OciCredentials();
};

// Splits "user/password" at the first "/": the password may itself hold "/" or "@". Without
// a "/" the whole text is the user name and the password is empty.
OciCredentials SplitConnect(const QString& connect);

} // namespace ora::binding
