#include "oracle/oci/oci_credentials.h"

#include "oracle/secret.h"

namespace ora::binding {

OciCredentials SplitConnect(const QString& connect) {
    const qsizetype slash = connect.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {connect.toUtf8(), QByteArray()};
    // Encoded from a view of the text, so that no other copy of the password is made.
    const QStringView text(connect);
    return {text.left(slash).toUtf8(), text.mid(slash + 1).toUtf8()};
}

OciCredentials::~OciCredentials() {
    Wipe(password);
}

} // namespace ora::binding
