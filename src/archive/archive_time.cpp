#include <chrono>
#include <cstdio>
#include <ctime>

#include "archive/archive_queries.h"

namespace zelar::archive {

namespace {

std::tm brokenDown(UtcMillis time, bool local) {
    const std::time_t seconds = static_cast<std::time_t>(time / 1000);
    std::tm parts{};
#ifdef _WIN32
    local ? localtime_s(&parts, &seconds) : gmtime_s(&parts, &seconds);
#else
    local ? localtime_r(&seconds, &parts) : gmtime_r(&seconds, &parts);
#endif
    return parts;
}

std::string formatted(UtcMillis time, bool local, const char* format) {
    const std::tm parts = brokenDown(time, local);
    char text[40];
    const std::size_t size = std::strftime(text, sizeof text, format, &parts);
    return std::string(text, size);
}

}  // namespace

std::string localDate(UtcMillis time) {
    return formatted(time, true, "%d.%m.%Y");
}

std::string localDateTime(UtcMillis time) {
    return formatted(time, true, "%d.%m.%Y %H:%M:%S");
}

std::string isoUtc(UtcMillis time) {
    return formatted(time, false, "%Y-%m-%dT%H:%M:%SZ");
}

UtcMillis utcNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace zelar::archive
