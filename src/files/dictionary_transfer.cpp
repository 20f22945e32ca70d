#include "files/dictionary_transfer.h"

#include "files/dictionary_file.h"
#include "flash/flash_pages.h"

namespace zelar {

namespace {

constexpr int kProtocol0ChunkSettleMs = 100;
constexpr int kRpiPlusChunkSettleMs = 150;
constexpr int kStoreSettleMs = 150;
constexpr int kLoadSettleMs = 40;
constexpr int kReadSettleMs = 60;
constexpr int kSilentResends = 3;
constexpr std::uint16_t kFirstRpiPlusPage = 97;

class Upload {
  public:
    explicit Upload(DictionaryTransferHooks& hooks) : h_(hooks) {}

    bool run(std::string_view fileBytes) {
        LineReader lines(fileBytes);
        const auto kind = dictionaryKind(lines.next());
        if (!kind)
            return error("Не обнаружен маркер словаря");
        const char* question = *kind == DictionaryKind::Protocol0
                                   ? "Записываем словарь для протокола RRD,RPI"
                                   : "Записываем словарь для протокола RPI+";
        if (h_.dialogs.messageBox(question, "Модем", MessageIcon::Question,
                                  MessageButtons::OkCancel) != MessageResult::Ok) {
            return false;
        }
        if (*kind == DictionaryKind::Protocol0) {
            const auto& head = protocol0HeadLines();
            for (std::size_t i = 1; i < head.size(); ++i) {
                if (lines.next() != head[i])
                    return error("Неверный формат файла");
            }
        }
        if (!h_.reopenLink())
            return error("Не могу открыть порт");
        const bool done = *kind == DictionaryKind::Protocol0 ? protocol0(lines) : rpiPlus(lines);
        h_.link.Close();
        if (!done)
            return false;
        h_.showProgress("");
        h_.dialogs.messageBox("Запись словаря успешно завершена", "Модем", MessageIcon::Information,
                              MessageButtons::Ok);
        return true;
    }

  private:
    bool error(const std::string& text) {
        h_.dialogs.messageBox(text, "Модем", MessageIcon::Error, MessageButtons::Ok);
        return false;
    }

    // One command with the resends and the Retry question of the upload. A port error counts
    // as a failed command after its own message, without the silent resends: they are for a
    // line the modem missed, and a port that failed (a cable pulled) fails every resend again.
    // A modem that went silent may have lost its power and with it the page buffer, so every
    // resend, silent or after Retry, first fills the buffer again (replayBuffer).
    bool command(const std::function<bool()>& send, bool silentResends) {
        for (bool again = false;; again = true) {
            bool good = false;
            bool portFailed = false;
            try {
                good = (!again || replayBuffer()) && send();
            } catch (const SerialError& e) {
                h_.dialogs.messageBox(e.what(), "Ошибка", MessageIcon::Error, MessageButtons::Ok);
                portFailed = true;
            }
            if (good)
                return true;
            if (silentResends && !portFailed && resends_ < kSilentResends) {
                ++resends_;
                continue;
            }
            if (!askRetry())
                return false;
            resends_ = 0;
        }
    }

    // The commands that filled the page buffer since the current page's last store: its load
    // from the flash, then its records.
    bool replayBuffer() {
        for (const auto& step : buffered_) {
            if (!step())
                return false;
        }
        return true;
    }
    // Runs a buffer command as `command` does; once the modem took it, it is replayed with the
    // page's other buffer commands after a later failure.
    bool bufferCommand(std::function<bool()> send, bool silentResends) {
        if (!command(send, silentResends))
            return false;
        buffered_.push_back(std::move(send));
        return true;
    }
    // The store that ends a page; the next page's buffer starts afresh.
    bool store(std::uint16_t page, bool silentResends) {
        if (!command([this, page] { return storeBufferToPage(h_.link, page, kStoreSettleMs); },
                     silentResends))
            return false;
        buffered_.clear();
        return true;
    }
    bool load(std::uint16_t page, bool silentResends) {
        return bufferCommand(
            [this, page] { return loadPageToBuffer(h_.link, page, kLoadSettleMs); }, silentResends);
    }
    bool writeRecord(std::uint16_t offset, const DictionaryRecord& record, int settleMs,
                     bool silentResends) {
        return bufferCommand(
            [this, offset, record, settleMs] {
                return writeBufferChunk(h_.link, offset, record.bytes, settleMs);
            },
            silentResends);
    }

