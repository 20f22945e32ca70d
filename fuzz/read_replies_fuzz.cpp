// Every reply of the settings read, cut and garbled as the fuzzer likes: the read must end in
// order, whatever the modem sends.
#include <cstdint>
#include <cstdlib>

#include "app/shell/read_settings.h"
#include "fuzz_app.h"
#include "fuzz_port.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelar::fuzz::FuzzPort port({reinterpret_cast<const char*>(data), size});
    zelar::fuzz::FuzzApp f(port);
    zelar::btnReadNastUserClick(f.app);
    if (!f.app.main.btnReadNastUser.enabled || f.app.link.isOpen())
        std::abort();
    return 0;
}
