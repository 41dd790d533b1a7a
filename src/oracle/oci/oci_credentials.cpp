#include "oracle/oci/oci_credentials.h"

namespace ora::binding {

OciCredentials SplitConnect(const QString& connect) {
    const qsizetype slash = connect.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {connect.toUtf8(), QByteArray()};
    return {connect.left(slash).toUtf8(), connect.mid(slash + 1).toUtf8()};
}

} // namespace ora::binding
