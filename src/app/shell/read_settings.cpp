#include "app/shell/read_settings.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/core/handler_guard.h"
#include "app/core/port_list.h"
#include "app/core/settings_source.h"
#include "app/pages/page_edits.h"
#include "app/pages/show_settings.h"
#include "app/pages/sim_rules.h"
#include "app/pages/voice_object_rules.h"
#include "link/commands.h"
#include "link/reply.h"
#include "settings/identification.h"
#include "settings/image_codec.h"
#include "settings/screen_blocks.h"
#include "settings/serial_number.h"
#include "text/padding.h"

namespace zelar {

namespace {

constexpr int kPolls = TModemLink::kDefaultPolls;

// How a step's reply is judged beyond its exact length.
enum class Check { Length, Frame, LengthAndOK };

// One V17 exchange: purge, send, collect; the payload bytes when the reply passes its check.
// A payload character that is not a hexadecimal digit fails the step: garbled bytes are never
// taken into the settings.
std::optional<std::vector<std::uint8_t>> readBlock(App& app, MemoryBlock block, Check check) {
    app.link.PurgeInput();
    app.link.Send(commandV17(block.address, block.length));
    const std::string reply = app.link.CollectReply(kPolls, dataReplyLength(block.length));
    const bool good = check == Check::Frame         ? checkFrame(reply, block.length)
                      : check == Check::LengthAndOK ? checkShortReply(reply, block.length, true)
                                                    : checkShortReply(reply, block.length, false);
    if (!good)
        return std::nullopt;
    return decodePayload(reply, block.length);
}

// A block taken after a fixed wait of 300 ms and one read.
std::string readBlockFixedWait(App& app, MemoryBlock block) {
    app.link.PurgeInput();
    app.link.Send(commandV17(block.address, block.length));
    const std::size_t expected = dataReplyLength(block.length);
    return app.link.WaitReply(
        300, [expected](const std::string& r) { return isCompleteFrame(r, expected); });
}

void showVoiceCall(TformMain& m, const VoiceCallBlock& voice) {
    m.EditECallMic.text = std::to_string(voice.microphone);
    m.EditECallSpk.text = std::to_string(voice.speaker);
    Edit* numbers[] = {&m.EditECallN1, &m.EditECallN2, &m.EditECallN3, &m.EditECallN4,
                       &m.EditECallN5};
    for (int i = 0; i < kOutgoingNumberCount; ++i)
        numbers[i]->text = cutAtFirstNul(voice.numbers[i]);
    m.CheckBoxECallEn.checked = voice.outgoingAllowed;
    enableOutgoingNumbers(m, voice.outgoingAllowed);
}

void showIncomingCall(TformMain& m, const IncomingCallBlock& incoming) {
    m.CheckBoxInCall.checked = incoming.incomingAllowed;
    enableIncomingNumbers(m, incoming.incomingAllowed);
    Edit* numbers[] = {&m.EditInCallN1, &m.EditInCallN2, &m.EditInCallN3};
    for (int i = 0; i < kAllowedNumberCount; ++i)
        numbers[i]->text = incoming.numbers[i];
}

void showAutoDetect(TformMain& m, const AutoDetectFlags& flags) {
    m.AutoSetPar1.checked = flags.sim1;
    applySimAutoDetect(m, 1);
    m.AutoSetPar2.checked = flags.sim2;
    applySimAutoDetect(m, 2);
}

class SettingsRead {
  public:
    explicit SettingsRead(App& app) : app_(app), m_(app.main) {}

    void run() {
        // A file's session stays until the modem's settings have been read whole.
        if (app_.source.file)
            fileView_ = std::make_unique<SourceView>(sourceView(app_));
        m_.btnReadNastUser.enabled = false;
        app_.image.firmwareVersion = 0;
        setRange(m_.BSprogressBarLine1, 0, kReadProgressSteps, 1);
        m_.StatusBar1.text = kTextReading;
        m_.focusRequest = "EditPassword";

        if (!openLinkOnCurrentPort(app_)) {
            app_.services.dialogs.messageBox(kTextCannotOpenPort, "Модем", MessageIcon::Error,
                                             MessageButtons::Ok);
            m_.btnReadNastUser.enabled = true;
            return;
        }
        // The pages are about to show the modem: a settings file's session ends here.
        endFileSession(app_);

        runFirstSteps();
        const double version = app_.image.firmwareVersion;
        if (version != 0 && version < 201) {
            shortEnding();
            return;
        }
        runFullSteps();
        fullEnding();
    }

