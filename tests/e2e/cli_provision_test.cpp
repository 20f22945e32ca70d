#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "file_text.h"
#include "sim_process.h"
#include "text/cp1251.h"

// zelar-cli provision on four simulated modems at once, one of them failing.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

constexpr int kFirstCom = 61;

using zelar::test::slurp;

class CliProvision : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zelar-cli-provision-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(ports());
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path ports() const { return dir_ / "Kalvimo" / "Zelar2" / "ports"; }
    // Runs zelar-cli with its stdout and stderr in `out`; gives its exit status.
    int cli(const std::string& args, const fs::path& out) const {
        const std::string command = "XDG_CONFIG_HOME='" + dir_.string() +
                                    "' '" ZELAR_CLI_PATH "' " + args + " >'" + out.string() +
                                    "' 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

TEST_F(CliProvision, FourModemsFromATemplateAndAValuesFileOneFailingVerification) {
    std::vector<std::unique_ptr<SimProcess>> sims;
    for (int k = 0; k < 4; ++k) {
        std::vector<std::string> args{"--ports-dir", ports().string(), "--com",
                                      std::to_string(kFirstCom + k)};
        // The fourth modem's memory changes a byte after each write.
        if (k == 3)
            args.insert(args.end(), {"--fault", "alter"});
        sims.push_back(std::make_unique<SimProcess>(args));
    }
    const std::string login = "--user 1 --password 1234 --fast ";
    ASSERT_EQ(cli("backup --port COM61 " + login + file("site.md2"), dir_ / "backup.out"), 0);
    // COM61 and COM62 by port; the others by the serial number all simulators share.
    // The values in UTF-8, the script in Windows-1251 as Notepad saves it.
    std::ofstream(file("values.csv"))
        << "modem,OBJECT,PAGE\nCOM61,71,Параметры объекта\n"
           "COM62,72,Параметры объекта\n7204518,99,Параметры объекта\n";
    std::ofstream(file("object.script")) << zelar::utf8ToCp1251(
        "# ${PORT}\n"
        "select TreeView1 \"Настройка модема\"\n"
        "select PageControl1 \"Параметры объекта\"\n"
        "expect PageControl1 \"${PAGE}\"\n"
        "set EditMainObj ${OBJECT}\n"
        "click ButtonWriteNastr\n");

    const int status =
        cli("provision --ports COM61-COM64 " + login + "--verify --template " + file("site.md2") +
                " --script " + file("object.script") + " --values " + file("values.csv") +
                " --report " + file("report.csv"),
            dir_ / "provision.out");
    EXPECT_EQ(status, 1) << slurp(dir_ / "provision.out");
    std::istringstream report(slurp(file("report.csv")));
    std::vector<std::string> rows;
    for (std::string row; std::getline(report, row);)
        rows.push_back(row.substr(0, row.rfind(',')));  // without the seconds, which vary
    const std::string modem = ",7204518,356938035643809,2.05,";
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "port,serial,imei,firmware,result,step,message",
                        "COM61" + modem + "ok,,",
                        "COM62" + modem + "ok,,",
                        "COM63" + modem + "ok,,",
                        "COM64" + modem +
                            "failed,restore,[Модем] Проверка записи: в модеме другое значение "
                            "поля «Телефон» (Пользователи #1); zelar-cli: written: user 1",
                    }));
    // Each provisioned modem holds its own object number.
    const char* objects[] = {"71", "72", "99"};
    for (int k = 0; k < 3; ++k) {
        const std::string port = "COM" + std::to_string(kFirstCom + k);
        cli("read --port " + port + " " + login, dir_ / "read.out");
        EXPECT_NE(slurp(dir_ / "read.out").find("EditMainObj: " + std::string(objects[k]) + "\n"),
                  std::string::npos)
            << port;
    }
}

}  // namespace
