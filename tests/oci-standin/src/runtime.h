#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "src/instance.h"

struct Env;

// All process-wide state of the stand-in.
struct Runtime {
    Runtime() = default;
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;
    ~Runtime();

    // Loads the fixture the first time an environment is created.
    void ensureLoaded();
    // Rereads the fixture and the log setting and zeroes the counters.
    void reload();
    // Appends "<kind> <text>" to the statement log, escaping CR, LF and backslash.
    void logEvent(std::string_view kind, std::string_view text);

    Instance instance;
    bool loaded = false;
    std::optional<std::string> fixtureError;
    // Counted by every connection's thread, read by the test's.
    std::atomic<unsigned long long> roundTrips = 0;
    std::atomic<unsigned long long> produceNs = 0;
    std::FILE* log = nullptr;
    std::vector<std::unique_ptr<Env>> envs;
};

Runtime& runtime();

// Adds the time of its scope to the stand-in's own time (standin_produce_ns).
class ProduceTimer {
public:
    ProduceTimer() : start_(std::chrono::steady_clock::now()) {}
    ~ProduceTimer() {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        runtime().produceNs += static_cast<unsigned long long>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count());
    }
    ProduceTimer(const ProduceTimer&) = delete;
    ProduceTimer& operator=(const ProduceTimer&) = delete;

private:
    std::chrono::steady_clock::time_point start_;
};
