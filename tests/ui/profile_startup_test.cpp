#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "app/shell/startup.h"
#include "sim/scripted_dialogs.h"
#include "sim/virtual_clock.h"
#include "ui/config_paths.h"
#include "ui/fake_device_map.h"
#include "ui/qsettings_profile.h"
#include "ui/qt_printers.h"
#include "ui/qt_serial_port.h"

namespace zelar::ui {
namespace {

QString readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void writeFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QStringList modemKeys(const QString& path) {
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup("Modem");
    return settings.childKeys();
}

// Start-up and close of the main window against a real configuration file.
class ProfileStartup : public ::testing::Test {
  protected:
    ProfileStartup() { devices.devices = {{1, "/dev/null"}, {3, "/dev/null"}, {10, "/dev/null"}}; }

    QTemporaryDir dir;
    QString iniPath = dir.path() + "/Kalvimo/Zelar2/Modem.ini";
    QSettingsProfile profile{iniPath};
    test::FakeDeviceMap devices;
    QtSerialPort port{devices};
    sim::VirtualClock clock;
    sim::ScriptedDialogs dialogs;
    App app{Services{port, clock, dialogs, devices}};
};

TEST_F(ProfileStartup, FirstStartHasNoPortAndExpertModeAndCloseWritesOnlyExpert) {
    ASSERT_TRUE(FormShow(app, &profile));
    EXPECT_EQ(app.main.ComboBox1.items, (std::vector<std::string>{"COM1", "COM10", "COM3"}));
    EXPECT_EQ(app.main.ComboBox1.itemIndex, -1);
    EXPECT_EQ(app.main.cbExpert.text, "Эксперт");
    for (const Panel* panel : app.main.expertPanels())
        EXPECT_TRUE(panel->visible);
    EXPECT_FALSE(QFile::exists(iniPath));

    FormClose(app, profile);
    EXPECT_EQ(modemKeys(iniPath), QStringList{"Expert"});
    EXPECT_EQ(profile.readInt("Modem", "Expert", -7), 1);
}

TEST_F(ProfileStartup, ExpertZeroIsUserModeAndAnyOtherValueIsExpert) {
    for (const auto& [stored, mode] : {std::pair{"0", "Пользователь"}, {"5", "Эксперт"}}) {
        const QString path = dir.path() + "/" + stored + "/Modem.ini";
        writeFile(path, QByteArray("[Modem]\r\nExpert=") + stored + "\r\n");
        QSettingsProfile storedProfile(path);
        ASSERT_TRUE(FormShow(app, &storedProfile));
        EXPECT_EQ(app.main.cbExpert.text, mode);
        for (const Panel* panel : app.main.expertPanels())
            EXPECT_EQ(panel->visible, std::string(stored) != "0");
    }
}

TEST_F(ProfileStartup, PortThatIsGoneSelectsNothingAndKeepsItsValue) {
    writeFile(iniPath, "[Modem]\nCom=7\nExpert=1\n");
    ASSERT_TRUE(FormShow(app, &profile));
    EXPECT_EQ(app.main.ComboBox1.itemIndex, -1);

    FormClose(app, profile);
    EXPECT_EQ(profile.readInt("Modem", "Com", -1), 7);
}

TEST_F(ProfileStartup, StoredPortIsSelectedAndTheNewSelectionIsSaved) {
    writeFile(iniPath, "[Modem]\nCom=10\nExpert=0\n");
    ASSERT_TRUE(FormShow(app, &profile));
    EXPECT_EQ(app.main.ComboBox1.text, "COM10");

    selectItemText(app.main.ComboBox1, "COM3");
    FormClose(app, profile);
    EXPECT_EQ(profile.readInt("Modem", "Com", -1), 3);
    EXPECT_EQ(profile.readInt("Modem", "Expert", -1), 0);
}

TEST_F(ProfileStartup, FolderThatCannotBeMadeSavesNothing) {
    writeFile(dir.path() + "/Kalvimo", "a file where the folder should be");
    ASSERT_TRUE(FormShow(app, &profile));
    FormClose(app, profile);
    EXPECT_FALSE(QFile::exists(iniPath));
}

TEST(QSettingsProfileFile, EachWriteIsOnDiskAtOnceAndOddValuesReadAsDefault) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/Modem.ini";
    QSettingsProfile profile(path);
    ASSERT_TRUE(profile.createFolder());

    profile.writeInt("Modem", "Com", 12);
    EXPECT_TRUE(readFile(path).contains("Com=12"));
    profile.writeInt("Modem", "Expert", -1);
    EXPECT_TRUE(readFile(path).contains("Expert=-1"));
    EXPECT_TRUE(readFile(path).contains("Com=12"));

    // Another program changing the file is seen by the next read.
    writeFile(path, "[Modem]\nCom=abc\nExpert= 4\n");
    EXPECT_EQ(profile.readInt("Modem", "Com", -1), -1);
    EXPECT_EQ(profile.readInt("Modem", "Expert", -1), 4);
    EXPECT_EQ(profile.readInt("Other", "Com", 9), 9);
}

// The roaming application data folder on Windows, the XDG configuration folder elsewhere.
TEST(ConfigPaths, FollowTheSystemsConfigFolder) {
    QTemporaryDir dir;
#ifdef _WIN32
    const char* const variable = "APPDATA";
    const QString base = QDir::toNativeSeparators(dir.path());
#else
    const char* const variable = "XDG_CONFIG_HOME";
    const QString base = dir.path();
#endif
    const QByteArray saved = qgetenv(variable);
    qputenv(variable, base.toLocal8Bit());
    EXPECT_EQ(configFolder(), dir.path() + "/Kalvimo/Zelar2");
    EXPECT_EQ(modemIniPath(), dir.path() + "/Kalvimo/Zelar2/Modem.ini");
    EXPECT_EQ(portsFolder(), dir.path() + "/Kalvimo/Zelar2/ports");
    if (saved.isNull())
        qunsetenv(variable);
    else
        qputenv(variable, saved);
}

}  // namespace
}  // namespace zelar::ui
