#include "app/pages/write_settings.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/core/exchange_runner.h"
#include "app/pages/collect_settings.h"
#include "app/pages/settings_file_store.h"
#include "app/pages/user_rules.h"
#include "app/pages/voice_object_rules.h"
#include "link/commands.h"
#include "settings/image_codec.h"
#include "settings/screen_blocks.h"
#include "settings/serial_number.h"
#include "settings/value_tables.h"
#include "text/cp1251.h"
#include "text/hex.h"

namespace zelar {

namespace {

constexpr const char* kTextWritten = "Настройки записаны";
constexpr const char* kTextNoLink = "Нет связи с модемом";
constexpr const char* kTextNothingToWrite = "Нет настроек для записи";
constexpr const char* kTextCannotOpen = "Не могу открыть порт";
// The GPRS section's own spelling.
constexpr const char* kTextCannotOpenGprs = "Не мгу открыть порт";
constexpr const char* kTextTooLong = "Текст не помещается в поле настроек модема";
constexpr const char* kTextNotInFile = "Эти настройки в файле настроек не хранятся";

std::string line(const RegionWrite& write) {
    return commandV16(write.address, write.data);
}

// The V16 line of an image region; nothing when a text does not fit its field.
std::optional<std::string> imageLine(SettingsRegion region, int k, const TSettingsImage& image) {
    const auto write = ComposeRegionWrite(region, k, image);
    if (!write)
        return std::nullopt;
    return line(*write);
}

// One press of "Записать".
class SettingsWrite {
  public:
    explicit SettingsWrite(App& app)
        : app_(app), m_(app.main), run_(app, m_.ButtonWriteNastr, m_.BSprogressBarLine1) {}

    // True when the page was written; false after a refusal, a failed check or a failed exchange.
    bool run() {
        write();
        if (written_ && !toFile())
            archiveVisit(app_, archive::VisitOperation::PageWritten, pageWritten());
        return written_;
    }

  private:
    void write() {
        if (!run_.held())
            return;
        if (!app_.login.loggedIn) {
            error(kTextEnterPassword);
            return;
        }
        const int node = m_.TreeView1.selected;
        if (!roleMayWriteNode(node))
            error(kTextNothingToWrite);  // also the users' node, diagnostics, nothing selected
        else if (node >= 1 && node <= kUserCount)
            writeUser(node);
        else if (node == kNodeModem)
            writeModem();
        else
            writeVoiceCall();
    }

    static constexpr const char* kTextEnterPassword = "Введите пароль";

    // The tree node written, as the tree names it.
    std::string pageWritten() const {
        const int node = m_.TreeView1.selected;
        if (node < 0 || node >= static_cast<int>(m_.TreeView1.nodes.size()))
            return {};
        return m_.TreeView1.nodes[static_cast<std::size_t>(node)].text;
    }

    // The rights of a write come from the login, not from the page on view: a new login leaves
    // the page of the previous role on view until another node is chosen. A user node has
    // finer rights of its own (mayWriteUser).
    bool roleMayWriteNode(int node) const {
        if (node >= 1 && node <= kUserCount)
            return true;
        return roleMayOpenSettingsNode(app_.login.role, node);
    }

    void message(const char* text, MessageIcon icon, const char* caption = "Модем") {
        app_.services.dialogs.messageBox(text, caption, icon, MessageButtons::Ok);
    }
    void error(const char* text) { message(text, MessageIcon::Error); }
    void warning(const char* text) { message(text, MessageIcon::Warning); }

    // A page's values become the settings image only once the modem took every line of them:
    // a failed write (the modem may then hold some of its lines) leaves the image as it was,
    // so a settings file saved afterwards never holds values the write did not confirm.
    void commitIf(bool written, TSettingsImage& next) {
        if (written)
            app_.image = std::move(next);
    }

    // Ends a section that exchanged commands: port closed, result shown, bar back at 0. A file
    // has no link to lose: a check's own message is all a refusal says.
    void endSection(bool good) {
        run_.close();
        written_ = good;
        if (good)
            message(kTextWritten, MessageIcon::None);
        else if (!toFile())
            run_.reportFailure(kTextNoLink);
        m_.BSprogressBarLine1.position = 0;
    }

    bool toFile() const { return app_.source.file; }

