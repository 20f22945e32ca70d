// Any bytes as a zelar-cli script.
#include <cstdint>

#include "script/script_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelar::parseScript({reinterpret_cast<const char*>(data), size});
    return 0;
}
