#pragma once

#include <QString>
#include <QStringView>

// How a user ID names who logs on, read the way SQL*Plus reads one: "/" (the operating system's
// or a wallet's credentials) or a name, either followed by "as <privilege>". One reading for the
// login dialog and the client-library binding, so that what the dialog lets pass is what the
// binding logs on with. Plain string work: it runs on the connection's thread too, where no
// regular expression may run.
namespace userid {

enum class Privilege : unsigned char { None, SysDba, SysOper, SysAsm, SysBackup, SysDg, SysKm };

struct UserId {
    enum Kind : unsigned char {
        Named,    // a user name, maybe with a privilege
        External, // "/", maybe with a privilege
        Refused,  // "as" without a known privilege after it, or anything else after "/"
    };
    Kind kind = Named;
    Privilege privilege = Privilege::None;
    // Named: the name to log on as. With a privilege, the word before "as"; without one, the
    // text as typed, blanks and all.
    QStringView name;
};

// Reads a user ID (the text before the password). Any case, any blanks between the words.
UserId Read(QStringView text);

// Where the user ID of "<user ID>/<password>" ends (the joining "/"), or -1 when there is
// none. For "/" the joining one is the next "/": "//secret", "/ as sysdba/".
qsizetype JoiningSlash(QStringView connect);

// Reads the user ID of "<user ID>[/<password>]", the text before the joining "/".
UserId ReadLeading(QStringView connect);

// What a refused user ID is told: the privileges' names after "as", as SQL*Plus spells them.
QString RefusalText();

} // namespace userid
