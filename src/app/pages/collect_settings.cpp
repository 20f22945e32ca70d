#include "app/pages/collect_settings.h"

#include <string>

#include "settings/flag_bits.h"
#include "settings/value_tables.h"
#include "text/cp1251.h"
#include "text/hex.h"

namespace zelar {

namespace {

bool fail(App& app, const char* text, const char* caption) {
    app.services.dialogs.messageBox(text, caption, MessageIcon::Error, MessageButtons::Ok);
    return false;
}

bool isWholeNumber(const std::string& text) {
    return parseWholeNumber(text).has_value();
}

std::uint8_t modemFlags(const TformMain& m) {
    std::uint8_t flags = 0;
    if (m.CheckModemFlagGPRS.checked)
        flags |= modem_flag::kGprs;
    if (!m.CheckModemFlagGPRS.checked || !m.CheckModemFlagGPRSCont.checked)
        flags |= modem_flag::kNotPermanent;
    return flags;
}

void storeModemFlags(const TformMain& m, TSettingsImage& image) {
    image.modemFlags = modemFlags(m);
    // A stored type the list has no entry for selects nothing; it is kept as it was.
    if (m.ComboBoxTypeModem.itemIndex >= 0)
        image.modemType = static_cast<std::uint8_t>(m.ComboBoxTypeModem.itemIndex);
}

struct SimMessages {
    const char* pin;
    const char* ussd;
    const char* thresholdRange;
    const char* thresholdNumber;
    int thresholdMax;
};

constexpr SimMessages kSimMessages[] = {
    {"SIM1: PIN код должен состоять из 4х цифр", "SIM1: Номер USSD должен состоять из 3х цифр",
     "SIM1: Порог денежных средств должен быть меньше 250 руб",
     "SIM1: Порог денежных средств должен быть числом", 250},
    {"SIM2: PIN код должен состоять из 4х цифр", "SIM2: Номер USSD должен состоять из 3х цифр",
     "SIM2: Порог денежных средств должен быть меньше 200 руб",
     "SIM2: Порог денежных средств должен быть числом", 200},
};

bool collectSim(App& app, int k, TSettingsImage& image) {
    SimControls c = simControls(app.main, k);
    SimRecord& sim = image.sims[static_cast<std::size_t>(k - 1)];
    const SimMessages& text = kSimMessages[k - 1];

    sim.flags = 0;
    if (c.pin.checked)
        sim.flags |= sim_flag::kPin;
    if (c.balance.checked)
        sim.flags |= sim_flag::kBalance;
    if (c.installed.checked)
        sim.flags |= sim_flag::kInstalled;

    if (utf8Length(c.pinCode.text) != 4 || !isWholeNumber(c.pinCode.text))
        return fail(app, text.pin, "Ошибка");
    sim.pin = c.pinCode.text;
    c.puk.text = std::string(kDefaultPuk);
    sim.puk = c.puk.text;
    sim.phone = "0000";
    if (utf8Length(c.ussd.text) != 3 || !isWholeNumber(c.ussd.text))
        return fail(app, text.ussd, "Ошибка");
    sim.ussd = c.ussd.text;
    const auto threshold = parseWholeNumber(c.threshold.text);
    if (!threshold)
        return fail(app, text.thresholdNumber, "Ошибка");
    if (*threshold < 0 || *threshold > text.thresholdMax)
        return fail(app, text.thresholdRange, "Ошибка");
    sim.balanceThreshold = static_cast<std::uint8_t>(*threshold);
    sim.apnName = c.apn.text;
    sim.apnLogin = c.name.text;
    sim.apnPassword = c.pass.text;
    return true;
}

std::uint8_t userOptions(const TformMain& m) {
    std::uint8_t options = 0;
    if (m.cbUserON.checked && m.RBtnSMSalways.checked)
        options |= user_option::kSmsAlways;
    else if (m.cbUserON.checked && m.RBtnSMSifNoGPRS.checked)
        options |= user_option::kSmsIfNoGprs;
    if (m.cbUserObjectON.itemIndex == 1)
        options |= user_option::kObjectNumber;
    if (m.cbUserPriority.checked)
        options |= user_option::kPriority;
    if (m.cbUserDialON.checked)
        options |= user_option::kDial;
    if (m.cbUserTestMessON.checked)
        options |= user_option::kTestMessage;
    if (m.cbUserSystemON.itemIndex == 1)
        options |= user_option::kSystemNumber;
    return options;
}

// The classes of message the user gets, one bit each.
std::uint16_t messageClasses(const TformMain& m) {
    const CheckBox* classes[] = {&m.CheckBoxMessAlarmON, &m.CheckBoxMessFireON,
                                 &m.CheckBoxMessErrON,   &m.CheckBoxMessPowerON,
                                 &m.CheckBoxMessGuardON, &m.CheckBoxMessInfOn};
    std::uint16_t bits = 0;
    for (int i = 0; i < 6; ++i) {
        if (classes[i]->checked)
            bits |= static_cast<std::uint16_t>(1U << i);
    }
    return bits;
}

// A text of at most `limit` characters.
bool fits(const std::string& text, std::size_t limit) {
    return utf8Length(text) <= limit;
}

}  // namespace

bool CollectUserSettings(App& app, int n, TSettingsImage& image) {
    TformMain& m = app.main;
    UserRecord& user = image.users[static_cast<std::size_t>(n - 1)];

    if (utf8Length(m.EditUserTel.text) < 2)
        return fail(app, "Номер телефона должен содержать не менее 2 символов", "Модем");
    user.phone = m.EditUserTel.text;
    // A list that selects nothing (a stored value it has no entry for) keeps the stored byte.
    if (m.cbUserStatus.itemIndex >= 0)
        user.status = static_cast<std::uint8_t>(m.cbUserStatus.itemIndex);
    if (const auto type = messageTypeCode(m.cbUserTypeMess.itemIndex))
        user.messageType = *type;

    const std::string& password = m.EditUserPassword.text;
    if (utf8Length(password) != 4 || password.find(' ') != std::string::npos ||
        !isWholeNumber(password)) {
        return fail(app, "Пароль должен быть 4 цифры", "Модем");
    }
    user.password = password;

    user.options = userOptions(m);
    user.messageClasses = messageClasses(m);

    // 0 is accepted, as the message says: a stored 0 must stay writable.
    const auto hours = parseWholeNumber(m.EditUserTtestmessH.text);
    if (!hours || *hours < 0 || *hours > 99)
        return fail(app, "Период тестового сообщения должен быть от 0ч до 99ч", "Модем");
    user.testPeriodHours = static_cast<std::uint8_t>(*hours);

    const auto offset = parseWholeNumber(m.EditSeekObject.text);
    if (!offset)
        return fail(app, "Смещение номера объекта должно быть числом", "Модем");
    if (*offset < 0 || *offset > 9999)
        return fail(app, "Смещение номера объекта должно быть числом от 0 до 9999", "Модем");
    user.objectOffset = static_cast<std::uint16_t>(*offset);
    return true;
}

bool CollectSimSettings(App& app, TSettingsImage& image) {
    storeModemFlags(app.main, image);
    return collectSim(app, 1, image) && collectSim(app, 2, image);
}

bool CollectGprsSettings(App& app, TSettingsImage& image) {
    TformMain& m = app.main;
    storeModemFlags(m, image);

    if (!fits(m.EditGPRSLogin.text, 15))
        return fail(app, "Длина имени авторизации д.б не более 15 символов", "Модем");
    image.gprsAuthName = m.EditGPRSLogin.text;
    if (!fits(m.EditGPRSPass.text, 8))
        return fail(app, "Длина пароля авторизации д.б не более 8 символов", "Модем");
    image.gprsAuthPassword = m.EditGPRSPass.text;
    if (const auto seconds = linkTestPeriodSeconds(m.ComBoxTestGPRS.itemIndex))
        image.linkTestPeriod = *seconds;
    if (!fits(m.EditGPRSDNS1.text, 15))
        return fail(app, "Адрес DNS1 не более 15 символов", "Модем");
    image.dns1 = m.EditGPRSDNS1.text;
    if (!fits(m.EditGPRSDNS2.text, 15))
        return fail(app, "Адрес DNS2 не более 15 символов", "Модем");
    image.dns2 = m.EditGPRSDNS2.text;

    ServerRecord& main = image.servers[0];
    ServerRecord& reserve = image.servers[1];
    main.flags = m.RBtnDNS1.checked ? server_flag::kByDnsName : 0;
    reserve.flags =
        static_cast<std::uint8_t>((m.CheckBoxGPRSRez2.checked ? server_flag::kUseReserve : 0) |
                                  (m.RBtnDNS2.checked ? server_flag::kByDnsName : 0));

    if (!fits(m.EditGPRSIP1.text, 15) || !fits(m.EditGPRSIP2.text, 15))
        return fail(app, "Адрес IP не более 15 символов", "Модем");
    main.ip = m.EditGPRSIP1.text;
    reserve.ip = m.EditGPRSIP2.text;
    if (!fits(m.EditGPRSPort1.text, 4) || !fits(m.EditGPRSPort2.text, 4))
        return fail(app, "Адрес порта не более 4 символов", "Модем");
    main.port = m.EditGPRSPort1.text;
    reserve.port = m.EditGPRSPort2.text;
    if (!fits(m.EditGPRSWWW1.text, 24) || !fits(m.EditGPRSWWW2.text, 24))
        return fail(app, "Адрес имя сервера д.б не более 24 символов", "Модем");
    main.dnsName = m.EditGPRSWWW1.text;
    reserve.dnsName = m.EditGPRSWWW2.text;
    return true;
}

}  // namespace zelar
