#pragma once

// The library is built with hidden visibility; only the OCI calls and the extras are exported.
#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