  private:
    // Runs a step unless an earlier one failed. A port error fails the step after its own
    // box, so the read still ends in order.
    void step(bool advances, const std::function<bool()>& body) {
        if (failed_)
            return;
        bool good = false;
        try {
            good = body();
        } catch (const SerialError& error) {
            // With a file to go back to, the box waits until the file is back on view.
            if (fileView_)
                portError_ = error;
            else
                reportPortError(app_, error);
        }
        if (!good) {
            failed_ = true;
            return;
        }
        if (advances)
            stepIt(m_.BSprogressBarLine1);
    }

    bool imageBlock(std::optional<MemoryBlock> block, Check check) {
        if (!block)
            return false;
        const auto payload = readBlock(app_, *block, check);
        return payload && decodeImageBlock(*block, *payload, app_.image);
    }

    void runFirstSteps() {
        step(true, [&] {
            app_.link.PurgeInput();
            app_.link.Send(commandV22());
            const std::string reply = app_.link.CollectReply(kPolls, dataReplyLength(8));
            if (reply.size() != dataReplyLength(8))
                return false;
            return showIdentification(app_, reply.substr(2, 16));
        });
        step(true, [&] { return imageBlock(read_block::kModem, Check::Length); });
        step(true, [&] { return imageBlock(read_block::sim(1), Check::Length); });
        step(true, [&] { return imageBlock(read_block::sim(2), Check::Length); });
        for (int n = 1; n <= kUserCount; ++n) {
            step(true, [&] { return imageBlock(read_block::user(n), Check::Frame); });
        }
        step(true, [&] { return imageBlock(read_block::kDnsServers, Check::Frame); });
        step(true, [&] { return imageBlock(read_block::kGprsAuth, Check::Frame); });
        step(true, [&] {
            const auto payload = readBlock(app_, read_block::kImei, Check::Length);
            const auto imei = payload ? decodeImei(*payload) : std::nullopt;
            if (!imei)
                return false;
            m_.EditIMEI.text = "IMEI: " + *imei;
            return true;
        });
    }

    void runFullSteps() {
        runConnectionSteps();
        runObjectSteps();
        runCallAndModeSteps();
    }

    // The servers, the SIM cards' access points and detection, and the link test period.
    void runConnectionSteps() {
        step(true, [&] { return imageBlock(read_block::server(1), Check::Length); });
        step(true, [&] { return imageBlock(read_block::server(2), Check::Frame); });
        step(true, [&] { return imageBlock(read_block::simApn(1), Check::Frame); });
        step(true, [&] { return imageBlock(read_block::simApnLogin(1), Check::Frame); });
        step(true, [&] { return imageBlock(read_block::simApnPassword(1), Check::Frame); });
        step(true, [&] { return imageBlock(read_block::simApn(2), Check::Frame); });
        step(true, [&] { return imageBlock(read_block::simApnLogin(2), Check::Frame); });
        step(true, [&] { return imageBlock(read_block::simApnPassword(2), Check::Length); });
        step(true, [&] {
            const auto payload = readBlock(app_, read_block::kAutoDetect, Check::Length);
            const auto flags = payload ? decodeAutoDetect(*payload) : std::nullopt;
            if (!flags)
                return false;
            showAutoDetect(m_, *flags);
            return true;
        });
        step(true, [&] { return imageBlock(read_block::kLinkTestPeriod, Check::LengthAndOK); });
    }

    // The main object and the modem's serial number.
    void runObjectSteps() {
        step(true, [&] { return imageBlock(read_block::kObject, Check::LengthAndOK); });
        step(false, [&] {
            const auto payload = readBlock(app_, read_block::kSerialNumber, Check::LengthAndOK);
            const auto serial = payload ? decodeSerialNumber(*payload) : std::nullopt;
            if (!serial)
                return false;
            m_.EditSerialN.text = *serial;
            return true;
        });
    }