    // Retry reopens the link, asking again while it cannot be opened.
    bool askRetry() {
        for (;;) {
            if (h_.dialogs.messageBox("Ошибка связи с модемом", "Модем", MessageIcon::Error,
                                      MessageButtons::RetryCancel) != MessageResult::Retry) {
                return false;
            }
            if (h_.reopenLink())
                return true;
        }
    }

    bool protocol0(LineReader& lines) {
        int n = 0;
        for (std::uint16_t page = 1; page <= kProtocol0Codes / 8; ++page) {
            for (int slot = 0; slot < 8; ++slot) {
                if (lines.atEnd()) {
                    return error("Непредвиденный конец файла. Записано сообщений" +
                                 std::to_string(n) + "из 767");
                }
                const Protocol0Line line = parseProtocol0Line(lines.next());
                const std::string number = std::to_string(n);
                if (line.error == Protocol0Line::Error::Numbering) {
                    return error("Ошибка в строке № " + number +
                                 ". Неверный формат нумерации сообщений.");
                }
                if (line.dec != n || line.hex != n) {
                    return error("Пропущена строка № " + number +
                                 " или неверный формат нумерации сообщений");
                }
                if (line.error == Protocol0Line::Error::Type)
                    return error("Ошибка в строке № " + number +
                                 ". Неверный формат типа сообщений.");
                const auto record =
                    makeRecord(line.text, static_cast<std::uint8_t>(line.type & 0xFF));
                if (!record) {
                    return error("Ошибка в строке № " + number +
                                 ". Текст сообщения длиннее 31 символа.");
                }
                const auto offset = static_cast<std::uint16_t>(slot * 32);
                if (!writeRecord(offset, *record, kProtocol0ChunkSettleMs, true))
                    return false;
                sent_.push_back({n, offset, {record->bytes.begin(), record->bytes.end()}});
                h_.showProgress("Записано " + number + " сообщений из 767");
                ++n;
            }
            if (!store(page, true) || !verifyPage(page, true))
                return false;
        }
        return true;
    }

    // A record as it went into the page buffer.
    struct SentRecord {
        int code;
        std::uint16_t offset;
        std::vector<std::uint8_t> bytes;
    };

    // With verification on, loads the page just stored back into the buffer and compares every
    // record sent for it; the first difference fails the upload naming its code.
    bool verifyPage(std::uint16_t page, bool silentResends) {
        std::vector<SentRecord> sent = std::move(sent_);
        sent_.clear();
        if (!h_.verify)
            return true;
        // A read that fails starts again from the load: the buffer may be gone.
        if (!load(page, silentResends))
            return false;
        for (const SentRecord& record : sent) {
            std::optional<std::vector<std::uint8_t>> held;
            const auto length = static_cast<std::uint16_t>(record.bytes.size());
            if (!command(
                    [&] {
                        held = readBufferChunk(h_.link, record.offset, length, kReadSettleMs);
                        return held.has_value();
                    },
                    silentResends))
                return false;
            if (*held != record.bytes)
                return error("Проверка записи: в модеме другая запись словаря № " +
                             std::to_string(record.code));
        }
        buffered_.clear();
        return true;
    }

    bool rpiPlus(LineReader& lines) {
        std::uint16_t current = kFirstRpiPlusPage;
        int count = 0;
        while (lines.skipBlanks()) {
            const std::string_view text = lines.next();
            if (text.front() == ':' && !rpiPlusRecord(text, current))
                return false;
            ++count;
            h_.showProgress("Записано " + std::to_string(count) + " сообщений из 1000");
        }
        return store(current, false) && verifyPage(current, false);
    }

