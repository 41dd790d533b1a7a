// Entry points for tests and the benchmark; see standin_extras.h.

#include <type_traits>

#include "src/export.h"
#include "src/runtime.h"
#include "standin_extras.h"

STANDIN_EXPORT unsigned long long standin_round_trips() {
    return runtime().roundTrips;
}

STANDIN_EXPORT unsigned long long standin_produce_ns() {
    return runtime().produceNs;
}

STANDIN_EXPORT void standin_reset() {
    runtime().reload();
}

static_assert(std::is_same_v<decltype(&standin_round_trips), standin_round_trips_t*>);
static_assert(std::is_same_v<decltype(&standin_produce_ns), standin_produce_ns_t*>);
static_assert(std::is_same_v<decltype(&standin_reset), standin_reset_t*>);
