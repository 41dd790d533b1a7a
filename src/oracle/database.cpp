#include "oracle/database.h"

#include "oracle/oci/oci_session.h"

namespace ora {

namespace {
SessionFactory& factory() {
    static SessionFactory f;
    return f;
}
} // namespace

std::unique_ptr<OraSession> CreateSession() {
    if (factory())
        return factory()();
    return CreateOciSession();
}

void SetSessionFactory(SessionFactory f) {
    factory() = std::move(f);
}
void ResetSessionFactory() {
    factory() = nullptr;
}

} // namespace ora
