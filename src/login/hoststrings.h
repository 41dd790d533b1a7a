#pragma once

#include <QStringList>

// The host strings the login dialog offers: the last ten a login succeeded with, newest first,
// then the aliases of the client's tnsnames.ora not among them. Only host strings are kept,
// never a user ID or a password.
QStringList HostStringChoices();
// Keeps a host string a login has just succeeded with at the head of the recent ones.
void RememberHostString(const QString& host);
