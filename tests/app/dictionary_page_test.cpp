#include "app/service/dictionary_page.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app_fixture.h"
#include "files/dictionary_file.h"
#include "files/file_io.h"
#include "flash/flash_pages.h"
#include "sim_fixture.h"
#include "text/cp1251.h"

namespace zelar {
namespace {

namespace fs = std::filesystem;

class Dictionary : public test::SimFixture {
  protected:
    Dictionary() {
        modem.setLog([this](const std::string& line) {
            if (line.rfind("> ", 0) == 0)
                commands.push_back(line.substr(2));
        });
        fs::create_directories(dir);
    }
    ~Dictionary() override { fs::remove_all(dir); }

    std::string file(const std::string& name, const std::string& bytes) {
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string read(const std::string& path) { return readFileUpTo(path, 1 << 20).value_or(""); }
    bool upload(const std::string& bytes) {
        dialogs.fileNames.push_back(file("up.txt", bytes));
        dialogs.answers.push_back(MessageResult::Ok);
        return btnWriteDictClick(app);
    }
    std::string lastText() const { return dialogs.messages.back().text; }
    // The 32 bytes of flash at a page and offset.
    std::string flash(int page, int offset, std::size_t count = 32) {
        const auto& f = modem.store().flash;
        const auto at = static_cast<std::size_t>(page * 256 + offset);
        return std::string(f.begin() + static_cast<std::ptrdiff_t>(at),
                           f.begin() + static_cast<std::ptrdiff_t>(at + count));
    }
    static std::string protocol0(int records, const std::string& line = {}) {
        std::string text =
            "Protocol=0\t\t\t\r\n\r\n" + utf8ToCp1251("DEC\tHEX\tТекст SMS\tStat") + "\r\n\r\n";
        for (int c = 0; c < records; ++c)
            text += protocol0RecordLine(c, "T" + std::to_string(c), c % 7);
        return text + line;
    }

    std::string dir =
        (fs::temp_directory_path() / ("zelar-dict-" + std::to_string(::getpid()))).string();
    std::vector<std::string> commands;
};

TEST_F(Dictionary, DownloadUploadDownloadGivesTheSameFile) {
    const std::string first = dir + "/first.txt";
    dialogs.fileNames.push_back(first);
    ASSERT_TRUE(BtnReadDictClick(app));
    EXPECT_EQ(lastText(), "Словарь успешно считан.");
    EXPECT_EQ(app.setup.LabCountMessRead.caption, "Считано 767 сообщений из 767");
    const std::string bytes = read(first);
    EXPECT_NE(bytes.find(utf8ToCp1251("13\t00D\tСобытие 13\t1\r\n")), std::string::npos);

    const auto start = clock.nowUs();
    ASSERT_TRUE(upload(bytes));
    // The fixed waits of a protocol-0 upload: 768 chunks of 100 ms and 96 commits of 150 ms.
    EXPECT_NEAR(static_cast<double>(clock.nowUs() - start) / 1e6, 91.2, 0.5);
    EXPECT_EQ(lastText(), "Запись словаря успешно завершена");
    EXPECT_EQ(app.setup.LabelCountMess.caption, "");

    dialogs.fileNames.push_back(dir + "/second.txt");
    ASSERT_TRUE(BtnReadDictClick(app));
    EXPECT_EQ(read(dir + "/second.txt"), bytes);
}

TEST_F(Dictionary, Protocol0RecordsAndFileErrors) {
    // Type 300 keeps its low byte; a 31-byte text has no zero after it.
    std::string text = protocol0(768);
    const std::string line2 = "2\t002\tT2\t2\r\n";
    text.replace(text.find(line2), line2.size(), "2\t2\t" + std::string(31, 'W') + "\t300\r\n");
    ASSERT_TRUE(upload(text)) << lastText();
    EXPECT_EQ(flash(1, 64), std::string(31, 'W') + char(44));

    const struct {
        std::string file;
        std::string message;
    } cases[] = {
        {protocol0(767),
         "Непредвиденный конец файла: сообщений в файле 767 из 768. В модем ничего не записано"},
        {protocol0(0),
         "Непредвиденный конец файла: сообщений в файле 0 из 768. В модем ничего не записано"},
        {"Protocol=0\r\n", "Не обнаружен маркер словаря"},
        {"Protocol=0\t\t\t\r\n\r\nDEC\tHEX\tТекст SMS\tStat\r\n\r\n", "Неверный формат файла"},
        {protocol0(5) + "6\t6\tT6\t0\r\n",
         "Пропущена строка № 5 или неверный формат нумерации сообщений"},
        {protocol0(5) + "5\t6\tT\t1\r\n",
         "Пропущена строка № 5 или неверный формат нумерации сообщений"},
        {protocol0(3) + "3\t3\t" + std::string(32, 'L') + "\t1\r\n",
         "Ошибка в строке № 3. Текст сообщения длиннее 31 символа."},
        {protocol0(3) + "3\tx\tT\t1\r\n",
         "Ошибка в строке № 3. Неверный формат нумерации сообщений."},
        // Cut in the middle of a line, half way through.
        {protocol0(386) + "386\t182\tT3", "Ошибка в строке № 386. Неверный формат типа сообщений."},
        {"Protocol=1\t\t\t\r\n:\t0\t0\tA\t1\r\n:\t5\t5\tB\t1\r\n:\t7\t8\tC\t1\r\n",
         "Ошибка в 7(DEC) сообщении. DEC и HEX не равны."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        commands.clear();
        EXPECT_FALSE(upload(c.file));
        EXPECT_EQ(lastText(), c.message);
        // The whole file is checked first: a refused file leaves the modem untouched.
        EXPECT_TRUE(commands.empty()) << commands.size() << " commands";
        EXPECT_FALSE(app.link.isOpen());
        EXPECT_TRUE(app.setup.btnWriteDict.enabled);
    }
}

// Each command has three silent resends of its own: a fourth failure of one command asks, and
// errors long past leave a later command its resends.
TEST_F(Dictionary, Protocol0ResendsThreeTimesSilentlyThenAsks) {
    using F = sim::ReplyFault;
    for (const auto& [last, asked] : {std::pair{sim::FaultRule{F::Silent, 18, 4}, true},
                                      std::pair{sim::FaultRule{F::Silent, 20, 1}, false}}) {
        cable.powerCycle();  // the restart counts the commands afresh
        clock.advanceMs(10'000);
        modem.options().faults.rules = {{F::NoOk, 18, 1}, {F::NoOk, 18, 2}, {F::NoOk, 18, 3}, last};
        dialogs.messages.clear();
        dialogs.answers = {MessageResult::Ok, MessageResult::Retry};
        dialogs.fileNames.push_back(file("up.txt", protocol0(768)));
        ASSERT_TRUE(btnWriteDictClick(app)) << lastText();
        ASSERT_EQ(dialogs.messages.size(), asked ? 3U : 2U) << asked;
        EXPECT_EQ(dialogs.messages[1].text, asked ? "Ошибка связи с модемом" : lastText());
    }
}

// Page 1 holds codes 0 to 7 and reads back as sent; code 10 on page 2 is changed after its OK.
TEST_F(Dictionary, VerificationReadsEachPageBackAndNamesTheChangedRecord) {
    app.main.cbVerifyWrites.checked = true;
    modem.options().faults.rules.push_back({sim::ReplyFault::Alter, 18, 11});
    EXPECT_FALSE(upload(protocol0(768)));
    EXPECT_EQ(lastText(), "Проверка записи: в модеме другая запись словаря № 10");
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "AT+V210001"), 1);
    EXPECT_EQ(commands.back(), "AT+V1900400020");
}

struct PowerCut {
    bool rpiPlus;
    bool verify;
    std::string after;  // the cut follows the occurrence-th command that begins with this
    int occurrence;
    friend void PrintTo(const PowerCut& c, std::ostream* os) {
        *os << (c.rpiPlus ? "RPI+" : "protocol 0") << (c.verify ? ", verified" : "") << ", after "
            << c.after << " #" << c.occurrence;
    }
};

class DictionaryPowerCut : public Dictionary, public ::testing::WithParamInterface<PowerCut> {};

// The modem loses power for 3 s right after one command of the upload and comes back with its
// page buffer empty; every "Ошибка связи с модемом" is answered with Retry. The upload must end
// with the flash as a clean upload leaves it (page 97 aside: it takes whatever the buffer held).
TEST_P(DictionaryPowerCut, RetryLeavesEveryRecordOfTheFileInTheFlash) {
    const PowerCut& c = GetParam();
    // RPI+ pages 100 to 102 hold other codes that the file leaves alone.
    const std::string text = c.rpiPlus
                                 ? "Protocol=1\t\t\t\r\n:\t0\t0\tA0\t1\r\n:\t1024\t400\tA1\t2\r\n"
                                   ":\t2\t2\tA2\t3\r\n:\t4\t4\tB0\t4\r\n:\t5\t5\tB1\t5\r\n"
                                   ":\t1030\t406\tB2\t6\r\n:\t8\t8\tC0\t7\r\n"
                                 : protocol0(768);
    auto& flash = modem.store().flash;
    for (std::size_t at = 100 * 256; at < 103 * 256; ++at)
        flash[at] = static_cast<std::uint8_t>('a' + at % 26);
    const std::vector<std::uint8_t> before = flash;
    app.main.cbVerifyWrites.checked = c.verify;
    ASSERT_TRUE(upload(text)) << lastText();
    std::vector<std::uint8_t> clean = flash;
    int n = 0;
    for (int seen = 0; seen < c.occurrence; ++n) {
        ASSERT_LT(n, static_cast<int>(commands.size()));
        seen += commands[static_cast<std::size_t>(n)].rfind(c.after, 0) == 0 ? 1 : 0;
    }

    flash = before;
    modem.options().faults.powerCutAfter = n;
    dialogs.messages.clear();
    EXPECT_TRUE(upload(text)) << lastText();
    EXPECT_EQ(lastText(), "Запись словаря успешно завершена");
    EXPECT_GT(dialogs.messages.size(), 2U);  // Retry was asked
    std::copy_n(flash.begin() + 97 * 256, 256, clean.begin() + 97 * 256);
    for (std::size_t page = 0; page < flash.size() / 256; ++page) {
        const auto from = static_cast<std::ptrdiff_t>(page * 256);
        EXPECT_TRUE(
            std::equal(flash.begin() + from, flash.begin() + from + 256, clean.begin() + from))
            << "page " << page;
    }
}

// Protocol 0, page 2: after a record's write, after the last write (the store is lost), after
// the store (the verification's load is lost), after a read of the verification. RPI+, page 101
// (loaded from the flash first): the same, and after page 100's store (page 101's load is lost).
INSTANTIATE_TEST_SUITE_P(Cuts, DictionaryPowerCut,
                         ::testing::Values(PowerCut{false, false, "AT+V1800600020", 2},
                                           PowerCut{false, false, "AT+V1800E00020", 2},
                                           PowerCut{false, true, "AT+V1800600020", 2},
                                           PowerCut{false, true, "AT+V200002", 1},
                                           PowerCut{false, true, "AT+V1900400020", 2},
                                           PowerCut{true, false, "AT+V1800000020", 2},
                                           PowerCut{true, false, "AT+V1800A00020", 1},
                                           PowerCut{true, false, "AT+V200064", 1},
                                           PowerCut{true, true, "AT+V1800000020", 2},
                                           PowerCut{true, true, "AT+V1900000020", 2}));

TEST_F(Dictionary, RpiPlusPlacementKeepsTheModemsOtherCodes) {
    // Page 100 holds codes 0 to 3 and 1024 to 1027; the file gives only 1024 and 0.
    modem.store().flash[100 * 256 + 64] = 'K';
    const std::string file =
        "Protocol=1\t\t\t\r\n\r\nDEC\tHEX\ttext\tgroup\r\n"
        ":\t1024\t400\tA\t3\r\n  :\t5\t5\tB\t12\r\n"
        ":\t2047\t7ff\tC\t9\r\n:\t0\t0\tD\t0\r\n";
    ASSERT_TRUE(upload(file));
    EXPECT_EQ(flash(100, 32, 2), std::string("A\0", 2));
    EXPECT_EQ(flash(100, 63, 1), "\x03");
    EXPECT_EQ(flash(101, 64, 2), std::string("B\0", 2));
    EXPECT_EQ(flash(101, 95, 1), "\x01");
    EXPECT_EQ(flash(355, 224, 1), "C");
    EXPECT_EQ(flash(100, 0, 1), "D");
    EXPECT_EQ(flash(100, 64, 1), "K");
    EXPECT_EQ(app.setup.LabelCountMess.caption, "");
    EXPECT_EQ(commands.front(), "AT+V200061");
}

TEST_F(Dictionary, RpiPlusWithoutRecordsCommitsPage97Only) {
    ASSERT_TRUE(upload("Protocol=1\t\t\t\r\n\r\n"));
    EXPECT_EQ(commands, std::vector<std::string>{"AT+V200061"});
    EXPECT_FALSE(upload("Protocol=1\t\t\t\r\n:\t7\t7\t" + std::string(31, 'x') + "\t1\r\n"));
    EXPECT_EQ(
        lastText(),
        "Ошибка в 7(DEC) сообщении. Количесткво символов в сообщении не должно быть больше 30.");
}

TEST_F(Dictionary, DownloadRetryReadsEveryCodeOnceAndCancelKeepsTheOldFile) {
    // The 14th V19 is the record of code 13 (page 2, slot 5).
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent, 19, 14});
    modem.store().flash[3 * 256 + 1] = '\t';
    dialogs.answers.push_back(MessageResult::Retry);
    dialogs.fileNames.push_back(dir + "/d.txt");
    ASSERT_TRUE(BtnReadDictClick(app));
    const std::string bytes = read(dir + "/d.txt");
    std::size_t at = 0;
    for (int code = 0; code < 768; ++code) {
        const auto next = bytes.find("\r\n" + std::to_string(code) + "\t", at);
        ASSERT_NE(next, std::string::npos) << code;
        at = next + 1;
    }
    EXPECT_NE(bytes.find(utf8ToCp1251("16\t010\tС бытие 16")), std::string::npos);
    EXPECT_EQ(lastText(),
              "В текстах сообщений с кодами 16 знаки табуляции и перевода строки записаны "
              "пробелами");

