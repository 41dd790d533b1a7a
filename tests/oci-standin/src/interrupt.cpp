#include "src/interrupt.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <type_traits>

#include "src/export.h"
#include "src/handles.h"
#include "src/runtime.h"

namespace {
std::mutex& breakMutex() {
    static std::mutex mutex;
    return mutex;
}
std::condition_variable& breakSignal() {
    static std::condition_variable signal;
    return signal;
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
    const bool broken =
        breakSignal().wait_for(lock, std::chrono::milliseconds(timesOut ? timeout : ms),
                               [&] { return service.breakPending; });
    service.breakPending = false;
    if (broken) {
        return ora::UserCancel;
    }
    if (timesOut) {
        return ora::CallTimedOut;
    }
    return std::nullopt;
}

void breakCall(Service& service) {
    {
        const std::lock_guard lock(breakMutex());
        service.breakPending = true;
    }
    breakSignal().notify_all();
}

// Called from another thread than the call it ends: it touches nothing of the connection but
// its break request.
STANDIN_EXPORT sword OCIBreak(void* hndlp, OCIError* errhp) {
    Service* service = lookup<Service>(hndlp);
    ErrorHandle* errors = errorsFor(errhp);
    if (service == nullptr || errors == nullptr) {
        return oci::INVALID_HANDLE;
    }
    breakCall(*service);
    return oci::SUCCESS;
}

static_assert(std::is_same_v<decltype(&OCIBreak), OCIBreak_t*>);
