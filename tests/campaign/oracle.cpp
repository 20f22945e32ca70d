#include "campaign/oracle.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>

namespace zelar::campaign {

namespace {

// What the program says when an operation worked (message boxes and status texts).
constexpr std::array<std::string_view, 9> kSuccessTexts = {
    "Настройки записаны",
    "Запись завершена успешно",
    "Запись завершена успешно.",
    "Запись словаря успешно завершена",
    "Словарь успешно считан.",
    "Копия настроек успешно создана",
    "Настройки модема считаны",
    "Настройки модема считаны, введите пароль",
    "Пароль принят",
};

// The beginnings of what the program says when an operation failed: the link, the modem, the
// proof after writing, the port objects' own texts, and the refusals of the rights.
constexpr std::array<std::string_view, 48> kFailurePrefixes = {
    "Нет связи с модемом",
    "Модем не отвечает",
    "Ошибка записи",
    "Ошибка связи с модемом",
    "Ошибка чтения настроек",
    "Проверка записи: ",
    "Не могу открыть порт",
    "Не мгу открыть порт",
    "Ошибка открытия порта",
    "Для начала работы в выбранном режиме - перезагрузите модем",
    "Запись завершена с ошибкой.",
    "Нет настроек для записи",
    "Пароль не принят",
    "Статус ",
    "Read data error",
    "Read error",
    "Write data error",
    "Write error",
    "Can't open device",
    "Error retrieving statistics",
    "Error clearing buffers",
    "Can't open specified device",
    "Specified device not found",
    "Output buffer is full",
    "Нет прав просмотра настроек",
    // The pages' own rules, checked before anything is sent.
    "Введите ",
    "Значение номера ",
    "SIM1: ",
    "SIM2: ",
    "Пароль должен ",
    "Адрес ",
    "Длина ",
    "Выберете корректное значение",
    "Выберите один из протоколов",
    "Неверный серийный номер",
    "Номер телефона должен",
    "Период тестового сообщения",
    "Смещение номера объекта",
    "Громкость динамика",
    "Чувствительность микрофона",
    "Текст не помещается",
    "В системе должен остаться хотябы один мастер",
    "Некорректное значение периода",
    "Ошибка в ",
    "Настройки голосового вызова не считаны",
    "Модем не найден",
    // A firmware file that holds no program, refused before the modem is restarted.
    "В файле нет прошивки",
    "Ошибка открытия файла",
};

bool isSuccessText(const std::string& text) {
    return std::find(kSuccessTexts.begin(), kSuccessTexts.end(), text) != kSuccessTexts.end();
}
bool isFailureText(const std::string& text) {
    return std::any_of(kFailurePrefixes.begin(), kFailurePrefixes.end(),
                       [&](std::string_view p) { return text.rfind(p, 0) == 0; });
}

// The first difference between two memories, for the report.
template <typename Bytes>
std::string firstDifference(const char* what, const Bytes& a, const Bytes& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i]) {
            char text[96];
            std::snprintf(text, sizeof text, "%s differs at 0x%04zX: 0x%02X, fault-free 0x%02X",
                          what, i, unsigned(a[i]), unsigned(b[i]));
            return text;
        }
    }
    return {};
}

// The first line that differs, for the report.
std::string firstLineDifference(const std::string& a, const std::string& b) {
    std::size_t start = 0;
    while (start < a.size() && start < b.size()) {
        const std::size_t endA = a.find('\n', start);
        const std::size_t endB = b.find('\n', start);
        const std::string lineA = a.substr(start, endA - start);
        const std::string lineB = b.substr(start, endB - start);
        if (lineA != lineB)
            return ": \"" + lineA + "\", fault-free \"" + lineB + "\"";
        if (endA == std::string::npos || endB == std::string::npos)
            break;
        start = endA + 1;
    }
    return {};
}

// The same output line for line, a line the faulty run marks as not read matching any value.
bool sameOutput(const std::string& faulty, const std::string& twin) {
    std::istringstream a(faulty), b(twin);
    std::string x, y;
    while (std::getline(a, x)) {
        const std::string name = x.substr(0, x.find('=') + 1);
        if (!std::getline(b, y) || (x != y && (x != name + std::string(kNotRead) || name.empty() ||
                                               y.rfind(name, 0) != 0)))
            return false;
    }
    return !std::getline(b, y);
}

}  // namespace

Verdict judge(const RunRecord& twin, const RunRecord& faulty, bool riddenOut) {
    if (riddenOut && twin.ok && !faulty.ok)
        return {Outcome::Violation, "failed on a fault it rides out"};
    if (faulty.ok) {
        std::string why =
            firstDifference("settings memory", faulty.store.settings, twin.store.settings);
        if (why.empty())
            why = firstDifference("flash", faulty.store.flash, twin.store.flash);
        if (why.empty())
            why = firstDifference("program memory", faulty.store.program, twin.store.program);
        if (why.empty() && !sameOutput(faulty.output, twin.output))
            why = "what it showed or wrote differs from the fault-free run" +
                  firstLineDifference(faulty.output, twin.output);
        if (why.empty() && !twin.ok)
            why = "succeeded where the fault-free run failed";
        if (!why.empty())
            return {Outcome::Violation, "reported success, but " + why};
        return {Outcome::Succeeded, {}};
    }
    const auto success = std::find_if(faulty.shown.begin(), faulty.shown.end(), isSuccessText);
    if (success != faulty.shown.end())
        return {Outcome::Violation, "failed, but showed \"" + *success + "\""};
    if (std::any_of(faulty.shown.begin(), faulty.shown.end(), isFailureText))
        return {Outcome::Failed, {}};
    if (faulty.declined)
        return {Outcome::Cancelled, {}};
    std::string texts;
    for (const std::string& t : faulty.shown)
        texts += " \"" + t + "\"";
    return {Outcome::Violation, "failed without a failure message (shown:" + texts + ")"};
}

}  // namespace zelar::campaign