    file("old.txt", "old");
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent, 21, 0});
    dialogs.answers.push_back(MessageResult::Cancel);
    dialogs.fileNames.push_back(dir + "/old.txt");
    EXPECT_FALSE(BtnReadDictClick(app));
    EXPECT_EQ(read(dir + "/old.txt"), "old");
    EXPECT_FALSE(fs::exists(dir + "/old.txt.tmp"));
}

// What stops either transfer before the modem is asked: a cancelled file dialog, a file that
// cannot be read or is too large, another operation holding the link (no dialog even opens).
TEST_F(Dictionary, StoppedBeforeTheModemIsAsked) {
    const struct {
        const char* name;
        bool (*click)(App&);
        std::optional<std::string> path;  // the dialog's answer
        bool linkTaken;
        std::vector<std::string> messages;
    } cases[] = {
        {"upload cancelled", btnWriteDictClick, std::nullopt, false, {}},
        {"download cancelled", BtnReadDictClick, std::nullopt, false, {}},
        {"upload of a missing file",
         btnWriteDictClick,
         dir + "/missing.txt",
         false,
         {"Не могу открыть файл"}},
        {"upload of a file too large",
         btnWriteDictClick,
         file("large.txt", std::string((4 << 20) + 1, 'x')),
         false,
         {"Неверный формат файла"}},
        {"upload while the link is taken",
         btnWriteDictClick,
         file("up.txt", protocol0(768)),
         true,
         {}},
        {"download while the link is taken", BtnReadDictClick, dir + "/d.txt", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.messages.clear();
        dialogs.fileNames = {c.path};
        std::optional<TModemLink::Lease> other;
        if (c.linkTaken)
            other.emplace(app.link);
        EXPECT_FALSE(c.click(app));
        EXPECT_EQ(dialogs.fileNames.size(), c.linkTaken ? 1u : 0u);
        std::vector<std::string> shown;
        for (const auto& m : dialogs.messages)
            shown.push_back(m.text);
        EXPECT_EQ(shown, c.messages);
        EXPECT_TRUE(commands.empty());
        EXPECT_FALSE(app.link.isOpen());
        EXPECT_TRUE(app.setup.btnWriteDict.enabled && app.setup.BtnReadDict.enabled);
        EXPECT_FALSE(fs::exists(dir + "/d.txt"));
    }
}

// The page commands on a scripted line: what a reply must be, and a late reply.
class FlashPages : public test::AppFixture {
  protected:
    FlashPages() { app.link.Open(1); }
};

TEST_F(FlashPages, ReadChunkNeedsItsExactLengthAndLateRepliesGoToTheNextCommand) {
    const std::string payload(64, 'A');
    port.arrive(10, "\r\n" + payload.substr(2) + "\r\nOK\r\n");
    EXPECT_FALSE(readBufferChunk(app.link, 0, 32, 60));
    port.arrive(10, "\r\n" + payload.substr(1) + "G\r\nOK\r\n");
    EXPECT_FALSE(readBufferChunk(app.link, 0, 32, 60));
    port.arrive(10, "\r\n" + payload + "\r\nOK\r\n");
    EXPECT_EQ(readBufferChunk(app.link, 0, 32, 60), std::vector<std::uint8_t>(32, 0xAA));

    port.arrive(160, "\r\nOK\r\n");
    EXPECT_FALSE(storeBufferToPage(app.link, 100, 150));
    EXPECT_TRUE(loadPageToBuffer(app.link, 100, 40));
    EXPECT_EQ(port.sent.back(), "AT+V210064\r");

    app.link.Close();
    EXPECT_FALSE(writeBufferChunk(app.link, 0xC0, std::vector<std::uint8_t>(32), 100));
    EXPECT_EQ(port.sent.back(), "AT+V210064\r");
}

}  // namespace
}  // namespace zelar
