#include "src/runtime.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "src/fixture.h"
#include "src/handles.h"

Runtime::~Runtime() {
    envs.clear();
    if (log != nullptr) {
        std::fclose(log);
    }
}

Runtime& runtime() {
    static Runtime state;
    return state;
}

void Runtime::ensureLoaded() {
    if (!loaded) {
        reload();
    }
}

void Runtime::reload() {
    loaded = true;
    roundTrips = 0;
    produceNs = 0;
    instance = Instance{};
    fixtureError.reset();

    // Without a fixture the instance accepts no connect string: every logon gets ORA-12154.
    if (const char* path = std::getenv("KESTROM_STANDIN_FIXTURE"); path != nullptr && *path) {
        std::ifstream file(path, std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        if (!file.is_open()) {
            fixtureError = std::string(path) + ": cannot read the fixture";
        } else if (auto error = parseFixture(content.str(), instance)) {
            fixtureError = std::string(path) + ": " + *error;
        }
        if (fixtureError) {
            std::fprintf(stderr, "stand-in Oracle client: %s\n", fixtureError->c_str());
        }
    }

    if (log != nullptr) {
        std::fclose(log);
        log = nullptr;
    }
    if (const char* path = std::getenv("KESTROM_STANDIN_LOG"); path != nullptr && *path) {
        log = std::fopen(path, "a");
        if (log == nullptr) {
            std::fprintf(stderr, "stand-in Oracle client: cannot open the log %s\n", path);
        }
    }
}

void Runtime::logEvent(std::string_view kind, std::string_view text) {
    if (log == nullptr) {
        return;
    }
    std::string line(kind);
    if (!text.empty()) {
        line += ' ';
    }
    for (char c : text) {
        switch (c) {
        case '\r':
            line += "\\r";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\\':
            line += "\\\\";
            break;
        default:
            line += c;
        }
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), log);
    // Tests read the log while the program is still running.
    std::fflush(log);
}
