#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelar::archive {

// What a visit did to the modem. The key is what the archive stores and the command line
// prints; the label is what the window shows.
enum class VisitOperation {
    Read,
    PageWritten,
    Restore,
    FactoryDefaults,
    FileWritten,
    DictionaryUploaded,
    FirmwareProgrammed,
    OperatingMode,
    Report,
    Verify,
    Diagnostics,
};

struct VisitOperationName {
    VisitOperation operation;
    std::string_view key;    // "read"
    std::string_view label;  // "чтение"
};

std::string_view operationKey(VisitOperation operation);
std::string_view operationLabel(VisitOperation operation);
std::optional<VisitOperation> operationFromKey(std::string_view key);

// What the installer adds to a modem's serial number.
struct ModemSite {
    std::string name;
    std::string address;
    std::string note;
};

// Milliseconds since 1970-01-01 00:00 UTC; the archive stores nothing else as a time.
using UtcMillis = std::int64_t;

// A modem as the archive knows it.
struct ArchivedModem {
    std::string serial;
    ModemSite site;
    std::string lastInstaller;
    UtcMillis firstVisit = 0;
    UtcMillis lastVisit = 0;
    int visits = 0;
};

// One visit entry. `settings` is the snapshot's bytes (settings_snapshot.h), empty when the
// operation fetched none; equal bytes are stored once however many entries hold them.
struct VisitEntry {
    std::int64_t id = 0;  // the store's own, 0 before it is stored
    std::string serial;
    UtcMillis time = 0;
    VisitOperation operation = VisitOperation::Read;
    // The state before an operation that replaces many settings at once (restore, factory
    // defaults, a file written, firmware programming), kept so that it can be written back.
    bool before = false;
    std::string detail;  // which page was written, the firmware programmed, the mode chosen
    std::string port;    // "COM5"
    int user = 0;        // the user number logged in, 0 for none; never a password
    std::string installer;
    std::string firmwareVersion;  // as the modem names it: "2.05"
    std::string diagnostics;      // the level and faults when read: "уровень 62%, ..."
    std::string meter;            // the signal meter's figures when it ran
    std::string settings;
};

}  // namespace zelar::archive