    // The page collected into `next` goes into the open settings file instead of a modem. The
    // file must stay one that a restore takes: a page that would leave no "Мастер" is refused.
    void storeFile(TSettingsImage& next) {
        const auto master = [](const UserRecord& u) { return u.status == kRoleMaster; };
        const auto& before = app_.image.users;
        if (std::any_of(before.begin(), before.end(), master) &&
            std::none_of(next.users.begin(), next.users.end(), master)) {
            warning(kTextOneMasterMustRemain);
            return;
        }
        written_ = storeIntoFile(app_, next) == FileStore::Stored;
        if (written_)
            app_.image = std::move(next);
        m_.BSprogressBarLine1.position = 0;
    }

    // Sends each line as the SIM section does; an empty line stands for a region left to the
    // modem, which moves the bar all the same.
    bool sendAll(const std::vector<std::string>& lines, bool purge) {
        for (const std::string& l : lines) {
            if (!l.empty() && !run_.sendWaitOK(l, purge))
                return false;
            run_.advance();
        }
        return true;
    }

    // --- users ---

    // Whether the login may write user n; shows the refusal when not.
    bool mayWriteUser(int n) {
        const int stored = app_.image.users[static_cast<std::size_t>(n - 1)].status;
        switch (app_.login.role) {
            case kRoleMaster:
                return true;
            case kRoleOwner: {
                if (stored == kRoleOwner) {
                    error("Статус Хозяин не имеет прав для редактирования Хозяина");
                    return false;
                }
                if (stored != kRoleGuard) {
                    error("Статус Хозяин не имеет прав для редактирования Мастера");
                    return false;
                }
                // An owner must not make anyone an owner or a master.
                const int wanted = m_.cbUserStatus.itemIndex;
                if (wanted == kRoleOwner) {
                    error("Статус Хозяин не имеет прав для редактирования Хозяина");
                    return false;
                }
                if (wanted == kRoleMaster) {
                    error("Статус Хозяин не имеет прав для редактирования Мастера");
                    return false;
                }
                return true;
            }
            case kRoleGuard:
                error("Статус Охранник не имеет прав для редактирования");
                return false;
            default:
                error(kTextNothingToWrite);
                return false;
        }
    }

    void writeUser(int n) {
        if (m_.activePage != Page::TabSheet1) {
            error(kTextNothingToWrite);
            return;
        }
        if (!mayWriteUser(n))
            return;
        run_.setProgress(100, 50);
        TSettingsImage next = app_.image;
        if (!CollectUserSettings(app_, n, next)) {
            endSection(false);
            return;
        }
        const auto command = imageLine(SettingsRegion::UserRecord, n, next);
        if (!command) {
            error(kTextTooLong);
            return;
        }
        if (toFile()) {
            storeFile(next);
            return;
        }
        bool good = run_.open();
        if (good) {
            run_.advance();
            good = run_.sendWaitOK(*command, false);
            if (good)
                run_.advance();
        }
        commitIf(good, next);
        endSection(good);
    }

    // --- SIM, GPRS, object parameters ---

    void writeModem() {
        run_.setProgress(140, 10);
        const Page page = m_.activePage;
        if (page != Page::TabSheet2 && page != Page::TabSheet5 && page != Page::TabSheetTests) {
            error(kTextNothingToWrite);
            return;
        }
        if (toFile() && page == Page::TabSheetTests) {
            error(kTextNotInFile);
            return;
        }
        if (!toFile() && !run_.open()) {
            error(kTextCannotOpen);
            return;
        }
        if (page == Page::TabSheet2)
            writeSims();
        else if (page == Page::TabSheet5)
            writeGprs();
        else
            writeObject();
    }

    // The SIM section's lines in their order; nothing when a text does not fit its field.
    std::optional<std::vector<std::string>> simLines(const TSettingsImage& image) {
        std::vector<std::optional<std::string>> lines;
        lines.push_back(imageLine(SettingsRegion::ModemFlags, 1, image));
        const bool autoDetect[] = {m_.AutoSetPar1.checked, m_.AutoSetPar2.checked};
        for (int k = 1; k <= kSimCount; ++k) {
            lines.push_back(imageLine(SettingsRegion::SimRecord, k, image));
            lines.push_back(imageLine(SettingsRegion::SimThreshold, k, image));
            for (SettingsRegion region :
                 {SettingsRegion::SimUssd, SettingsRegion::SimApn, SettingsRegion::SimApnLogin,
                  SettingsRegion::SimApnPassword}) {
                lines.push_back(autoDetect[k - 1] ? std::string() : imageLine(region, k, image));
            }
        }
        lines.push_back(line(ComposeRegionWrite(AutoDetectFlags{autoDetect[0], autoDetect[1]})));
        std::vector<std::string> out;
        for (auto& l : lines) {
            if (!l)
                return std::nullopt;
            out.push_back(std::move(*l));
        }
        return out;
    }

