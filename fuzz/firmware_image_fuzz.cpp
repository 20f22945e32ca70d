// Any bytes as a coded or an open firmware file.
#include <cstdint>
#include <cstdlib>

#include "firmware/firmware_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> file(data, data + size);
    for (const char* extension : {".dat", ".bin"}) {
        zelar::firmwareVersionOf(file, extension);
        const auto image = zelar::firmwareImageOf(file, zelar::firmwareKind(extension));
        if (image && image->size() != zelar::kFirmwareImageSize)
            std::abort();
    }
    return 0;
}
