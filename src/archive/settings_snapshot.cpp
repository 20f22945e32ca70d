#include "archive/settings_snapshot.h"

#include <charconv>
#include <functional>
#include <string>

namespace zelar::archive {

namespace {

constexpr std::string_view kHeader = "zelar-archive-snapshot 1\n";
constexpr std::string_view kObjectPage = "Параметры объекта";
constexpr std::string_view kVoicePage = "Голосовой вызов";

// One value a snapshot holds beyond the settings file: its key in the stored bytes, where the
// window shows it, and how it is read from and put into a snapshot.
struct ExtraValue {
    std::string key;
    std::string_view page;
    std::string field;
    std::function<std::string(const SettingsSnapshot&)> get;
    std::function<bool(SettingsSnapshot&, const std::string&)> set;
};

template <typename Number>
bool parseNumber(const std::string& text, Number& target) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    target = value;
    return true;
}

template <typename Get>
ExtraValue number(std::string key, std::string_view page, std::string field, Get get) {
    return {
        std::move(key), page, std::move(field),
        [get](const SettingsSnapshot& s) { return std::to_string(get(s)); },
        [get](SettingsSnapshot& s, const std::string& text) { return parseNumber(text, get(s)); }};
}

template <typename Get>
ExtraValue text(std::string key, std::string_view page, std::string field, Get get) {
    return {std::move(key), page, std::move(field),
            [get](const SettingsSnapshot& s) { return std::string(get(s)); },
            [get](SettingsSnapshot& s, const std::string& value) {
                get(s) = value;
                return true;
            }};
}

template <typename Get>
ExtraValue flag(std::string key, std::string_view page, std::string field, Get get) {
    return {std::move(key), page, std::move(field),
            [get](const SettingsSnapshot& s) { return std::string(get(s) ? "1" : "0"); },
            [get](SettingsSnapshot& s, const std::string& value) {
                if (value != "0" && value != "1")
                    return false;
                get(s) = value == "1";
                return true;
            }};
}

// The voice call block of a snapshot: made when a stored value names it, read as empty from
// a snapshot whose read could not fetch it.
VoiceCallBlock& voice(SettingsSnapshot& s) {
    if (!s.voice)
        s.voice.emplace();
    return *s.voice;
}

const VoiceCallBlock& voice(const SettingsSnapshot& s) {
    static const VoiceCallBlock kNone;
    return s.voice ? *s.voice : kNone;
}

// Whether the read fetched the voice call; stored before the voice call's values.
ExtraValue voiceRead() {
    return {"voice.read", kVoicePage, "Считан",
            [](const SettingsSnapshot& s) { return std::string(s.voice ? "1" : "0"); },
            [](SettingsSnapshot& s, const std::string& value) {
                if (value == "1")
                    s.voice.emplace();
                else if (value == "0")
                    s.voice.reset();
                return value == "0" || value == "1";
            }};
}

std::vector<ExtraValue> makeExtraValues() {
    std::vector<ExtraValue> t;
    t.push_back(number(
        "object.system", kObjectPage, "Основной номер системы",
        [](auto& s) -> auto& { return s.file.image.mainSystem; }));
    t.push_back(number(
        "object.number", kObjectPage, "Основной номер объекта",
        [](auto& s) -> auto& { return s.file.image.mainObjectMinus1; }));
    t.push_back(number(
        "object.protocol", kObjectPage, "Протокол",
        [](auto& s) -> auto& { return s.file.image.protocol; }));
    for (int i = 0; i < kSimCount; ++i) {
        t.push_back(text(
            "sim" + std::to_string(i + 1) + ".phone",
            i == 0 ? "Настройка SIM-карт, SIM 1" : "Настройка SIM-карт, SIM 2",
            "Номер телефона SIM", [i](auto& s) -> auto& { return s.file.image.sims[i].phone; }));
    }
    t.push_back(voiceRead());
    t.push_back(flag(
        "voice.allowed", kVoicePage, "Разрешить исходящий вызов",
        [](auto& s) -> auto& { return voice(s).outgoingAllowed; }));
    for (int i = 0; i < kOutgoingNumberCount; ++i) {
        t.push_back(text(
            "voice.number" + std::to_string(i + 1), kVoicePage,
            "Номера телефонов " + std::to_string(i + 1), [i](auto& s) -> auto& {
                return voice(s).numbers[i];
            }));
    }
    t.push_back(number(
        "voice.speaker", kVoicePage, "Громкость динамика",
        [](auto& s) -> auto& { return voice(s).speaker; }));
    t.push_back(number(
        "voice.microphone", kVoicePage, "Чувствительность микрофона",
        [](auto& s) -> auto& { return voice(s).microphone; }));
    t.push_back(flag(
        "incoming.allowed", kVoicePage, "Разрешить входящий вызов",
        [](auto& s) -> auto& { return s.incoming.incomingAllowed; }));
    for (int i = 0; i < kAllowedNumberCount; ++i) {
        t.push_back(text(
            "incoming.number" + std::to_string(i + 1), kVoicePage,
            "Разрешенные номера " + std::to_string(i + 1), [i](auto& s) -> auto& {
                return s.incoming.numbers[i];
            }));
    }
    t.push_back(number(
        "mode", "Сервис", "Режим работы модема", [](auto& s) -> auto& { return s.operatingMode; }));
    return t;
}

const std::vector<ExtraValue>& extraValues() {
    static const std::vector<ExtraValue> values = makeExtraValues();
    return values;
}

// A value's bytes on one line: control bytes, '%' and DEL as "%XX".
std::string escape(const std::string& value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            out += '%';
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size())
            return std::nullopt;
        const char* digits = text.data() + i + 1;
        const auto [end, error] = std::from_chars(digits, digits + 2, value, 16);
        if (error != std::errc() || end != digits + 2)
            return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

const ExtraValue* extraValue(std::string_view key) {
    for (const ExtraValue& value : extraValues()) {
        if (value.key == key)
            return &value;
    }
    return nullptr;
}

}  // namespace

std::string encodeSnapshot(const SettingsSnapshot& snapshot) {
    std::string bytes(kHeader);
    for (const ExtraValue& value : extraValues()) {
        if (value.key.starts_with("voice.") && value.key != "voice.read" && !snapshot.voice)
            continue;
        bytes += value.key + "=" + escape(value.get(snapshot)) + "\n";
    }
    bytes += "\n";
    return bytes + composeSettingsFile(snapshot.file);
}

std::optional<SettingsSnapshot> decodeSnapshot(std::string_view bytes) {
    if (!bytes.starts_with(kHeader))
        return std::nullopt;
    bytes.remove_prefix(kHeader.size());
    SettingsSnapshot snapshot;
    for (;;) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
        if (line.empty())
            break;
        const std::size_t equals = line.find('=');
        const ExtraValue* value =
            equals == std::string_view::npos ? nullptr : extraValue(line.substr(0, equals));
        const auto text = value ? unescape(line.substr(equals + 1)) : std::nullopt;
        if (!text || !value->set(snapshot, *text))
            return std::nullopt;
    }
    if (!parseSettingsFile(bytes, snapshot.file))
        return std::nullopt;
    return snapshot;
}

std::vector<SettingsDifference> compareSnapshots(const SettingsSnapshot& first,
                                                 const SettingsSnapshot& second) {
    std::vector<SettingsDifference> differences = compareSettings(first.file, second.file);
    for (const ExtraValue& value : extraValues()) {
        const std::string a = value.get(first);
        const std::string b = value.get(second);
        if (a != b)
            differences.push_back({std::string(value.page), value.field, a, b});
    }
    return differences;
}

bool isSecretDifference(const SettingsDifference& difference) {
    const std::string& field = difference.field;
    return field == "PIN-код" || field == "PUK-код" || field.ends_with("Пароль");
}

std::vector<std::string> differenceLines(const std::vector<SettingsDifference>& differences,
                                         const std::string& firstName,
                                         const std::string& secondName, bool withSecrets) {
    std::vector<std::string> lines;
    for (SettingsDifference difference : differences) {
        if (!withSecrets && isSecretDifference(difference)) {
            difference.first = difference.first.empty() ? "" : "****";
            difference.second = difference.second.empty() ? "" : "****";
        }
        lines.push_back(differenceLine(difference, firstName, secondName));
    }
    return lines;
}

}  // namespace zelar::archive
