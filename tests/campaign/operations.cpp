#include "campaign/operations.h"

#include "campaign/oracle.h"

#include <algorithm>
#include <fstream>
#include <numeric>

#include "app/control_events.h"
#include "app/core/handler_guard.h"
#include "app/pages/voice_object_rules.h"
#include "app/service/firmware_update.h"
#include "app/shell/login.h"
#include "app/shell/navigation.h"
#include "app/shell/read_settings.h"
#include "files/dictionary_file.h"
#include "files/file_io.h"
#include "forms/control_registry.h"
#include "sim/modem_store.h"

namespace zelar::campaign {

namespace {

// A control's event from the one table, run as the window runs it.
bool fire(World& w, FormId form, const char* name, ControlHandler ControlEvents::*event) {
    bool good = false;
    runHandler(w.app, [&] { good = (findControlEvents(form, name)->*event)(w.app); });
    return good;
}
bool click(World& w, FormId form, const char* name) {
    return fire(w, form, name, &ControlEvents::click);
}

void show(World& w, int node, std::optional<Page> tab = std::nullopt) {
    w.app.main.TreeView1.selected = node;
    TreeView1Changing(w.app, node);
    if (tab)
        w.app.main.activePage = *tab;
}

std::string word(Rng& rng, int maxLength) {
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789.";
    std::string out;
    const int n = rng.between(1, maxLength);
    for (int i = 0; i < n; ++i)
        out += kLetters[static_cast<std::size_t>(rng.below(int(kLetters.size())))];
    return out;
}
std::string number(Rng& rng, int lo, int hi) {
    return std::to_string(rng.between(lo, hi));
}
std::string phone(Rng& rng) {
    return "+79" + rng.digits(9);
}
std::string ip(Rng& rng) {
    return number(rng, 1, 223) + "." + number(rng, 0, 255) + "." + number(rng, 0, 255) + "." +
           number(rng, 1, 254);
}

// Every value the pages show: what a successful read must leave the same as the twin's. A
// control the read left without a value (a voice call block it could not read) is marked so.
std::string pagesText(World& w) {
    TformMain& m = w.app.main;
    std::string out;
    for (auto page : {userPageControls(m), simPageControls(m), gprsPageControls(m),
                      objectPageControls(m), voiceCallPageControls(m)}) {
        for (const auto& c : page) {
            out += std::string(c.name) + "=" +
                   (isUnreadValue(w.app, c.control) ? std::string(kNotRead)
                                                    : controlValue(c.control)) +
                   "\n";
        }
    }
    return out;
}

std::string fileText(const std::string& path) {
    return readFileUpTo(path, 1 << 22).value_or("(no file)");
}
void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

OpRun writePage(World& w) {
    return {click(w, FormId::Main, "ButtonWriteNastr"), {}};
}

// "Найти модем": the port's label names the modem only when its identification came whole.
OpRun findModemPort(World& w, Rng&, const OpFiles&) {
    const bool found = click(w, FormId::Main, "btnFindModem");
    const ComboBox& list = w.app.main.ComboBox1;
    std::string shown = list.text;
    for (const std::string& label : list.itemLabels)
        shown += "\n" + label;
    return {found, shown};
}

OpRun readSettings(World& w, Rng&, const OpFiles&) {
    const bool read = fire(w, FormId::Main, "btnReadNastUser", &ControlEvents::click);
    return {read, pagesText(w)};
}

// Another role now and then; the modem's own password, or now and then a wrong one.
OpRun logIn(World& w, Rng& rng, const OpFiles&) {
    const int user = rng.between(1, 6);
    std::string password = w.app.image.users[std::size_t(user - 1)].password;
    if (rng.chance(10))
        password = rng.digits(4);
    selectItem(w.app.main.cbUser, user - 1);
    w.app.main.EditPassword.text = password;
    const bool in = click(w, FormId::Main, "ButtonApplyPassword");
    return {in, std::to_string(w.app.login.role) + " " + std::to_string(w.app.login.user)};
}

OpRun writeUser(World& w, Rng& rng, const OpFiles&) {
    TformMain& m = w.app.main;
    show(w, rng.between(1, 6));
    m.EditUserTel.text = phone(rng);
    m.EditUserPassword.text = rng.digits(4);
    m.EditUserTtestmessH.text = number(rng, 0, 99);
    m.EditSeekObject.text = number(rng, 0, 9999);
    for (CheckBox* c : {&m.CheckBoxMessAlarmON, &m.CheckBoxMessFireON, &m.CheckBoxMessErrON,
                        &m.CheckBoxMessPowerON, &m.CheckBoxMessGuardON, &m.CheckBoxMessInfOn,
                        &m.cbUserPriority, &m.cbUserDialON, &m.cbUserTestMessON})
        c->checked = rng.chance(50);
    return writePage(w);
}

OpRun writeSim(World& w, Rng& rng, const OpFiles&) {
    show(w, kNodeModem, Page::TabSheet2);
    for (int k = 1; k <= 2; ++k) {
        SimControls c = simControls(w.app.main, k);
        c.pinCode.text = rng.digits(4);
        c.ussd.text = number(rng, 100, 999);
        c.threshold.text = number(rng, 0, 199);
        c.apn.text = word(rng, 24);
        c.name.text = word(rng, 12);
        c.pass.text = word(rng, 12);
    }
    return writePage(w);
}

OpRun writeGprs(World& w, Rng& rng, const OpFiles&) {
    TformMain& m = w.app.main;
    show(w, kNodeModem, Page::TabSheet5);
    m.EditGPRSIP1.text = ip(rng);
    m.EditGPRSIP2.text = ip(rng);
    m.EditGPRSWWW1.text = word(rng, 24);
    m.EditGPRSWWW2.text = word(rng, 24);
    m.EditGPRSPort1.text = number(rng, 1, 9999);
    m.EditGPRSPort2.text = number(rng, 1, 9999);
    m.EditGPRSLogin.text = word(rng, 15);
    m.EditGPRSPass.text = word(rng, 8);
    m.EditGPRSDNS1.text = ip(rng);
    m.EditGPRSDNS2.text = ip(rng);
    selectItem(m.ComBoxTestGPRS, rng.between(0, 8));
    return writePage(w);
}

OpRun writeObject(World& w, Rng& rng, const OpFiles&) {
    TformMain& m = w.app.main;
    show(w, kNodeModem, Page::TabSheetTests);
    const int protocol = rng.between(0, 2);
    selectItem(m.ComBoxProt, protocol);
    const bool rpiPlus = protocol == 2;
    m.EditMainObj.text = number(rng, 1, rpiPlus ? 2048 : 255);
    m.EditMainSys.text = number(rng, 1, rpiPlus ? 7 : 255);
    return writePage(w);
}

OpRun writeVoice(World& w, Rng& rng, const OpFiles&) {
    TformMain& m = w.app.main;
    show(w, kNodeVoiceCall);
    m.CheckBoxECallEn.checked = rng.chance(50);
    m.CheckBoxInCall.checked = rng.chance(50);
    for (Edit* e : {&m.EditECallN1, &m.EditECallN2, &m.EditECallN3, &m.EditECallN4, &m.EditECallN5,
                    &m.EditInCallN1, &m.EditInCallN2, &m.EditInCallN3})
        e->text = rng.chance(80) ? phone(rng) : "";
    m.EditECallMic.text = number(rng, 1, 15);
    m.EditECallSpk.text = number(rng, 1, 100);
    return writePage(w);
}

OpRun saveFile(World& w, Rng&, const OpFiles& files) {
    const std::string path = files.path("saved.md2");
    w.dialogs.files.push_back(path);
    const bool ok = click(w, FormId::Setup, "BtnSavePar");
    return {ok, fileText(path)};
}

OpRun restoreFile(World& w, Rng& rng, const OpFiles& files) {
    // Either the installed modem's settings, or what this modem holds now.
    std::string path = files.restoreFrom;
    if (rng.chance(30)) {
        path = files.path("before.md2");
        w.dialogs.files.push_back(path);
        click(w, FormId::Setup, "BtnSavePar");
        w.dialogs.shown.clear();  // the save is the user's preparation, not the operation
    }
    w.dialogs.files.push_back(path);
    return {click(w, FormId::Setup, "BtnLoadPar"), {}};
}

// Settings prepared without a modem: the installed modem's file opened, one user's phone changed
// and stored into the file, then the file written into the modem.
OpRun editFileAndWrite(World& w, Rng& rng, const OpFiles& files) {
    const std::string path = files.path("edited.md2");
    writeFile(path, fileText(files.restoreFrom));
    w.dialogs.files.push_back(path);
    if (!click(w, FormId::Main, "MenuOpenFile") ||
        !logInAs(w.app, 1, w.app.image.users[0].password))
        return {false, {}};
    const int user = rng.between(1, 6);
    show(w, user);
    w.app.main.EditUserTel.text = phone(rng);
    if (!writePage(w).ok)
        return {false, {}};
    w.dialogs.shown.clear();  // the preparation touches no modem
    return {click(w, FormId::Main, "MenuWriteFile"), fileText(path)};
}

OpRun factoryDefaults(World& w, Rng&, const OpFiles&) {
    return {click(w, FormId::Setup, "ButtonSetDefault"), {}};
}

OpRun operatingMode(World& w, Rng& rng, const OpFiles&) {
    selectItem(w.app.setup.ComBoxWorkAs, rng.between(0, 1));
    return {fire(w, FormId::Setup, "ComBoxWorkAs", &ControlEvents::change), {}};
}

std::string dictionaryText(Rng& rng) {
    auto text = [&](int limit) {
        std::string t = word(rng, limit);
        if (rng.chance(30))
            t[0] = static_cast<char>(0xC0 + rng.below(64));  // a Cyrillic letter in Windows-1251
        return t;
    };
    if (rng.chance(60)) {
        std::string file;
        for (const std::string& line : protocol0HeadLines())
            file += line + "\r\n";
        for (int c = 0; c < kProtocol0Codes; ++c)
            file += protocol0RecordLine(c, text(31), static_cast<std::uint8_t>(rng.below(7)));
        return file;
    }
    std::string file = "Protocol=1\t\t\t\r\n\r\nDEC\tHEX\ttext\tgroup\r\n";
    std::vector<int> codes(kRpiPlusCodes);
    std::iota(codes.begin(), codes.end(), 0);
    const int count = rng.between(0, 60);
    for (int i = 0; i < count; ++i) {
        std::swap(codes[std::size_t(i)], codes[std::size_t(rng.between(i, kRpiPlusCodes - 1))]);
        const int c = codes[std::size_t(i)];
        char hex[8];
        std::snprintf(hex, sizeof hex, "%x", c);
        file += ":\t" + std::to_string(c) + "\t" + hex + "\t" + text(30) + "\t" +
                std::to_string(rng.below(10)) + "\r\n";
    }
    return file;
}

OpRun uploadDictionary(World& w, Rng& rng, const OpFiles& files) {
    const std::string path = files.path("dictionary-in.txt");
    writeFile(path, dictionaryText(rng));
    w.dialogs.files.push_back(path);
    return {click(w, FormId::Setup, "btnWriteDict"), {}};
}

OpRun downloadDictionary(World& w, Rng&, const OpFiles& files) {
    const std::string path = files.path("dictionary-out.txt");
    std::remove(path.c_str());
    w.dialogs.files.push_back(path);
    const bool ok = click(w, FormId::Setup, "BtnReadDict");
    return {ok, fileText(path)};
}

OpRun programFirmware(World& w, Rng& rng, const OpFiles& files) {
    std::string image(std::size_t(rng.between(1, int(sim::kProgramPages))) * sim::kPageSize -
                          std::size_t(rng.below(200)),
                      '\0');
    for (char& c : image)
        c = static_cast<char>(rng.below(256));
    // Mostly a version mark; now and then an old version, whose next update needs a power cycle.
    constexpr const char* kVersions[] = {"0205", "0206", "0210", "0203"};
    if (rng.chance(85) && image.size() > 0x110)
        image.replace(0x100, 12, std::string("     Ver") + kVersions[rng.below(4)]);
    const std::string path = files.path("firmware.bin");
    writeFile(path, image);
    w.dialogs.files.push_back(path);
    click(w, FormId::Setup, "BtnOpen");
    click(w, FormId::Setup, "SpBtnFlashMCU");
    if (waitingForBootLoader(w.app) && w.app.setup.labInfo.caption == "Перезапустите модем...")
        w.cable.powerCycle();
    w.settleFirmware();
    if (firmwareBusy(w.app)) {
        // Still waiting for a boot loader that will not announce itself: the user gives up.
        click(w, FormId::Setup, "BtnCancel");
        w.dialogs.declined = true;
    }
    return {w.app.firmware.lastResult == FirmwareState::Result::Succeeded, {}};
}

constexpr Operation kOperations[] = {
    {"read", 8, false, readSettings},
    {"find-modem", 3, false, findModemPort},
    {"login", 3, true, logIn},
    {"write-user", 10, true, writeUser},
    {"write-sim", 8, true, writeSim},
    {"write-gprs", 8, true, writeGprs},
    {"write-object", 8, true, writeObject},
    {"write-voice", 8, true, writeVoice},
    {"save-file", 4, true, saveFile},
    {"restore-file", 6, true, restoreFile},
    {"edit-file-and-write", 4, true, editFileAndWrite},
    {"defaults", 5, true, factoryDefaults},
    {"operating-mode", 5, true, operatingMode},
    {"dictionary-upload", 6, true, uploadDictionary},
    {"dictionary-download", 4, true, downloadDictionary},
    // The slowest: a whole program image crosses the line at 57600 baud.
    {"firmware", 2, true, programFirmware},
};

}  // namespace

std::span<const Operation> operations() {
    return kOperations;
}

const Operation& pickOperation(Rng& rng) {
    int total = 0;
    for (const Operation& op : kOperations)
        total += op.weight;
    int roll = rng.below(total);
    for (const Operation& op : kOperations) {
        if ((roll -= op.weight) < 0)
            return op;
    }
    return kOperations[0];
}

bool readAndLogInAsMaster(World& w) {
    btnReadNastUserClick(w.app);
    if (!w.app.settingsRead)
        return false;
    selectItem(w.app.main.cbUser, 0);
    w.app.main.EditPassword.text = w.app.image.users[0].password;
    ButtonApplyPasswordClick(w.app);
    return w.app.login.loggedIn;
}

}  // namespace zelar::campaign
