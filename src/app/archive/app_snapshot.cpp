#include "app/archive/app_snapshot.h"

namespace zelar {

archive::SettingsSnapshot appSnapshot(const App&) {
    return {};
}
std::string appSerialNumber(const App&) {
    return {};
}

}  // namespace zelar
