#include "oracle/oci/oci_credentials.h"

#include "oracle/database.h"
#include "oracle/secret.h"
#include "userid/userid.h"

namespace ora::binding {

namespace {
ub4 ModeOf(userid::Privilege privilege) {
    switch (privilege) {
    case userid::Privilege::SysDba:
        return oci::SYSDBA;
    case userid::Privilege::SysOper:
        return oci::SYSOPER;
    case userid::Privilege::SysAsm:
        return oci::SYSASM;
    case userid::Privilege::SysBackup:
        return oci::SYSBKP;
    case userid::Privilege::SysDg:
        return oci::SYSDGD;
    case userid::Privilege::SysKm:
        return oci::SYSKMT;
    case userid::Privilege::None:
        break;
    }
    return oci::DEFAULT;
}
} // namespace

OciCredentials SplitConnect(const QString& connect) {
    OciCredentials out;
    // Read from a view of the text, so that no other copy of the password is made.
    const QStringView text(connect);
    const qsizetype joining = userid::JoiningSlash(text);
    const QStringView id = joining < 0 ? text : text.left(joining);
    const userid::UserId user = userid::Read(id);
    if (user.kind == userid::UserId::Refused)
        throw OraError(userid::RefusalText());
    out.mode = ModeOf(user.privilege);
    // External credentials carry no password; whatever was typed goes nowhere.
    if (user.kind == userid::UserId::External) {
        out.external = true;
        return out;
    }
    out.user = user.name.toUtf8();
    if (joining >= 0)
        out.password = text.mid(joining + 1).toUtf8();
    return out;
}

OciCredentials::~OciCredentials() {
    Wipe(password);
}

} // namespace ora::binding
