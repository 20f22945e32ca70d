// The dictionary download with replies chosen by the fuzzer: it ends, and whatever it keeps is a
// file the upload can read back line for line.
#include <cstdint>
#include <cstdlib>

#include "files/dictionary_file.h"
#include "files/dictionary_transfer.h"
#include "fuzz_app.h"
#include "fuzz_port.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelar::fuzz::FuzzPort port({reinterpret_cast<const char*>(data), size});
    zelar::fuzz::FuzzApp f(port);
    f.cancelQuestions();
    zelar::DictionaryTransferHooks hooks{f.app.link, f.dialogs,
                                         [&] {
                                             f.app.link.Open(1);
                                             return true;
                                         },
                                         [](const std::string&) {}};
    const auto dictionary = zelar::downloadDictionary(hooks);
    if (!dictionary)
        return 0;
    zelar::LineReader lines(dictionary->fileBytes);
    for (int i = 0; i < 4; ++i)
        lines.next();
    for (int code = 0; code < zelar::kProtocol0Codes; ++code) {
        const auto line = zelar::parseProtocol0Line(lines.next());
        if (line.error != zelar::Protocol0Line::Error::None || line.dec != code || line.hex != code)
            std::abort();
    }
    return 0;
}
