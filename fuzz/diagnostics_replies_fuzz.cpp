// The three diagnostics with replies chosen by the fuzzer: each ends in order.
#include <cstdint>
#include <cstdlib>

#include "app/diagnostics/diagnostics_page.h"
#include "fuzz_app.h"
#include "fuzz_port.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zelar::fuzz::FuzzPort port({reinterpret_cast<const char*>(data), size});
    zelar::fuzz::FuzzApp f(port);
    zelar::BitBtnTestClick(f.app);
    zelar::BitBtnReadBalanceClick(f.app);
    zelar::BitBtnReadErrorClick(f.app);
    const auto& m = f.app.main;
    if (!m.BitBtnTest.enabled || !m.BitBtnReadBalance.enabled || !m.BitBtnReadError.enabled ||
        f.app.link.isOpen()) {
        std::abort();
    }
    return 0;
}
