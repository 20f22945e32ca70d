#include "open_failure_note.h"

namespace zelar::cli {

std::string openFailureNote(const ui::OpenFailureInfo& failure) {
    using Kind = ui::OpenFailure;
    const std::string port = "zelar-cli: COM" + std::to_string(failure.portNumber) + ": ";
    switch (failure.kind) {
        case Kind::None:
            return {};
        case Kind::NoDevice:
            return port + "no such device";
        case Kind::InUse:
            return port + "in use by another program";
        case Kind::Denied:
#ifdef __linux__
            // Serial devices belong to the group dialout; a new member's rights start with
            // the next login.
            return port +
                   "permission denied; serial ports belong to the group dialout: join it with "
                   "'sudo usermod -aG dialout $USER', then log in again";
#else
            return port + "permission denied";
#endif
        case Kind::Other:
            break;
    }
    return port + failure.text;
}

}  // namespace zelar::cli
