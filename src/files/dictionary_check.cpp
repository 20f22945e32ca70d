#include "files/dictionary_check.h"

namespace zelar {

namespace {

// Codes 0 to 767 in order after the four head lines; lines after the last record are not read.
CheckedDictionary protocol0(LineReader& lines) {
    CheckedDictionary out;
    const auto& head = protocol0HeadLines();
    for (std::size_t i = 1; i < head.size(); ++i) {
        if (lines.next() != head[i]) {
            out.error = "Неверный формат файла";
            return out;
        }
    }
    for (int n = 0; n < kProtocol0Codes; ++n) {
        const std::string number = std::to_string(n);
        if (lines.atEnd()) {
            // The file is checked whole before the upload sends anything.
            out.error = "Непредвиденный конец файла: сообщений в файле " + number +
                        " из 768. В модем ничего не записано";
            return out;
        }
        const Protocol0Line line = parseProtocol0Line(lines.next());
        if (line.error == Protocol0Line::Error::Numbering) {
            out.error = "Ошибка в строке № " + number + ". Неверный формат нумерации сообщений.";
        } else if (line.dec != n || line.hex != n) {
            out.error = "Пропущена строка № " + number + " или неверный формат нумерации сообщений";
        } else if (line.error == Protocol0Line::Error::Type) {
            out.error = "Ошибка в строке № " + number + ". Неверный формат типа сообщений.";
        } else if (const auto record =
                       makeRecord(line.text, static_cast<std::uint8_t>(line.type & 0xFF))) {
            out.lines.push_back({protocol0Place(n), n, *record});
            continue;
        } else {
            out.error = "Ошибка в строке № " + number + ". Текст сообщения длиннее 31 символа.";
        }
        return out;
    }
    return out;
}

std::string rpiPlusError(const RpiPlusLine& line) {
    const std::string at = "Ошибка в " + line.decField + "(DEC) ";
    switch (line.error) {
        case RpiPlusLine::Error::MissingTab:
            return at + "строке. Пропущена табуляция.";
        case RpiPlusLine::Error::TooLong:
            return at + "сообщении. Количесткво символов в сообщении не должно быть больше 30.";
        case RpiPlusLine::Error::BadNumber:
            return at + "сообщении. Неверный формат в DEC,HEX или номере группы.";
        case RpiPlusLine::Error::NotEqual:
            return at + "сообщении. DEC и HEX не равны.";
        case RpiPlusLine::Error::OutOfRange:
            return at + "сообщении. Код сообщения должен быть от 0 до 2047.";
        case RpiPlusLine::Error::None:
            break;
    }
    return {};
}

// Record lines begin with ":"; every other line is skipped.
CheckedDictionary rpiPlus(LineReader& lines) {
    CheckedDictionary out;
    out.kind = DictionaryKind::RpiPlus;
    while (lines.skipBlanks()) {
        const std::string_view text = lines.next();
        if (text.front() != ':') {
            out.lines.push_back({});
            continue;
        }
        const RpiPlusLine line = parseRpiPlusLine(text);
        out.error = rpiPlusError(line);
        if (!out.error.empty())
            return out;
        out.lines.push_back({rpiPlusPlace(line.code), line.code,
                             *makeRecord(line.text, static_cast<std::uint8_t>(line.group))});
    }
    return out;
}

}  // namespace

CheckedDictionary checkDictionaryFile(std::string_view fileBytes) {
    LineReader lines(fileBytes);
    const auto kind = dictionaryKind(lines.next());
    if (!kind) {
        CheckedDictionary out;
        out.error = "Не обнаружен маркер словаря";
        return out;
    }
    CheckedDictionary out = *kind == DictionaryKind::Protocol0 ? protocol0(lines) : rpiPlus(lines);
    if (!out.error.empty())
        out.lines.clear();
    return out;
}

}  // namespace zelar