    bool rpiPlusRecord(std::string_view text, std::uint16_t& current) {
        const RpiPlusLine line = parseRpiPlusLine(text);
        const std::string at = "Ошибка в " + line.decField + "(DEC) ";
        switch (line.error) {
            case RpiPlusLine::Error::MissingTab:
                return error(at + "строке. Пропущена табуляция.");
            case RpiPlusLine::Error::TooLong:
                return error(at +
                             "сообщении. Количесткво символов в сообщении не должно быть "
                             "больше 30.");
            case RpiPlusLine::Error::BadNumber:
                return error(at + "сообщении. Неверный формат в DEC,HEX или номере группы.");
            case RpiPlusLine::Error::NotEqual:
                return error(at + "сообщении. DEC и HEX не равны.");
            case RpiPlusLine::Error::OutOfRange:
                return error(at + "сообщении. Код сообщения должен быть от 0 до 2047.");
            case RpiPlusLine::Error::None:
                break;
        }
        const FlashPlace place = *rpiPlusPlace(line.code);
        if (place.page != current) {
            if (!store(current, false) || !verifyPage(current, false))
                return false;
            // The page's other codes keep what the modem holds: a page is committed whole.
            // (Page 97, the first, is not loaded: it takes whatever the buffer holds.)
            if (!load(place.page, false))
                return false;
            current = place.page;
        }
        const auto record = *makeRecord(line.text, static_cast<std::uint8_t>(line.group));
        if (!writeRecord(place.offset, record, kRpiPlusChunkSettleMs, false))
            return false;
        sent_.push_back({line.code, place.offset, {record.bytes.begin(), record.bytes.end()}});
        return true;
    }

    DictionaryTransferHooks& h_;
    int resends_ = 0;
    std::vector<SentRecord> sent_;  // the records in the page buffer since the last store
    std::vector<std::function<bool()>> buffered_;
};

class Download {
  public:
    explicit Download(DictionaryTransferHooks& hooks) : h_(hooks) {}

    std::optional<DownloadedDictionary> run() {
        for (const std::string& line : protocol0HeadLines())
            out_.fileBytes += line + "\r\n";
        int page = 1;
        int slot = 0;
        bool open = reopen();
        while (page <= kProtocol0Codes / 8) {
            if (open && readPage(page, slot)) {
                ++page;
                slot = 0;
                continue;
            }
            if (h_.dialogs.messageBox("Нет связи с модемом", "Модем", MessageIcon::Error,
                                      MessageButtons::RetryCancel) != MessageResult::Retry) {
                h_.link.Close();
                return std::nullopt;
            }
            h_.link.PurgeInput();
            h_.link.PurgeOutput();
            h_.link.Close();
            open = reopen();
        }
        return std::move(out_);
    }

  private:
    bool reopen() {
        if (!guarded([&] { return h_.reopenLink(); }))
            return false;
        return guarded([&] {
            h_.link.ReadAvailable();
            return true;
        });
    }

    // A port error fails the exchange after its own message.
    bool guarded(const std::function<bool()>& exchange) {
        try {
            return exchange();
        } catch (const SerialError& e) {
            h_.dialogs.messageBox(e.what(), "Ошибка", MessageIcon::Error, MessageButtons::Ok);
            return false;
        }
    }

    // Reads the page from `slot` on; `slot` stays at the record that failed.
    bool readPage(int page, int& slot) {
        const auto number = static_cast<std::uint16_t>(page);
        if (!guarded([&] { return loadPageToBuffer(h_.link, number, kLoadSettleMs); }))
            return false;
        for (; slot < 8; ++slot) {
            std::optional<std::vector<std::uint8_t>> bytes;
            guarded([&] {
                bytes = readBufferChunk(h_.link, static_cast<std::uint16_t>(slot * 32), kRecordSize,
                                        kReadSettleMs);
                return bytes.has_value();
            });
            if (!bytes)
                return false;
            append((page - 1) * 8 + slot, *bytes);
        }
        return true;
    }

    void append(int code, const std::vector<std::uint8_t>& bytes) {
        DictionaryRecord record;
        std::copy(bytes.begin(), bytes.end(), record.bytes.begin());
        std::string text = recordText(record);
        bool changed = false;
        for (char& c : text) {
            if (c == '\t' || c == '\r' || c == '\n') {
                c = ' ';
                changed = true;
            }
        }
        if (changed)
            out_.changedCodes.push_back(code);
        out_.fileBytes += protocol0RecordLine(code, text, recordType(record));
        h_.showProgress("Считано " + std::to_string(code) + " сообщений из 767");
    }

    DictionaryTransferHooks& h_;
    DownloadedDictionary out_;
};

}  // namespace

bool uploadDictionary(DictionaryTransferHooks& hooks, std::string_view fileBytes) {
    return Upload(hooks).run(fileBytes);
}

std::optional<DownloadedDictionary> downloadDictionary(DictionaryTransferHooks& hooks) {
    return Download(hooks).run();
}

}  // namespace zelar
