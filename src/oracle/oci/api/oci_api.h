#pragma once

// Our own declarations of the part of the Oracle Call Interface that the binding uses,
// written from Oracle's documented prototypes and constants. The library is loaded at run
// time, so nothing here is linked; the stand-in client library used by the tests
// implements exactly these prototypes.

#include <cstddef>
#include <cstdint>

extern "C" {

using sword = int;
using ub1 = unsigned char;
using sb1 = signed char;
using ub2 = unsigned short;
using sb2 = signed short;
using ub4 = unsigned int;
using sb4 = signed int;
using ub8 = unsigned long long;
using sb8 = signed long long;
using OraText = unsigned char;

struct OCIEnv;
struct OCIError;
struct OCISvcCtx;
struct OCIStmt;
struct OCIDefine;
struct OCIParam;
struct OCISnapshot;
struct OCIServer;
struct OCISession;

// OCIDate as laid out in memory (SQLT_ODT): 8 bytes, 2-byte aligned.
struct OCIDateValue {
    sb2 year;
    ub1 month;
    ub1 day;
    ub1 hour;
    ub1 minute;
    ub1 second;
    ub1 pad;
};
static_assert(sizeof(OCIDateValue) == 8);

using OCIEnvNlsCreate_t = sword(OCIEnv** envhpp, ub4 mode, void* ctxp,
                                void* (*malocfp)(void* ctxp, size_t size),
                                void* (*ralocfp)(void* ctxp, void* memptr, size_t newsize),
                                void (*mfreefp)(void* ctxp, void* memptr), size_t xtramemsz,
                                void** usrmempp, ub2 charset, ub2 ncharset);
using OCIHandleAlloc_t = sword(const void* parenth, void** hndlpp, ub4 type, size_t xtramem_sz,
                               void** usrmempp);
using OCIHandleFree_t = sword(void* hndlp, ub4 type);
using OCIErrorGet_t = sword(void* hndlp, ub4 recordno, OraText* sqlstate, sb4* errcodep,
                            OraText* bufp, ub4 bufsiz, ub4 type);
using OCIAttrGet_t = sword(const void* trgthndlp, ub4 trghndltyp, void* attributep, ub4* sizep,
                           ub4 attrtype, OCIError* errhp);
using OCIAttrSet_t = sword(void* trgthndlp, ub4 trghndltyp, void* attributep, ub4 size,
                           ub4 attrtype, OCIError* errhp);
using OCILogon2_t = sword(OCIEnv* envhp, OCIError* errhp, OCISvcCtx** svchp,
                          const OraText* username, ub4 uname_len, const OraText* password,
                          ub4 passwd_len, const OraText* dbname, ub4 dbname_len, ub4 mode);
using OCILogoff_t = sword(OCISvcCtx* svchp, OCIError* errhp);
using OCIStmtPrepare2_t = sword(OCISvcCtx* svchp, OCIStmt** stmtp, OCIError* errhp,
                                const OraText* stmt, ub4 stmt_len, const OraText* key, ub4 key_len,
                                ub4 language, ub4 mode);
using OCIStmtRelease_t = sword(OCIStmt* stmtp, OCIError* errhp, const OraText* key, ub4 key_len,
                               ub4 mode);
using OCIStmtExecute_t = sword(OCISvcCtx* svchp, OCIStmt* stmtp, OCIError* errhp, ub4 iters,
                               ub4 rowoff, const OCISnapshot* snap_in, OCISnapshot* snap_out,
                               ub4 mode);
using OCIParamGet_t = sword(const void* hndlp, ub4 htype, OCIError* errhp, void** parmdpp, ub4 pos);
using OCIDescriptorFree_t = sword(void* descp, ub4 type);
using OCIDefineByPos2_t = sword(OCIStmt* stmtp, OCIDefine** defnpp, OCIError* errhp, ub4 position,
                                void* valuep, sb8 value_sz, ub2 dty, void* indp, ub4* rlenp,
                                ub2* rcodep, ub4 mode);
using OCIStmtFetch2_t = sword(OCIStmt* stmtp, OCIError* errhp, ub4 nrows, ub2 orientation,
                              sb4 fetchOffset, ub4 mode);
// Ends the call running on the service context from another thread (ORA-01013 there).
using OCIBreak_t = sword(void* hndlp, OCIError* errhp);
// Clears what a break left on the connection, so that the next call starts clean.
using OCIReset_t = sword(void* hndlp, OCIError* errhp);
using OCIServerAttach_t = sword(OCIServer* srvhp, OCIError* errhp, const OraText* dblink,
                                sb4 dblink_len, ub4 mode);
using OCIServerDetach_t = sword(OCIServer* srvhp, OCIError* errhp, ub4 mode);
using OCISessionBegin_t = sword(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp, ub4 credt,
                                ub4 mode);
using OCISessionEnd_t = sword(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp, ub4 mode);
using OCIClientVersion_t = void(sword* featureRelease, sword* releaseUpdate,
                                sword* releaseUpdateRevision, sword* increment, sword* ext);

} // extern "C"

