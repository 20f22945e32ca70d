// Any bytes as a settings file: a file that loads saves again into one that loads the same.
#include <cstdint>
#include <cstdlib>

#include "files/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelar::SettingsFileContent content;
    if (!zelar::parseSettingsFile({reinterpret_cast<const char*>(data), size}, content))
        return 0;
    const std::string saved = zelar::composeSettingsFile(content);
    zelar::SettingsFileContent again;
    if (!zelar::parseSettingsFile(saved, again) || zelar::composeSettingsFile(again) != saved)
        std::abort();
    return 0;
}
