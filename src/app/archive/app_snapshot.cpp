#include "app/archive/app_snapshot.h"

#include <charconv>

#include "app/pages/settings_file_store.h"

namespace zelar {

namespace {

// What a label shows after its fixed start; empty when it shows something else.
std::string shownAfter(const std::string& caption, const std::string& start) {
    return caption.starts_with(start) ? caption.substr(start.size()) : std::string();
}

std::uint8_t smallNumber(const std::string& text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && value <= 0xFF ? static_cast<std::uint8_t>(value) : 0;
}

VoiceCallBlock voiceCall(const TformMain& m) {
    VoiceCallBlock voice;
    voice.microphone = smallNumber(m.EditECallMic.text);
    voice.speaker = smallNumber(m.EditECallSpk.text);
    const Edit* numbers[] = {&m.EditECallN1, &m.EditECallN2, &m.EditECallN3, &m.EditECallN4,
                             &m.EditECallN5};
    for (int i = 0; i < kOutgoingNumberCount; ++i)
        voice.numbers[i] = numbers[i]->text;
    voice.outgoingAllowed = m.CheckBoxECallEn.checked;
    return voice;
}

IncomingCallBlock incomingCall(const TformMain& m) {
    IncomingCallBlock incoming;
    incoming.incomingAllowed = m.CheckBoxInCall.checked;
    const Edit* numbers[] = {&m.EditInCallN1, &m.EditInCallN2, &m.EditInCallN3};
    for (int i = 0; i < kAllowedNumberCount; ++i)
        incoming.numbers[i] = numbers[i]->text;
    return incoming;
}

}  // namespace

archive::SettingsSnapshot appSnapshot(const App& app) {
    archive::SettingsSnapshot snapshot;
    snapshot.file = settingsFileContent(app);
    // Equal settings must give equal bytes, whenever they were taken.
    snapshot.file.created.clear();
    if (!app.voiceCallUnread)
        snapshot.voice = voiceCall(app.main);
    snapshot.incoming = incomingCall(app.main);
    snapshot.operatingMode = app.setup.ComBoxWorkAs.itemIndex;
    return snapshot;
}

std::string appSerialNumber(const App& app) {
    return shownAfter(app.main.StaticTextSN.caption, "Серийный номер: ");
}

std::string appFirmwareVersion(const App& app) {
    return shownAfter(app.main.StaticTextVer.caption, "ПО контроллера: ");
}

std::string appDiagnostics(const App& app) {
    const TformMain& m = app.main;
    std::string text = m.StaticTextQuality.caption;
    const CheckBox* faults[] = {
        &m.CheckBoxErr5V,         &m.CheckBoxErr12V,      &m.CheckBoxErrVddExt,
        &m.CheckBoxErrVddSim,     &m.CheckBoxErrInEEPROM, &m.CheckBoxErrFlash,
        &m.CheckBoxErrSim,        &m.CheckBoxErrSimCard,  &m.CheckBoxErrCheckEEPROM,
        &m.CheckBoxErrCheckFlash, &m.CheckBoxErrPin};
    std::string checked;
    for (const CheckBox* fault : faults) {
        if (fault->checked)
            checked += (checked.empty() ? "" : ", ") + fault->caption;
    }
    if (!checked.empty())
        text += (text.empty() ? "" : "; ") + checked;
    return text;
}

}  // namespace zelar