namespace oci {

// Return codes.
constexpr sword SUCCESS = 0;
constexpr sword SUCCESS_WITH_INFO = 1;
constexpr sword NO_DATA = 100;
constexpr sword ERROR = -1;
constexpr sword INVALID_HANDLE = -2;

// Modes.
constexpr ub4 DEFAULT = 0x0;
constexpr ub4 THREADED = 0x1;
constexpr ub4 OBJECT = 0x2;
constexpr ub4 NTV_SYNTAX = 1;
constexpr ub2 FETCH_NEXT = 0x02;

// Handle and descriptor types.
constexpr ub4 HTYPE_ENV = 1;
constexpr ub4 HTYPE_ERROR = 2;
constexpr ub4 HTYPE_SVCCTX = 3;
constexpr ub4 HTYPE_STMT = 4;
constexpr ub4 DTYPE_PARAM = 53;

// Attributes.
constexpr ub4 ATTR_DATA_SIZE = 1;      // param: ub2
constexpr ub4 ATTR_DATA_TYPE = 2;      // param: ub2
constexpr ub4 ATTR_NAME = 4;           // param: OraText* + ub4 length
constexpr ub4 ATTR_PREFETCH_ROWS = 11; // stmt: ub4
constexpr ub4 ATTR_PARAM_COUNT = 18;   // stmt: ub4
constexpr ub4 ATTR_STMT_TYPE = 24;     // stmt: ub2
constexpr ub4 ATTR_ROWS_FETCHED = 197; // stmt: ub4
constexpr ub4 ATTR_CHAR_SIZE = 286;    // param: ub2
constexpr ub4 ATTR_CALL_TIMEOUT = 531; // svcctx: ub4 milliseconds, client 18.1 and later

// Statement types.
constexpr ub2 STMT_SELECT = 1;

// Data types.
constexpr ub2 SQLT_CHR = 1;
constexpr ub2 SQLT_NUM = 2;
constexpr ub2 SQLT_INT = 3;
constexpr ub2 SQLT_DAT = 12;
constexpr ub2 SQLT_AFC = 96;
constexpr ub2 SQLT_ODT = 156;

// AL32UTF8.
constexpr ub2 CHARSET_AL32UTF8 = 873;

constexpr sb2 IND_NULL = -1;
constexpr sb2 IND_NOTNULL = 0;
constexpr ub4 ERROR_MAXMSG_SIZE2 = 3072;

constexpr ub4 ATTR_ROW_COUNT = 9; // stmt: ub4, rows processed

// Logging on with OCIServerAttach and OCISessionBegin, for what OCILogon2 cannot ask for.
constexpr ub4 HTYPE_SERVER = 8;
constexpr ub4 HTYPE_SESSION = 9;
constexpr ub4 ATTR_SERVER = 6;    // svcctx: the OCIServer* itself, size 0
constexpr ub4 ATTR_SESSION = 7;   // svcctx: the OCISession* itself, size 0
constexpr ub4 ATTR_USERNAME = 22; // session: text
constexpr ub4 ATTR_PASSWORD = 23; // session: text
constexpr ub4 CRED_RDBMS = 1;     // user name and password
constexpr ub4 CRED_EXT = 2;       // the operating system's or a wallet's credentials
// Administrative OCISessionBegin modes (Oracle's oci.h; ODPI-C dpi.h DPI_MODE_AUTH_*).
constexpr ub4 SYSDBA = 0x00000002;
constexpr ub4 SYSOPER = 0x00000004;
constexpr ub4 SYSASM = 0x00008000;
constexpr ub4 SYSBKP = 0x00020000;
constexpr ub4 SYSDGD = 0x00040000;
constexpr ub4 SYSKMT = 0x00080000;

} // namespace oci
