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
        {[](auto& c) { c.autoDetect = 2; },
         "Настройка SIM-карт, SIM 1 / Автоопределение параметров SIM (SIM 1, SIM 2): A \"00\", "
         "B \"02\""},
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

}  // namespace
}  // namespace zelar