    void runCallAndModeSteps() {
        step(false, [&] {
            // A block without "OK" (a firmware may answer so) does not fail the read; its page
            // then shows nothing rather than what it held before, maybe another modem's values,
            // and is not written until a read fills it.
            const MemoryBlock block = read_block::kVoiceCall;
            const std::string reply = readBlockFixedWait(app_, block);
            const auto payload =
                containsOK(reply) ? decodePayload(reply, block.length) : std::nullopt;
            const auto voice = payload ? decodeVoiceCall(*payload) : std::nullopt;
            if (voice)
                showVoiceCall(m_, *voice);
            setVoiceCallUnread(app_, !voice);
            return true;
        });
        step(true, [&] {
            const MemoryBlock block = read_block::kIncomingCall;
            const std::string reply = readBlockFixedWait(app_, block);
            if (!containsOK(reply))
                return false;
            const auto payload = decodePayload(reply, block.length);
            const auto incoming = payload ? decodeIncomingCall(*payload) : std::nullopt;
            if (!incoming)
                return false;
            showIncomingCall(m_, *incoming);
            return true;
        });
        step(true, [&] {
            const MemoryBlock block = read_block::kOperatingMode;
            app_.link.PurgeInput();
            app_.link.Send(commandV17(block.address, block.length));
            const std::string reply = app_.link.CollectReply(kPolls, dataReplyLength(1));
            if (!checkShortReply(reply, 1, true))
                return false;
            // Only the low hexadecimal digit counts; anything but 1 is the end device.
            selectItem(app_.setup.ComBoxWorkAs, reply[3] == '1' ? 1 : 0);
            return true;
        });
    }

    void finish() {
        app_.link.Close();
        m_.btnReadNastUser.enabled = true;
    }

    // The read failed with a file open: the file is on view again, then the boxes say why.
    void backToFile() {
        finish();
        restoreSourceView(app_, *fileView_);
        m_.StatusBar1.text = kTextReadError;
        if (portError_)
            reportPortError(app_, *portError_);
        app_.services.dialogs.messageBox(kTextReadError, "Модем", MessageIcon::Error,
                                         MessageButtons::Ok);
    }

    void fullEnding() {
        if (failed_ && fileView_) {
            backToFile();
            return;
        }
        if (failed_) {
            app_.settingsRead = false;
            app_.login.loggedIn = false;
            m_.StatusBar1.text = kTextReadError;
            m_.StaticTextInformation.caption = kTextReadError;
            app_.services.dialogs.messageBox(kTextReadError, "Модем", MessageIcon::Error,
                                             MessageButtons::Ok);
        } else {
            app_.settingsRead = true;
            m_.StatusBar1.text = kTextSettingsRead;
            m_.StaticTextInformation.caption = kTextSettingsReadEnterPassword;
        }
        m_.BSprogressBarLine1.position = 0;
        finish();
        ShowModemSettings(app_);
        notePagesShown(app_);
        if (!failed_)
            archiveVisit(app_, archive::VisitOperation::Read);
    }

    void shortEnding() {
        m_.BSprogressBarLine1.position = m_.BSprogressBarLine1.max;
        app_.link.PumpDelay(600);
        app_.settingsRead = true;
        m_.StatusBar1.text = kTextSettingsRead;
        m_.StaticTextInformation.caption = kTextSettingsReadEnterPassword;
        m_.BSprogressBarLine1.position = 0;
        finish();
        archiveVisit(app_, archive::VisitOperation::Read);
    }

    App& app_;
    TformMain& m_;
    bool failed_ = false;
    std::unique_ptr<SourceView> fileView_;
    std::optional<SerialError> portError_;
};

}  // namespace

bool showIdentification(App& app, const std::string& payload) {
    const auto id = decodeIdentification(payload);
    if (!id)
        return false;
    TformMain& m = app.main;
    // The labels show what the modem sent up to its first NUL, as its texts do.
    m.StaticTextSN.caption = cutAtFirstNul("Серийный номер: " + id->serialNumber);
    m.StaticTextBootVer.caption = cutAtFirstNul("Версия загрузчика: " + id->bootLoaderVersion);
    m.StaticTextVer.caption = cutAtFirstNul("ПО контроллера: " + id->firmwareVersion);
    app.image.firmwareVersion = id->firmwareNumber;
    return true;
}

void btnReadNastUserClick(App& app) {
    const TModemLink::Lease lease(app.link);
    if (!lease.held())
        return;  // another operation holds the link
    SettingsRead(app).run();
}

}  // namespace zelar
