#include "oracle/oci/oci_session.h"

#include "oracle/oci/oci_database.h"
#include "oracle/oci/oci_library.h"

namespace ora {

namespace {
class OciSession final : public OraSession {
public:
    Q_DISABLE_COPY_MOVE(OciSession)
    explicit OciSession(const binding::OciApi& api) : mApi(api) {}
    std::unique_ptr<OraDatabase> OpenDatabase(const QString& databaseName, const QString& connect,
                                              qint32 options) override {
        (void)options; // no open options are used
        return binding::OciDatabase::Open(mApi, databaseName, connect);
    }

private:
    const binding::OciApi& mApi;
};
} // namespace

std::unique_ptr<OraSession> CreateOciSession() {
    return std::make_unique<OciSession>(binding::OciLibrary::instance().api());
}

} // namespace ora
