#pragma once

#include <optional>
#include <string>

#include "firmware/firmware_image.h"
#include "link/modem_link.h"
#include "platform/event_pump.h"

namespace zelar {

// The service window's programming state: from "Программировать" until the end is reported or
// the wait is cancelled.
struct FirmwareState {
    enum class Mode { Idle, Programming };
    enum class Result { None, Succeeded, Failed };

    Mode mode = Mode::Idle;
    bool errorFlag = false;  // a block was not acknowledged, or the port failed
    bool transferring = false;
    bool restarting = false;  // the restart request runs on the main link

    // The file chosen with "Открыть файл".
    std::string path;
    std::string extension;
    std::optional<FirmwareImage> image;

    // The one-shot timers: the end report and the clean-up after unexpected input.
    EventPump::TimerId reportTimer = 0;
    EventPump::TimerId cleanupTimer = 0;

    // The main link is held from the start until the end is reported (or the wait cancelled):
    // the two port objects must never be open together, so no other operation may start.
    std::optional<TModemLink::Lease> lease;

    Result lastResult = Result::None;  // of the last transfer, for the command line
};

}  // namespace zelar
