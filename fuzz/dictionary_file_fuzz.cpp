// Any bytes as a dictionary file of either kind, uploaded to a modem that agrees to everything.
#include <cstdint>

#include "files/dictionary_transfer.h"
#include "fuzz_app.h"
#include "fuzz_port.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelar::fuzz::AgreeingPort port;
    zelar::fuzz::FuzzApp f(port);
    zelar::DictionaryTransferHooks hooks{f.app.link, f.dialogs,
                                         [&] {
                                             f.app.link.Open(1);
                                             return true;
                                         },
                                         [](const std::string&) {}};
    zelar::uploadDictionary(hooks, {reinterpret_cast<const char*>(data), size});
    return 0;
}
