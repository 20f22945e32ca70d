#include "files/settings_file.h"

#include <algorithm>
#include <array>
#include <functional>
#include <type_traits>
#include <variant>
#include <vector>

#include "settings/image_codec.h"
#include "text/cp1251.h"
#include "text/hex.h"
#include "text/padding.h"
#include "text/quoted.h"

namespace zelar {

namespace {

// How one line of the file is written and read.
enum class LineKind {
    Created,  // the marker bytes, "Created: " and the time; only the marker is read back
    Note,     // a prefix and the first `width` characters of a text; never read back
    Header,   // the text itself; the read looks for it, skipping what comes before
    Hex,      // a number in hexadecimal, at least `width` digits
    AsHeld,   // a text written as held, read as it stands; at most `width` characters
    Digits,   // as AsHeld; written to a modem only when it is exactly `width` decimal digits
    Padded,   // a text padded to `width`, read as it stands with its padding
    Cut,      // a text padded to `width`, read up to its first blank
};

using Ref = std::variant<std::monostate, std::string*, std::uint8_t*, std::uint16_t*>;
using Content = SettingsFileContent;

// A bit of a flags byte that the window shows as a check box of its own: compared and shown as
// "вкл" or "выкл" where that check box stands.
struct FlagBit {
    int bit = 0;
    int page = 0;  // in kPageNames
    std::string field;
};

struct FileLine {
    LineKind kind;
    std::string text;  // the header or the prefix
    int width = 0;
    std::function<Ref(Content&)> ref;
    // Where the window shows the value; a line without a field is not compared.
    int page = 0;  // in kPageNames
    std::string field;
    // A load writes the value to the modem, unless the file has the auto-detection of SIM
    // `autoSim` (0 or 1) on.
    bool written = true;
    int autoSim = -1;
    // A flags byte compared bit by bit, each as its own check box; then `field` stays empty.
    std::vector<FlagBit> bits = {};
};

template <class Get>
FileLine line(LineKind kind, int width, Get get, int page = 0, std::string field = {}) {
    return {kind, {}, width, [get](Content& c) -> Ref { return &get(c); }, page, std::move(field)};
}
FileLine header(std::string text) {
    return {LineKind::Header, text, 0, [](Content&) -> Ref { return std::monostate{}; }, 0, {}};
}

using K = LineKind;

FileLine title(LineKind kind, std::string text, int width, std::string Content::*field) {
    return {kind, std::move(text), width, [field](Content& c) -> Ref { return &(c.*field); }, 0,
            {}};
}

// When and from which modem the file was saved; only the marker is read back.
void addTitle(std::vector<FileLine>& t) {
    t.push_back(title(K::Created, "Created: ", 0, &Content::created));
    t.push_back(title(K::Note, "S/N: ", 6, &Content::serialNumber));
    t.push_back(title(K::Note, "Soft version: ", 4, &Content::softVersion));
}

// The pages of the window that show the file's values, in the window's order: the users of
// the tree, then the tabs of "Настройка модема".
constexpr std::array<std::string_view, 9> kPageNames = {
    "Пользователи #1",           "Пользователи #2",           "Пользователи #3",
    "Пользователи #4",           "Пользователи #5",           "Пользователи #6",
    "Настройка SIM-карт, SIM 1", "Настройка SIM-карт, SIM 2", "Настройка GPRS",
};
constexpr int kFirstSimPage = kUserCount;
constexpr int kGprsPage = kFirstSimPage + kSimCount;
static_assert(kPageNames.size() == kGprsPage + 1);

// A flags byte stands for the window's check boxes and choices that set its bits.
void addModemSection(std::vector<FileLine>& t) {
    t.push_back(header("Modem"));
    t.push_back(line(
        K::Hex, 2, [](auto& c) -> auto& { return c.image.modemFlags; }, kGprsPage,
        "Работа по GPRS каналу, Постоянное подключение"));
    t.push_back(line(
        K::Hex, 2, [](auto& c) -> auto& { return c.image.modemType; }, kGprsPage, "Тип модема"));
}

void addSimSection(std::vector<FileLine>& t, int i) {
    t.push_back(header("SIM" + std::to_string(i + 1)));
    auto sim = [i](Content& c) -> SimRecord& { return c.image.sims[i]; };
    const int page = kFirstSimPage + i;
    t.push_back(line(
        K::Hex, 2, [sim](auto& c) -> auto& { return sim(c).flags; }, page,
        i == 0 ? "PIN, Контролировать баланс"
               : "PIN, Контролировать баланс, Резервная SIM установлена"));
    t.push_back(line(
        K::Digits, 4, [sim](auto& c) -> auto& { return sim(c).pin; }, page, "PIN-код"));
    t.push_back(line(
        K::Digits, 8, [sim](auto& c) -> auto& { return sim(c).puk; }, page, "PUK-код"));
    t.push_back(line(
        K::AsHeld, 3, [sim](auto& c) -> auto& { return sim(c).ussd; }, page,
        "USSD запрос баланса"));
    t.back().autoSim = i;
    t.push_back(line(
        K::Hex, 2, [sim](auto& c) -> auto& { return sim(c).balanceThreshold; }, page,
        "Порог денежных средств"));
    t.push_back(line(
        K::Padded, 24, [sim](auto& c) -> auto& { return sim(c).apnName; }, page,
        "Точка доступа APN"));
    t.back().autoSim = i;
    t.push_back(line(
        K::Padded, 24, [sim](auto& c) -> auto& { return sim(c).apnLogin; }, page,
        "Точка доступа Имя"));
    t.back().autoSim = i;
    t.push_back(line(
        K::Padded, 24, [sim](auto& c) -> auto& { return sim(c).apnPassword; }, page,
        "Точка доступа Пароль"));
    t.back().autoSim = i;
    // Both SIM sections carry both check boxes; the last one read counts, so only it is
    // compared, each check box on its SIM's page. The service window's load sets the check
    // boxes and writes no auto-detection byte.
    t.push_back(line(
        K::Hex, 2, [](auto& c) -> auto& { return c.autoDetect; }));
    t.back().written = false;
    if (i + 1 == kSimCount) {
        for (int k = 0; k < kSimCount; ++k)
            t.back().bits.push_back({k, kFirstSimPage + k, "Автоопределение параметров SIM"});
    }
}

void addUserSection(std::vector<FileLine>& t, int i) {
    t.push_back(header("User" + std::to_string(i + 1)));
    auto user = [i](Content& c) -> UserRecord& { return c.image.users[i]; };
    t.push_back(line(
        K::Hex, 2, [user](auto& c) -> auto& { return user(c).status; }, i, "Статус пользователя"));
    t.push_back(line(
        K::Hex, 2, [user](auto& c) -> auto& { return user(c).messageType; }, i, "Тип сообщения"));
    t.push_back(line(
        K::Digits, 4, [user](auto& c) -> auto& { return user(c).password; }, i, "Пароль"));
    t.push_back(line(
        K::Hex, 2, [user](auto& c) -> auto& { return user(c).options; }, i,
        "Включить пользователя, Формат текстового сообщения, Разрешить приоритет"));
    t.push_back(line(
        K::Hex, 2, [user](auto& c) -> auto& { return user(c).messageClasses; }, i,
        "Коды сообщений доступные пользователю"));
    t.push_back(line(
        K::Hex, 2, [user](auto& c) -> auto& { return user(c).testPeriodHours; }, i,
        "Период тестового сообщения, ч"));
    t.push_back(line(
        K::Hex, 4, [user](auto& c) -> auto& { return user(c).objectOffset; }, i,
        "Сместить номер объекта"));
    t.push_back(line(
        K::Padded, 12, [user](auto& c) -> auto& { return user(c).phone; }, i, "Телефон"));
}

void addGprsSection(std::vector<FileLine>& t) {
    t.push_back(header("GPRS"));
    auto add = [&t](LineKind kind, int width, auto get, const char* field) {
        t.push_back(line(kind, width, get, kGprsPage, field));
    };
    add(
        K::Hex, 4, [](auto& c) -> auto& { return c.image.linkTestPeriod; },
        "Период проверки связи");
    add(
        K::Hex, 2, [](auto& c) -> auto& { return c.image.servers[0].flags; },
        "Сервер основной IP-адрес/DNS-имя");
    add(
        K::Hex, 2, [](auto& c) -> auto& { return c.image.servers[1].flags; },
        "Использовать резервный сервер, Сервер резервный IP-адрес/DNS-имя");
    add(
        K::Cut, 16, [](auto& c) -> auto& { return c.image.dns1; }, "DNS-сервер1");
    add(
        K::Cut, 16, [](auto& c) -> auto& { return c.image.dns2; }, "DNS-сервер2");
    add(
        K::Cut, 15, [](auto& c) -> auto& { return c.image.gprsAuthName; }, "Авторизация Имя");
    add(
        K::Cut, 8, [](auto& c) -> auto& { return c.image.gprsAuthPassword; }, "Авторизация Пароль");
    add(
        K::Cut, 15, [](auto& c) -> auto& { return c.image.servers[0].ip; },
        "Сервер основной IP-адрес");
    add(
        K::Cut, 15, [](auto& c) -> auto& { return c.image.servers[1].ip; },
        "Сервер резервный IP-адрес");
    add(
        K::Padded, 4, [](auto& c) -> auto& { return c.image.servers[0].port; },
        "Сервер основной Порт");
    add(
        K::Padded, 4, [](auto& c) -> auto& { return c.image.servers[1].port; },
        "Сервер резервный Порт");
    add(
        K::Cut, 24, [](auto& c) -> auto& { return c.image.servers[0].dnsName; },
        "Сервер основной DNS-имя");
    add(
        K::Cut, 24, [](auto& c) -> auto& { return c.image.servers[1].dnsName; },
        "Сервер резервный DNS-имя");
}

std::vector<FileLine> buildLines() {
    std::vector<FileLine> t;
    addTitle(t);
    addModemSection(t);
    for (int i = 0; i < kSimCount; ++i)
        addSimSection(t, i);
    for (int i = 0; i < kUserCount; ++i)
        addUserSection(t, i);
    addGprsSection(t);
    return t;
}

const std::vector<FileLine>& fileLines() {
    static const std::vector<FileLine> lines = buildLines();
    return lines;
}

constexpr std::string_view kMarker = "\x01\x02\x03";
constexpr std::string_view kLineEnd = "\r\n";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Windows-1251 bytes of a text as held; only a CR or LF, which would break the line apart, is
// written as '?', like any character the code page lacks.
std::string fileText(const std::string& utf8) {
    std::string bytes = utf8ToCp1251(utf8);
    std::replace_if(bytes.begin(), bytes.end(), isLineBreak, '?');
    return bytes;
}

std::string composeLine(const FileLine& l, Content& c) {
    const Ref ref = l.ref(c);
    switch (l.kind) {
        case K::Created:
            return std::string(kMarker) + l.text + fileText(*std::get<1>(ref));
        case K::Note:
            return l.text + fileText(*std::get<1>(ref)).substr(0, l.width);
        case K::Header:
            return l.text;
        case K::Hex:
            if (auto* u8 = std::get_if<std::uint8_t*>(&ref))
                return toHex(**u8, l.width);
            return toHex(*std::get<std::uint16_t*>(ref), l.width);
        case K::AsHeld:
        case K::Digits:
            return fileText(*std::get<1>(ref));
        case K::Padded:
        case K::Cut:
            return padRight(fileText(*std::get<1>(ref)), static_cast<std::size_t>(l.width));
    }
    return {};
}

// A hexadecimal number no larger than `max`; upper or lower case, leading zeros allowed.
std::optional<unsigned> parseHex(std::string_view text, unsigned max) {
    if (text.empty())
        return std::nullopt;
    unsigned value = 0;
    for (char ch : text) {
        const char upper = (ch >= 'a' && ch <= 'f') ? static_cast<char>(ch - 'a' + 'A') : ch;
        const auto digit = hexDigitValue(upper);
        if (!digit)
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(*digit);
        if (value > max)
            return std::nullopt;
    }
    return value;
}

// Sets the line's field from its text; false when the text does not fit the field.
bool readLine(const FileLine& l, std::string_view text, Content& c) {
    const Ref ref = l.ref(c);
    if (l.kind == K::Hex) {
        if (auto* u8 = std::get_if<std::uint8_t*>(&ref)) {
            const auto value = parseHex(text, 0xFF);
            if (value)
                **u8 = static_cast<std::uint8_t>(*value);
            return value.has_value();
        }
        const auto value = parseHex(text, 0xFFFF);
        if (value)
            *std::get<std::uint16_t*>(ref) = static_cast<std::uint16_t>(*value);
        return value.has_value();
    }
    std::string bytes(text);
    if (l.kind == K::Cut)
        bytes = cutAtFirstSpace(bytes);
    if (bytes.size() > static_cast<std::size_t>(l.width))
        return false;
    *std::get<std::string*>(ref) = cp1251ToUtf8(bytes);
    return true;
}

// The lines of the file without their ends; a last line may lack its end, and a bare LF
// ends a line as well.
std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view l = bytes.substr(0, end);
        if (!l.empty() && l.back() == '\r')
            l.remove_suffix(1);
        lines.push_back(l);
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

// A value as a person reads it: a number as its line holds it, a text as held (a line break
// too, which its line cannot carry) without the padding.
std::string shownValue(const FileLine& l, Content& c) {
    const Ref ref = l.ref(c);
    const auto* text = std::get_if<std::string*>(&ref);
    if (!text)
        return composeLine(l, c);
    const std::size_t end = (*text)->find_last_not_of(' ');
    return (*text)->substr(0, end == std::string::npos ? 0 : end + 1);
}

// A check box that a bit of a flags byte stands for, as the window's user reads it.
std::string flagWord(const FileLine& l, const FlagBit& b, Content& c) {
    const std::uint8_t flags = *std::get<std::uint8_t*>(l.ref(c));
    return (flags >> b.bit & 1) != 0 ? "вкл" : "выкл";
}

// Whether a load of `file` writes the line's value to the modem.
bool writtenByLoad(const FileLine& l, const Content& file) {
    return l.written && (l.autoSim < 0 || (file.autoDetect >> l.autoSim & 1) == 0);
}

// The header that the line at `index` of the table stands under.
std::string sectionOf(std::size_t index) {
    const auto& lines = fileLines();
    while (index > 0 && lines[index].kind != K::Header)
        --index;
    return lines[index].text;
}

// Reads the file into `content`; `at`, when given, gets for each line of the table the number
// (from 1) of the file's line that held it.
bool parseLines(std::string_view bytes, Content& content, std::vector<std::size_t>* at) {
    // An editor that saves UTF-8 may put its byte-order mark before the marker bytes.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    const std::vector<std::string_view> lines = splitLines(bytes);
    Content loaded = content;
    std::vector<std::size_t> found;
    std::size_t next = 0;
    for (const FileLine& l : fileLines()) {
        switch (l.kind) {
            case K::Created:
                if (lines.empty() || lines[0].substr(0, kMarker.size()) != kMarker)
                    return false;
                next = 1;
                break;
            case K::Note:
                // Taken for people (a report) where it stands as written; a file without it
                // loads all the same.
                if (next < lines.size() && lines[next].starts_with(l.text)) {
                    *std::get<1>(l.ref(loaded)) =
                        cp1251ToUtf8(std::string(lines[next].substr(l.text.size())));
                    ++next;
                }
                break;
            case K::Header:
                while (next < lines.size() && lines[next] != l.text)
                    ++next;
                if (next == lines.size())
                    return false;
                ++next;
                break;
            default:
                if (next == lines.size() || !readLine(l, lines[next], loaded))
                    return false;
                ++next;
                break;
        }
        found.push_back(next);
    }
    content = std::move(loaded);
    if (at)
        *at = std::move(found);
    return true;
}

// Why a code of `width` digits is refused.
std::string notDigits(int width) {
    return width == 4 ? "не четыре цифры" : "не восемь цифр";
}

}  // namespace

std::string problemText(const SettingsLineProblem& problem) {
    return "строка " + std::to_string(problem.line) + ", " + problem.section + ", " +
           problem.field + ": " + quoted(problem.value) + " — " + problem.reason;
}

std::optional<SettingsLineProblem> firstUnwritableValue(std::string_view bytes) {
    Content content;
    std::vector<std::size_t> at;
    if (!parseLines(bytes, content, &at))
        return std::nullopt;
    const std::vector<std::string_view> lines = splitLines(bytes);
    const auto& table = fileLines();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const FileLine& l = table[i];
        if (l.kind != K::Digits)
            continue;
        const std::string held = cp1251ToUtf8(std::string(lines[at[i] - 1]));
        if (held.size() != static_cast<std::size_t>(l.width) ||
            !std::all_of(held.begin(), held.end(), isDigit))
            return SettingsLineProblem{static_cast<int>(at[i]), sectionOf(i), l.field, held,
                                       notDigits(l.width)};
    }
    return std::nullopt;
}

