#include "platform/local_time.h"

#include <ctime>

namespace zelar {

namespace {

std::string localTimeText(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &now) != 0)
        return {};
#else
    if (!localtime_r(&now, &local))
        return {};
#endif
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, format, &local);
    return std::string(text, length);
}

}  // namespace

std::string numericLocalTime() {
    return localTimeText("%d.%m.%Y %H:%M:%S");
}

std::string russianLocalTime() {
    return localTimeText("%d.%m.%Y %H:%M");
}

std::string localClockTime() {
    return localTimeText("%H:%M:%S");
}

}  // namespace zelar