    void writeSims() {
        TSettingsImage next = app_.image;
        if (!CollectSimSettings(app_, next)) {
            endSection(false);
            return;
        }
        const auto lines = simLines(next);
        if (!lines) {
            error(kTextTooLong);
            return;
        }
        // A SIM under automatic detection keeps the modem's own access settings: they were not
        // written, so the image keeps what it held.
        const bool autoDetect[] = {m_.AutoSetPar1.checked, m_.AutoSetPar2.checked};
        for (int k = 0; k < kSimCount; ++k) {
            if (!autoDetect[k])
                continue;
            const auto i = static_cast<std::size_t>(k);
            const SimRecord& held = app_.image.sims[i];
            SimRecord& sim = next.sims[i];
            sim.ussd = held.ussd;
            sim.apnName = held.apnName;
            sim.apnLogin = held.apnLogin;
            sim.apnPassword = held.apnPassword;
        }
        if (toFile()) {
            storeFile(next);
            return;
        }
        const bool good = sendAll(*lines, true);
        commitIf(good, next);
        endSection(good);
    }

    bool periodIsAnItem() const {
        const ComboBox& box = m_.ComBoxTestGPRS;
        const int count = static_cast<int>(box.items.size());
        return box.itemIndex >= 0 && box.itemIndex < count &&
               box.items[static_cast<std::size_t>(box.itemIndex)] == box.text;
    }

    void writeGprs() {
        run_.setProgress(60, 10);
        if (!periodIsAnItem()) {
            message("Выберете корректное значение периода тестов GPRS-канала", MessageIcon::Error,
                    "Запись настроек");
            return;
        }
        if (!toFile() && !run_.open()) {
            error(kTextCannotOpenGprs);
            return;
        }
        // The GPRS switch lives in the modem flags, collected with the SIM pages: a section
        // that could not write it has not written the GPRS settings. The SIM pages are only
        // checked here; of them the modem flags alone are written (and collected again with
        // the GPRS page).
        TSettingsImage simsChecked = app_.image;
        if (!CollectSimSettings(app_, simsChecked)) {
            endSection(false);
            return;
        }
        const auto flags = imageLine(SettingsRegion::ModemFlags, 1, simsChecked);
        if (!flags) {
            error(kTextTooLong);
            return;
        }
        TSettingsImage next = app_.image;
        if ((!toFile() && !run_.sendWaitOK(*flags, false)) || !CollectGprsSettings(app_, next)) {
            endSection(false);
            return;
        }
        run_.advance();
        const TSettingsImage& image = next;
        std::vector<std::string> lines;
        for (const auto& l : {imageLine(SettingsRegion::DnsServers, 1, image),
                              imageLine(SettingsRegion::GprsAuth, 1, image),
                              imageLine(SettingsRegion::ServerRecord, 1, image),
                              imageLine(SettingsRegion::ServerRecord, 2, image),
                              imageLine(SettingsRegion::LinkTestPeriod, 1, image)}) {
            if (!l) {
                error(kTextTooLong);
                return;
            }
            lines.push_back(*l);
        }
        if (toFile()) {
            storeFile(next);
            return;
        }
        const bool good = sendAll(lines, false);
        commitIf(good, next);
        endSection(good);
    }

    struct ObjectValues {
        int system;
        int object;
        std::uint8_t protocol;
        std::string serialLine;
    };

    // The object page's checks, each ending the press with its warning.
    std::optional<ObjectValues> checkObject() {
        const auto code = protocolCode(m_.ComBoxProt.itemIndex);
        if (!code) {
            warning("Выберите один из протоколов");
            return std::nullopt;
        }
        const auto object = parseWholeNumber(m_.EditMainObj.text);
        if (!object) {
            warning("Введите значение номера объекта");
            return std::nullopt;
        }
        const auto system = parseWholeNumber(m_.EditMainSys.text);
        if (!system) {
            warning("Введите значение номера системы");
            return std::nullopt;
        }
        if (m_.ComBoxProt.itemIndex == 2) {
            if (*object < 1 || *object > 2048) {
                warning("Значение номера объекта должно быть от 1 до 2048 для RPI+.");
                return std::nullopt;
            }
            if (*system < 1 || *system > 7) {
                warning("Значение номера системы должно быть от 1 до 7 для RPI+.");
                return std::nullopt;
            }
            if (utf8Length(m_.EditSerialN.text) < 8) {
                warning("Введите сериный номер объектового устройства");
                return std::nullopt;
            }
        } else {
            const bool objectBad = *object < 1 || *object > 255;
            const bool systemBad = *system < 1 || *system > 255;
            if (objectBad)
                warning("Значение номера объекта должно быть от 1 до 255 для протокола RRD/RPI");
            if (systemBad)
                warning("Значение номера системы должно быть от 1 до 255 для протокола RRD/RPI");
            if (objectBad || systemBad)
                return std::nullopt;
        }
        // The serial number must make four bytes; a malformed one is never written.
        const auto serial = composeSerialNumberWrite(m_.EditSerialN.text);
        if (!serial) {
            warning("Неверный серийный номер объектового устройства");
            return std::nullopt;
        }
        return ObjectValues{*system, *object, *code, line(*serial)};
    }