std::vector<SettingsLineProblem> lineBreakProblems(const SettingsFileContent& content) {
    Content copy = content;
    std::vector<SettingsLineProblem> problems;
    const auto& table = fileLines();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const FileLine& l = table[i];
        const Ref ref = l.ref(copy);
        const auto* text = std::get_if<std::string*>(&ref);
        if (l.field.empty() || !text || !std::any_of((*text)->begin(), (*text)->end(), isLineBreak))
            continue;
        problems.push_back({static_cast<int>(i) + 1, sectionOf(i), l.field, **text,
                            "перевод строки записан в файл как \"?\""});
    }
    return problems;
}

std::vector<SettingsFileValue> settingsFileValues(const SettingsFileContent& content,
                                                  const SettingsFileContent* restoredFrom) {
    Content copy = content;
    std::vector<SettingsFileValue> values;
    std::vector<int> pages;
    const auto add = [&](int page, const std::string& field, std::string value) {
        values.push_back(
            {std::string(kPageNames[static_cast<std::size_t>(page)]), field, std::move(value)});
        pages.push_back(page);
    };
    for (const FileLine& l : fileLines()) {
        if (restoredFrom && !writtenByLoad(l, *restoredFrom))
            continue;
        for (const FlagBit& b : l.bits)
            add(b.page, b.field, flagWord(l, b, copy));
        if (!l.field.empty())
            add(l.page, l.field, shownValue(l, copy));
    }
    // The file's order is not the window's: its users come after the SIM cards.
    std::vector<std::size_t> order(values.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return pages[a] < pages[b]; });
    std::vector<SettingsFileValue> sorted;
    for (const std::size_t i : order)
        sorted.push_back(std::move(values[i]));
    return sorted;
}

