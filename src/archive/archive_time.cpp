#include "archive/archive_queries.h"

namespace zelar::archive {

std::string localDate(UtcMillis) {
    return {};
}
std::string localDateTime(UtcMillis) {
    return {};
}
std::string isoUtc(UtcMillis) {
    return {};
}
UtcMillis utcNow() {
    return 0;
}

}  // namespace zelar::archive
