#pragma once

// Extra entry points of the stand-in client library, for tests and the benchmark. They are
// looked up with dlsym on the loaded library; the real client has none of them.

extern "C" {

// Calls that would be server round trips: OCILogon2, OCILogoff, OCIStmtExecute, OCIStmtFetch2.
unsigned long long standin_round_trips();
// Nanoseconds the stand-in itself spent running queries and copying rows into fetch buffers.
unsigned long long standin_produce_ns();
// Reloads the fixture named by KESTROM_STANDIN_FIXTURE, reopens KESTROM_STANDIN_LOG and
// zeroes the counters. Handles that are still open stay valid.
void standin_reset();

using standin_round_trips_t = unsigned long long();
using standin_produce_ns_t = unsigned long long();
using standin_reset_t = void();

} // extern "C"
