#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/settings_compare.h"
#include "files/settings_file.h"
#include "settings/screen_blocks.h"

namespace zelar::archive {

// Everything a read of the modem fetched: the settings file's lines (`file`, whose image also
// holds the object parameters and the SIM cards' phone numbers, which a file does not carry),
// the voice call, the incoming call and the operating mode.
struct SettingsSnapshot {
    SettingsFileContent file;
    std::optional<VoiceCallBlock> voice;  // none when the read could not fetch it
    IncomingCallBlock incoming;
    int operatingMode = 0;  // as the service window's list selects it: 0 end device, 1 terminal
};

// The snapshot as the archive stores it: the settings file's bytes, then the values it does
// not carry, one "key=value" line each. Equal snapshots give equal bytes.
std::string encodeSnapshot(const SettingsSnapshot& snapshot);
// Nothing when the bytes are not a snapshot this program wrote.
std::optional<SettingsSnapshot> decodeSnapshot(std::string_view bytes);

// The values that differ from `first` to `second`: the settings file's (as verify words them),
// then the object parameters, SIM phone numbers, voice and incoming call and operating mode.
std::vector<SettingsDifference> compareSnapshots(const SettingsSnapshot& first,
                                                 const SettingsSnapshot& second);

// Passwords, PINs and PUKs, which are shown as "****" unless asked for.
bool isSecretDifference(const SettingsDifference& difference);
// differenceLine of each, secrets masked unless `withSecrets`.
std::vector<std::string> differenceLines(const std::vector<SettingsDifference>& differences,
                                         const std::string& firstName,
                                         const std::string& secondName, bool withSecrets);

}  // namespace zelar::archive
