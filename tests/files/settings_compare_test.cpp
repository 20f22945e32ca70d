#include "files/settings_compare.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zelar {
namespace {

TEST(SettingsCompare, NamesEachChangedValueByPageAndFieldInThePagesOrder) {
    struct Change {
        std::function<void(SettingsFileContent&)> apply;
        std::string line;
    };
    // Listed in the file's order; the window shows the users before the SIM cards.
    const std::vector<Change> changes = {
        {[](auto& c) { c.image.sims[0].apnName = "internet"; },
         "Настройка SIM-карт, SIM 1 / Точка доступа APN: A \"\", B \"internet\""},
        {[](auto& c) { c.autoDetect = 1; },
         "Настройка SIM-карт, SIM 1 / Автоопределение параметров SIM: A \"выкл\", B \"вкл\""},
        {[](auto& c) { c.image.users[2].phone = "+7916"; },
         "Пользователи #3 / Телефон: A \"\", B \"+7916\""},
        {[](auto& c) { c.image.users[5].objectOffset = 9999; },
         "Пользователи #6 / Сместить номер объекта: A \"0000\", B \"270F\""},
        {[](auto& c) { c.image.servers[1].port = "5000"; },
         "Настройка GPRS / Сервер резервный Порт: A \"\", B \"5000\""},
    };
    const SettingsFileContent a;
    SettingsFileContent b;
    for (const Change& change : changes)
        change.apply(b);
    std::vector<std::string> lines;
    for (const SettingsDifference& d : compareSettings(a, b))
        lines.push_back(differenceLine(d, "A", "B"));
    EXPECT_EQ(lines, (std::vector<std::string>{changes[2].line, changes[3].line, changes[0].line,
                                               changes[1].line, changes[4].line}));
    EXPECT_TRUE(compareSettings(b, b).empty());
}

// A line break, which a file's line cannot carry, still differs from the "?" the file holds.
TEST(SettingsCompare, ComparesTheBytesAndQuotesThemOnOneLine) {
    SettingsFileContent a;
    SettingsFileContent b;
    a.image.sims[1].apnLogin = "a\x1B\n\"\\";
    b.image.sims[1].apnLogin = "a\x1B?\"\\";
    const auto differences = compareSettings(a, b);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differenceLine(differences[0], "A", "B"),
              "Настройка SIM-карт, SIM 2 / Точка доступа Имя: A \"a\\x1B\\x0A\\\"\\\\\", "
              "B \"a\\x1B?\\\"\\\\\"");
}

// A load writes no auto-detection byte, nor the access point of a SIM the file detects
// automatically: comparing what it wrote leaves those out, by the file's check boxes.
TEST(SettingsCompare, WhatALoadWritesFollowsTheFilesAutoDetection) {
    SettingsFileContent modem;
    modem.autoDetect = 2;
    for (SimRecord& sim : modem.image.sims)
        sim.apnName = "modem.apn";
    SettingsFileContent file;
    file.autoDetect = 1;
    auto fields = [&](CompareScope scope) {
        std::vector<std::string> names;
        for (const SettingsDifference& d : compareSettings(modem, file, scope))
            names.push_back(d.page.substr(d.page.size() - 5) + " " + d.field);
        return names;
    };
    EXPECT_EQ(fields(CompareScope::Everything),
              (std::vector<std::string>{
                  "SIM 1 Точка доступа APN", "SIM 1 Автоопределение параметров SIM",
                  "SIM 2 Точка доступа APN", "SIM 2 Автоопределение параметров SIM"}));
    EXPECT_EQ(fields(CompareScope::WhatLoadWrites),
              std::vector<std::string>{"SIM 2 Точка доступа APN"});
}

}  // namespace
}  // namespace zelar
