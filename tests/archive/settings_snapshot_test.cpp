#include <gtest/gtest.h>

#include <functional>

#include "archive/settings_snapshot.h"
#include "files/factory_defaults.h"

namespace zelar::test {
namespace {

using archive::SettingsSnapshot;

SettingsSnapshot sample() {
    SettingsSnapshot s;
    s.file.image.users[0].phone = "+79161234567";
    s.file.image.users[0].password = "1234";
    s.file.image.users[0].status = 0;
    s.file.image.sims[0].pin = "0000";
    s.file.image.sims[1].phone = "+7 916 000";
    s.file.image.mainSystem = 12;
    s.file.image.mainObjectMinus1 = 4321;
    s.file.image.protocol = 2;
    s.file.serialNumber = "720451";
    s.file.softVersion = "2.05";
    s.voice = VoiceCallBlock{7, 9, {"+7001", "", "a%b\r\n=c", "", "5"}, true};
    s.incoming = IncomingCallBlock{true, {"+7111", " 22", ""}};
    s.operatingMode = 1;
    return s;
}

TEST(SettingsSnapshot, EveryValueComesBackAndEqualSnapshotsGiveEqualBytes) {
    for (const bool withVoice : {true, false}) {
        SCOPED_TRACE(withVoice);
        SettingsSnapshot s = sample();
        if (!withVoice)
            s.voice.reset();
        const std::string bytes = archive::encodeSnapshot(s);
        const auto back = archive::decodeSnapshot(bytes);
        ASSERT_TRUE(back);
        EXPECT_TRUE(archive::compareSnapshots(s, *back).empty());
        EXPECT_EQ(back->voice.has_value(), withVoice);
        if (withVoice) {
            EXPECT_EQ(back->voice->numbers[2], "a%b\r\n=c");
        }
        EXPECT_EQ(back->file.image.sims[1].phone, "+7 916 000");
        EXPECT_EQ(back->file.image.mainObjectMinus1, 4321);
        EXPECT_EQ(back->operatingMode, 1);
        EXPECT_EQ(archive::encodeSnapshot(*back), bytes);
    }
}

TEST(SettingsSnapshot, BytesThatAreNoSnapshotAreRefused) {
    const std::string good = archive::encodeSnapshot(sample());
    const std::size_t blank = good.find("\n\n");
    ASSERT_NE(blank, std::string::npos);
    const std::string head = good.substr(0, blank + 1);
    const std::string file = good.substr(blank + 2);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"another header", "zelar-archive-snapshot 2\n" + good.substr(good.find('\n') + 1)},
        {"an unknown key", head + "color=red\n\n" + file},
        {"no equals sign", head + "mode\n\n" + file},
        {"a number too large", head + "object.system=256\n\n" + file},
        {"a number with text", head + "mode=1x\n\n" + file},
        {"a flag neither 0 nor 1", head + "incoming.allowed=2\n\n" + file},
        {"a bad escape", head + "voice.number2=%G1\n\n" + file},
        {"an escape cut short", head + "voice.number2=ab%4\n\n" + file},
        {"no blank line", head},
        {"no settings file after it", head + "\n" + "Created: x\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(archive::decodeSnapshot(c.bytes));
    }
    EXPECT_TRUE(archive::decodeSnapshot(head + "\n" + file));
}

// Each row changes one value beyond the settings file and names where the window shows it.
TEST(SettingsSnapshot, AValueAFileDoesNotHoldIsComparedAndNamed) {
    struct Case {
        std::function<void(SettingsSnapshot&)> change;
        std::string page, field, first, second;
    };
    const Case cases[] = {
        {[](auto& s) { s.file.image.mainSystem = 13; }, "Параметры объекта",
         "Основной номер системы", "12", "13"},
        {[](auto& s) { s.file.image.mainObjectMinus1 = 1; }, "Параметры объекта",
         "Основной номер объекта", "4321", "1"},
        {[](auto& s) { s.file.image.protocol = 0; }, "Параметры объекта", "Протокол", "2", "0"},
        {[](auto& s) { s.file.image.sims[1].phone = ""; }, "Настройка SIM-карт, SIM 2",
         "Номер телефона SIM", "+7 916 000", ""},
        {[](auto& s) { s.voice->numbers[4] = "6"; }, "Голосовой вызов", "Номера телефонов 5", "5",
         "6"},
        {[](auto& s) { s.voice->speaker = 3; }, "Голосовой вызов", "Громкость динамика", "9", "3"},
        {[](auto& s) { s.voice->microphone = 1; }, "Голосовой вызов", "Чувствительность микрофона",
         "7", "1"},
        {[](auto& s) { s.voice->outgoingAllowed = false; }, "Голосовой вызов",
         "Разрешить исходящий вызов", "1", "0"},
        {[](auto& s) { s.incoming.incomingAllowed = false; }, "Голосовой вызов",
         "Разрешить входящий вызов", "1", "0"},
        {[](auto& s) { s.incoming.numbers[1] = "22"; }, "Голосовой вызов", "Разрешенные номера 2",
         " 22", "22"},
        {[](auto& s) { s.operatingMode = 0; }, "Сервис", "Режим работы модема", "1", "0"},
        {[](auto& s) { s.file.image.users[0].phone = "+7"; }, "Пользователи #1", "Телефон",
         "+79161234567", "+7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        SettingsSnapshot changed = sample();
        c.change(changed);
        const auto differences = archive::compareSnapshots(sample(), changed);
        ASSERT_EQ(differences.size(), 1u);
        EXPECT_EQ(differences[0].page, c.page);
        EXPECT_EQ(differences[0].field, c.field);
        EXPECT_EQ(differences[0].first, c.first);
        EXPECT_EQ(differences[0].second, c.second);
    }
    // A read that could not fetch the voice call differs in that.
    SettingsSnapshot unread = sample();
    unread.voice.reset();
    const auto differences = archive::compareSnapshots(sample(), unread);
    ASSERT_FALSE(differences.empty());
    EXPECT_EQ(differences[0].field, "Считан");
}

TEST(SettingsSnapshot, SecretsAreMaskedUnlessAskedFor) {
    struct Case {
        std::string field, first, second;
        bool withSecrets;
        std::string line;
    };
    const Case cases[] = {
        {"Пароль", "1234", "7391", false, "P / Пароль: A \"****\", B \"****\""},
        {"Пароль", "1234", "7391", true, "P / Пароль: A \"1234\", B \"7391\""},
        {"PIN-код", "", "0000", false, "P / PIN-код: A \"\", B \"****\""},
        {"PUK-код", "12345678", "", false, "P / PUK-код: A \"****\", B \"\""},
        {"Точка доступа Пароль", "x", "y", false,
         "P / Точка доступа Пароль: A \"****\", B \"****\""},
        {"Авторизация Пароль", "x", "y", false, "P / Авторизация Пароль: A \"****\", B \"****\""},
        {"Телефон", "1", "2", false, "P / Телефон: A \"1\", B \"2\""},
        {"Пароль доступа к SIM", "1", "2", false, "P / Пароль доступа к SIM: A \"1\", B \"2\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto lines =
            archive::differenceLines({{"P", c.field, c.first, c.second}}, "A", "B", c.withSecrets);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], c.line);
    }
}

}  // namespace
}  // namespace zelar::test
