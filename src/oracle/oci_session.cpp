#include "oci_session.h"

namespace ora {
std::unique_ptr<OraSession> CreateOciSession() {
    throw OraError(QStringLiteral("The Oracle client library binding is not built yet."));
}
} // namespace ora
