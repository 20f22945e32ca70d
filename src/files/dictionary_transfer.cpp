#include "files/dictionary_transfer.h"

#include "files/dictionary_check.h"
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
        const CheckedDictionary file = checkDictionaryFile(fileBytes);
        if (!file.error.empty())
            return error(file.error);
        if (!h_.reopenLink())
            return error("Не могу открыть порт");
        const bool done = send(file);
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
    // resend, silent or after Retry, first fills the buffer again (replayBuffer). Each command
    // has resends of its own: errors long past must not leave a later command without them.
    bool command(const std::function<bool()>& send, bool silentResends) {
        int resends = 0;
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
            if (silentResends && !portFailed && resends < kSilentResends) {
                ++resends;
                continue;
            }
            if (!askRetry())
                return false;
            resends = 0;
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

    // Records go into the page buffer in file order; the buffer is stored whenever the next
    // record lies on another page, and at the end. Protocol 0 runs page by page and fills every
    // slot; an RPI+ page is loaded from the flash first so that the codes the file leaves out
    // keep what the modem holds (page 97, the first, is not loaded: it takes whatever the buffer
    // holds). Only protocol 0 resends a failed command silently.
    bool send(const CheckedDictionary& file) {
        const bool protocol0 = file.kind == DictionaryKind::Protocol0;
        std::uint16_t current = protocol0 ? 1 : kFirstRpiPlusPage;
        int count = 0;
        for (const UploadLine& line : file.lines) {
            if (line.place) {
                const FlashPlace place = *line.place;
                if (place.page != current) {
                    if (!store(current, protocol0) || !verifyPage(current, protocol0))
                        return false;
                    if (!protocol0 && !load(place.page, false))
                        return false;
                    current = place.page;
                }
                if (!writeRecord(place.offset, line.record,
                                 protocol0 ? kProtocol0ChunkSettleMs : kRpiPlusChunkSettleMs,
                                 protocol0))
                    return false;
                sent_.push_back({line.code,
                                 place.offset,
                                 {line.record.bytes.begin(), line.record.bytes.end()}});
            }
            ++count;
            h_.showProgress(protocol0
                                ? "Записано " + std::to_string(line.code) + " сообщений из 767"
                                : "Записано " + std::to_string(count) + " сообщений из 1000");
        }
        return store(current, protocol0) && verifyPage(current, protocol0);
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

    DictionaryTransferHooks& h_;
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