    void writeObject() {
        const auto values = checkObject();
        if (!values)
            return;
        run_.setProgress(60, 40);
        if (!run_.open()) {
            error(kTextCannotOpen);
            return;
        }
        bool good =
            run_.sendWaitOK(commandV40(values->system, values->object, values->protocol), false);
        if (good) {
            run_.advance();
            app_.link.PumpDelay(100);
            good = run_.sendPauseOK(values->serialLine, 1000);
        }
        if (good) {
            app_.image.mainSystem = static_cast<std::uint8_t>(values->system);
            app_.image.mainObjectMinus1 = static_cast<std::uint16_t>(values->object - 1);
            app_.image.protocol = values->protocol;
        }
        written_ = good;
        if (good)
            m_.StatusBar1.text = kTextWritten;
        else
            run_.reportFailure(kTextNoLink);
        m_.BSprogressBarLine1.position = 0;
        run_.close();
    }

    // --- voice call ---

    // An audio level as its byte. The field's exit check only warns, so a level out of its
    // range is refused here with that check's message.
    std::optional<std::uint8_t> level(const Edit& field, AudioField which) {
        if (const char* problem = audioLevelProblem(which, field.text)) {
            warning(problem);
            return std::nullopt;
        }
        const auto value = parseWholeNumber(field.text);
        if (!value)
            return std::nullopt;  // the check lets only digits through
        return static_cast<std::uint8_t>(*value);
    }

    void writeVoiceCall() {
        if (m_.activePage != Page::TabSheetECall) {
            error(kTextNothingToWrite);
            return;
        }
        if (toFile()) {
            error(kTextNotInFile);
            return;
        }
        if (app_.voiceCallUnread) {
            error(kTextVoiceCallUnread);
            return;
        }
        run_.setProgress(60, 30);
        VoiceCallBlock voice;
        const auto mic = level(m_.EditECallMic, AudioField::Microphone);
        if (!mic)
            return;
        const auto speaker = level(m_.EditECallSpk, AudioField::Speaker);
        if (!speaker)
            return;
        voice.microphone = *mic;
        voice.speaker = *speaker;
        const Edit* out[] = {&m_.EditECallN1, &m_.EditECallN2, &m_.EditECallN3, &m_.EditECallN4,
                             &m_.EditECallN5};
        for (int i = 0; i < kOutgoingNumberCount; ++i)
            voice.numbers[static_cast<std::size_t>(i)] = out[i]->text;
        voice.outgoingAllowed = m_.CheckBoxECallEn.checked;
        IncomingCallBlock incoming;
        incoming.incomingAllowed = m_.CheckBoxInCall.checked;
        const Edit* in[] = {&m_.EditInCallN1, &m_.EditInCallN2, &m_.EditInCallN3};
        for (int i = 0; i < kAllowedNumberCount; ++i)
            incoming.numbers[static_cast<std::size_t>(i)] = in[i]->text;
        const auto voiceWrite = ComposeRegionWrite(voice);
        const auto incomingWrite = ComposeRegionWrite(incoming);
        if (!voiceWrite || !incomingWrite) {
            error(kTextTooLong);
            return;
        }

        if (!run_.open()) {
            error(kTextCannotOpen);
            return;
        }
        bool good = run_.sendPauseOK(line(*voiceWrite), 700);
        if (good) {
            run_.advance();
            good = run_.sendPauseOK(line(*incomingWrite), 700);
        }
        written_ = good;
        if (good) {
            run_.advance();
            app_.link.PumpDelay(100);
            m_.StatusBar1.text = kTextWritten;
        } else {
            run_.reportFailure(kTextNoLink);
        }
        m_.BSprogressBarLine1.position = 0;
        run_.close();
    }

    App& app_;
    TformMain& m_;
    ExchangeRunner run_;
    bool written_ = false;
};

}  // namespace

bool ButtonWriteNastrClick(App& app) {
    return SettingsWrite(app).run();
}

}  // namespace zelar
