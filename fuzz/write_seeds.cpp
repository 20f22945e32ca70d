// Writes the seed corpus of the fuzz targets with the project's own writers: the replies of the
// simulated modem to a whole read and a whole dictionary download, the dictionary files the
// download writes, and a script. Run: write_seeds <corpus folder>.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/diagnostics/diagnostics_page.h"
#include "app/shell/read_settings.h"
#include "app/shell/startup.h"
#include "files/dictionary_transfer.h"
#include "files/settings_file.h"
#include "fuzz_app.h"
#include "sim/installed_modem.h"
#include "sim/sim_serial_port.h"

namespace {

namespace fs = std::filesystem;
using namespace zelar;

// Passes everything through and keeps each read as a piece of the fuzz ports' input.
class RecordingPort : public SerialPort {
  public:
    explicit RecordingPort(SerialPort& inner) : inner_(inner) {}
    void open(int n, const LineSettings& s) override { inner_.open(n, s); }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    void purgeInput() override { inner_.purgeInput(); }
    void purgeOutput() override { inner_.purgeOutput(); }
    void write(const std::string& bytes) override { inner_.write(bytes); }
    std::string readAll() override {
        std::string bytes = inner_.readAll();
        for (std::size_t at = 0;; at += 255) {
            const std::string piece = bytes.substr(std::min(at, bytes.size()), 255);
            pieces += static_cast<char>(piece.size());
            pieces += piece;
            if (at + 255 >= bytes.size())
                break;
        }
        return bytes;
    }
    void setReceivedHandler(std::function<void()> h) override { inner_.setReceivedHandler(h); }

    std::string pieces;

  private:
    SerialPort& inner_;
};

void save(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_seeds <corpus folder>\n";
        return 2;
    }
    const fs::path corpus = argv[1];
    sim::VirtualClock clock;
    sim::SimModem modem(sim::installedModem());
    sim::SimCable cable(clock, modem, 1);
    sim::SimSerialPort simPort(cable);

    {
        RecordingPort port(simPort);
        fuzz::FuzzApp f(port, clock);
        btnReadNastUserClick(f.app);
        save(corpus / "read_replies_fuzz", "full-read", port.pieces);
        SettingsFileContent content;
        content.image = f.app.image;
        content.created = "07.12.2026 10:00:00";
        content.serialNumber = "426543";
        content.softVersion = "2.05";
        content.autoDetect = 1;
        save(corpus / "settings_file_fuzz", "installed.md2", composeSettingsFile(content));
    }
    {
        RecordingPort port(simPort);
        fuzz::FuzzApp f(port, clock);
        BitBtnTestClick(f.app);
        BitBtnReadBalanceClick(f.app);
        BitBtnReadErrorClick(f.app);
        save(corpus / "diagnostics_replies_fuzz", "three", port.pieces);
    }
    {
        // A coded file: version 2.05 of 15.03.10 in its header, then payload; an open one with
        // its version mark.
        std::string coded = {2, 5, 15, 3, 10};
        coded.resize(16, '\0');
        coded += std::string(600, '\x5A');
        save(corpus / "firmware_image_fuzz", "coded.dat", coded);
        save(corpus / "firmware_image_fuzz", "open.bin",
             std::string(300, '\x11') + "     Ver0205" + std::string(300, '\x22'));
    }
    std::string dictionary;
    {
        RecordingPort port(simPort);
        fuzz::FuzzApp f(port, clock);
        DictionaryTransferHooks hooks{f.app.link, f.dialogs,
                                      [&] {
                                          f.app.link.Open(1);
                                          return true;
                                      },
                                      [](const std::string&) {}};
        f.cancelQuestions();
        const auto downloaded = downloadDictionary(hooks);
        if (!downloaded) {
            for (const auto& m : f.dialogs.messages)
                std::cerr << m.caption << ": " << m.text << '\n';
            return 1;
        }
        dictionary = downloaded->fileBytes;
        save(corpus / "dictionary_download_fuzz", "full-download", port.pieces);
    }
    save(corpus / "dictionary_file_fuzz", "protocol0.txt", dictionary);
    save(corpus / "dictionary_file_fuzz", "rpi-plus.txt",
         "Protocol=1\t\t\t\r\n\r\nDEC\tHEX\ttext\tgroup\r\n:\t1024\t400\tA\t3\r\n"
         ":\t5\t5\tB\t1\r\n:\t2047\t7FF\tC\t9\r\n");
    save(corpus / "script_parser_fuzz", "apn.script",
         "# SIM 1 gets its own access point\n"
         "select TreeView1 \"Настройка модема\"\n"
         "select PageControl1 \"Настройка SIM-карт\"\n"
         "check AutoSetPar1 0\n"
         "set EditSim1APN \"internet.example\"\n"
         "click ButtonWriteNastr\n"
         "answer Yes\nfile \"\"\nwait 100\nkey EditPassword Enter\n"
         "expect EditSim1APN internet.example\ndump\n");
    return 0;
}