std::optional<SettingsFieldName> settingsFieldAt(std::uint16_t address) {
    // The memory table and the file's table meet where they refer to the same member of one
    // content.
    Content probe;
    const void* member = nullptr;
    for (const auto& f : imageFields()) {
        if (address >= f.address && address < f.end()) {
            member = std::visit([](auto* p) -> const void* { return p; }, f.ref(probe.image));
            break;
        }
    }
    if (member == nullptr)
        return std::nullopt;
    for (const FileLine& l : fileLines()) {
        const Ref ref = l.ref(probe);
        const void* held = std::visit(
            [](auto p) -> const void* {
                if constexpr (std::is_pointer_v<decltype(p)>)
                    return p;
                else
                    return nullptr;
            },
            ref);
        if (held == member && !l.field.empty())
            return SettingsFieldName{std::string(kPageNames[static_cast<std::size_t>(l.page)]),
                                     l.field};
    }
    return std::nullopt;
}

std::string composeSettingsFile(const SettingsFileContent& content) {
    // The table's references are to a mutable content; writing only reads through them.
    Content copy = content;
    std::string out;
    for (const FileLine& l : fileLines()) {
        out += composeLine(l, copy);
        out += kLineEnd;
    }
    return out;
}

bool parseSettingsFile(std::string_view bytes, SettingsFileContent& content) {
    return parseLines(bytes, content, nullptr);
}

}  // namespace zelar
