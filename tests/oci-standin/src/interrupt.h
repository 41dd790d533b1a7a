#pragma once

#include <optional>

#include "oci_api.h"

struct Service;

// A call of `service` that takes `ms` on the server. It ends early when another thread breaks
// it (ORA-01013) or when it outlasts the call time-out (ORA-03156); the connection stays
// usable either way. A break requested before the call began is forgotten.
std::optional<sb4> serverWait(Service& service, unsigned ms);

// OCIBreak: ends the wait of the call running on `service`, if any. With the fault
// break-blocks it takes that long first; with break-ignored it ends nothing; with idle-break a
// break that ends no call lingers (see takeStaleBreak).
void breakCall(Service& service);

// True once when a lingering break must fail the call starting now on `service`.
bool takeStaleBreak(Service& service);
