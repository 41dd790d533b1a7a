#include "src/interrupt.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <type_traits>
#include <utility>

#include "src/export.h"
#include "src/handles.h"
#include "src/runtime.h"

namespace {
// Never destroyed: a program may end while one of its threads still waits in a call, and
// destroying a condition variable that has a waiter blocks the end of the process until that
// wait is over.
std::mutex& breakMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}
std::condition_variable& breakSignal() {
    static auto* signal = new std::condition_variable;
    return *signal;
}
} // namespace

std::optional<sb4> serverWait(Service& service, unsigned ms) {
    const unsigned scaled = runtime().instance.faults.callTimeoutMs;
    const unsigned timeout = service.callTimeoutMs == 0 ? 0
                             : scaled != 0              ? scaled
                                                        : service.callTimeoutMs;
    const bool timesOut = timeout != 0 && timeout < ms;
    std::unique_lock lock(breakMutex());
    service.breakPending = false;
    service.inCall = true;
    const bool broken =
        breakSignal().wait_for(lock, std::chrono::milliseconds(timesOut ? timeout : ms),
                               [&] { return service.breakPending; });
    service.breakPending = false;
    service.inCall = false;
    if (broken) {
        return ora::UserCancel;
    }
    if (timesOut) {
        return ora::CallTimedOut;
    }
    return std::nullopt;
}

void breakCall(Service& service) {
    const Faults& faults = runtime().instance.faults;
    if (faults.breakBlocksMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(faults.breakBlocksMs));
    }
    {
        const std::lock_guard lock(breakMutex());
        if (service.inCall && !faults.breakIgnored) {
            service.breakPending = true;
        } else if (faults.idleBreakLingers) {
            service.staleBreak = true;
        }
    }
    breakSignal().notify_all();
}

bool takeStaleBreak(Service& service) {
    const std::lock_guard lock(breakMutex());
    return std::exchange(service.staleBreak, false);
}

STANDIN_EXPORT sword OCIReset(void* hndlp, OCIError* errhp) {
    Service* service = lookup<Service>(hndlp);
    if (service == nullptr || errorsFor(errhp) == nullptr) {
        return oci::INVALID_HANDLE;
    }
    const std::lock_guard lock(breakMutex());
    service->staleBreak = false;
    service->breakPending = false;
    return oci::SUCCESS;
}

// Called from another thread than the call it ends: it touches nothing of the connection but
// its break request.
STANDIN_EXPORT sword OCIBreak(void* hndlp, OCIError* errhp) {
    Service* service = lookup<Service>(hndlp);
    ErrorHandle* errors = errorsFor(errhp);
    if (service == nullptr || errors == nullptr) {
        return oci::INVALID_HANDLE;
    }
    runtime().logEvent("BREAK", {});
    breakCall(*service);
    return oci::SUCCESS;
}

static_assert(std::is_same_v<decltype(&OCIBreak), OCIBreak_t*>);
static_assert(std::is_same_v<decltype(&OCIReset), OCIReset_t*>);
