#pragma once

// The library is built with hidden visibility; only the OCI calls and the extras are exported.
// The build defines the mark itself where the system marks exports otherwise (Windows).
#ifndef STANDIN_EXPORT
#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif
