#include "src/handles.h"

#include "src/runtime.h"

ErrorHandle* errorsFor(const void* errhp) {
    ErrorHandle* errors = lookup<ErrorHandle>(errhp);
    if (errors != nullptr) {
        errors->record = {};
    }
    return errors;
}

sword fail(ErrorHandle* errors, sb4 code, std::string_view detail) {
    return fail(errors, oraError(code, detail));
}

sword fail(ErrorHandle* errors, OraError error) {
    if (errors != nullptr) {
        errors->record = {error.code, std::move(error.message)};
    }
    return oci::ERROR;
}

std::optional<sb4> Service::roundTrip() {
    if (!connected() || dead) {
        return ora::NotConnected;
    }
    ++runtime().roundTrips;
    if (loseAfter && roundTrips >= *loseAfter) {
        dead = true;
        return ora::EndOfFile;
    }
    ++roundTrips;
    return std::nullopt;
}
