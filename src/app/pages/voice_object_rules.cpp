#include "app/pages/voice_object_rules.h"

#include <algorithm>
#include <string>
#include <variant>

#include "app/core/exchange_runner.h"
#include "link/reply.h"

namespace zelar {

namespace {

constexpr const char* kCaption = "Модем";

// One audio level field and what its check says.
struct AudioLevel {
    const char* field;
    const char* emptyText;
    const char* rangeText;
    int max;
};

constexpr AudioLevel kSpeaker{"EditECallSpk", "Введите значение громкости динамика",
                              "Громкость динамика должна быть от 1 до 100", 100};
constexpr AudioLevel kMicrophone{"EditECallMic", "Введите чувствительность микрофона",
                                 "Чувствительность микрофона должна быть от 1 до 15", 15};

const AudioLevel& audioLevel(AudioField field) {
    return field == AudioField::Speaker ? kSpeaker : kMicrophone;
}

bool inRange(const std::string& text, int max) {
    // Pasted text that is not a plain number counts as out of range: it cannot be written.
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto first = text.find_first_not_of('0');
    if (first == std::string::npos)
        return false;  // zero
    const std::string significant = text.substr(first);
    // More digits than any level has cannot be in range, and would overflow the conversion.
    if (significant.size() > 3)
        return false;
    return std::stoi(significant) <= max;
}

void checkAudioLevel(App& app, const Edit& edit, AudioField field) {
    const char* message = audioLevelProblem(field, edit.text);
    if (message == nullptr)
        return;
    app.services.dialogs.messageBox(message, kCaption, MessageIcon::Warning, MessageButtons::Ok);
    app.main.focusRequest = audioLevel(field).field;
}

}  // namespace

const char* audioLevelProblem(AudioField field, const std::string& text) {
    const AudioLevel& level = audioLevel(field);
    if (text.empty())
        return level.emptyText;
    return inRange(text, level.max) ? nullptr : level.rangeText;
}

void enableOutgoingNumbers(TformMain& m, bool enabled) {
    setEnabled({&m.LabelECallN1, &m.LabelECallN2, &m.LabelECallN3, &m.LabelECallN4, &m.LabelECallN5,
                &m.EditECallN1, &m.EditECallN2, &m.EditECallN3, &m.EditECallN4, &m.EditECallN5},
               enabled);
}

void enableIncomingNumbers(TformMain& m, bool enabled) {
    setEnabled({&m.LabelInCall, &m.LabelInCallN1, &m.LabelInCallN2, &m.LabelInCallN3,
                &m.EditInCallN1, &m.EditInCallN2, &m.EditInCallN3},
               enabled);
}

void setVoiceCallUnread(App& app, bool unread) {
    TformMain& m = app.main;
    const bool wasUnread = app.voiceCallUnread;
    app.voiceCallUnread = unread;
    if (unread) {
        for (Edit* e : {&m.EditECallN1, &m.EditECallN2, &m.EditECallN3, &m.EditECallN4,
                        &m.EditECallN5, &m.EditECallSpk, &m.EditECallMic})
            e->text.clear();
        m.CheckBoxECallEn.checked = false;
    }
    if (unread || wasUnread) {
        setEnabled({&m.CheckBoxECallEn, &m.LabelECallSpk, &m.EditECallSpk, &m.LabelECallMic,
                    &m.EditECallMic},
                   !unread);
        m.LabelECallNumbers.enabled = !unread && m.CheckBoxECallEn.checked;
        enableOutgoingNumbers(m, !unread && m.CheckBoxECallEn.checked);
    }
}

bool isUnreadValue(const App& app, const ControlRef& control) {
    if (!app.voiceCallUnread)
        return false;
    const TformMain& m = app.main;
    const void* held = std::visit([](auto* p) -> const void* { return p; }, control);
    const std::initializer_list<const void*> unread = {
        &m.CheckBoxECallEn, &m.EditECallN1, &m.EditECallN2,  &m.EditECallN3,
        &m.EditECallN4,     &m.EditECallN5, &m.EditECallSpk, &m.EditECallMic};
    return std::find(unread.begin(), unread.end(), held) != unread.end();
}

std::vector<NamedControl> withoutUnreadValues(const App& app, std::vector<NamedControl> controls) {
    std::erase_if(controls, [&](const NamedControl& c) { return isUnreadValue(app, c.control); });
    return controls;
}

void BtnResetSysObjClick(App& app) {
    TformMain& m = app.main;
    Dialogs& dialogs = app.services.dialogs;
    if (dialogs.messageBox(kTextResetQuestion, kCaption, MessageIcon::Question,
                           MessageButtons::YesNo) != MessageResult::Yes) {
        return;
    }
    ExchangeRunner run(app, m.BtnResetSysObj, m.BSprogressBarLine1);
    if (!run.held())
        return;
    run.setProgress(100, 50);
    if (!run.open()) {
        dialogs.messageBox(kTextResetCannotOpenPort, kCaption, MessageIcon::Error,
                           MessageButtons::Ok);
        return;
    }
    run.advance();
    m.StatusBar1.text = kTextResetting;

    bool acknowledged = false;
    run.step([&] {
        app.link.Send(kResetSysObjLine);
        acknowledged = containsOK(app.link.WaitReply(1000, isCompleteAck));
        app.link.Close();
        return true;
    });
    // A port error was shown by the runner with the port's own text.
    if (run.failed())
        return;
    if (acknowledged) {
        run.advance();
        app.link.PumpDelay(100);
        m.StatusBar1.text = kTextResetDone;
    } else {
        dialogs.messageBox(kTextModemWriteError, kCaption, MessageIcon::Error, MessageButtons::Ok);
        m.StatusBar1.text = kTextModemWriteError;
    }
    // The fields and the settings image keep the old values until the settings are read again.
}

void CheckBoxECallEnClick(App& app) {
    TformMain& m = app.main;
    m.LabelECallNumbers.enabled = m.CheckBoxECallEn.checked;
    enableOutgoingNumbers(m, m.CheckBoxECallEn.checked);
}

void CheckBoxInCallClick(App& app) {
    enableIncomingNumbers(app.main, app.main.CheckBoxInCall.checked);
}

void EditECallSpkExit(App& app) {
    checkAudioLevel(app, app.main.EditECallSpk, AudioField::Speaker);
}

void EditECallMicExit(App& app) {
    checkAudioLevel(app, app.main.EditECallMic, AudioField::Microphone);
}

}  // namespace zelar
