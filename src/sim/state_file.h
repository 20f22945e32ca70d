#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "sim/modem_store.h"

namespace zelar::sim {

// The modem's memories kept between runs, as text: a header line, the firmware version, the
// settings memory and page buffer in hexadecimal, and every flash and program page that is not
// erased (all 0xFF) as "flash PAGE HEX" or "program PAGE HEX".
std::string stateText(const ModemStore& store);

struct LoadedState {
    std::optional<ModemStore> store;
    std::string error;  // why the text was refused; empty when store is set
};
// `bootLoaderVersion` is not kept in the file; the store gets the one passed.
LoadedState parseState(const std::string& text, const std::string& bootLoaderVersion = "102");

// Writes the file whole or not at all: a temporary file beside it, renamed into place.
// Returns an error text, empty on success.
std::string saveState(const std::filesystem::path& file, const ModemStore& store);
// Nothing and no error when the file does not exist.
LoadedState loadState(const std::filesystem::path& file,
                      const std::string& bootLoaderVersion = "102");

}  // namespace zelar::sim
