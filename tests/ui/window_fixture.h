#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "ui/config_program.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zelar::ui::test {

// The variable that says where the configuration folder lies.
#ifdef _WIN32
inline const char* const kConfigBase = "APPDATA";
#else
inline const char* const kConfigBase = "XDG_CONFIG_HOME";
#endif

// The window program under the offscreen platform, with its configuration in a temporary
// folder.
class Window : public ::testing::Test {
  protected:
    Window() {
        saved_ = qgetenv(kConfigBase);
        qputenv(kConfigBase, QFile::encodeName(dir.path()));
#ifdef _WIN32
        // The system's serial device map lists one port; the test run keeps no other there.
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSerialComm, kTestPort, REG_SZ, L"COM7",
                        5 * sizeof(wchar_t));
#else
        QDir().mkpath(folder + "/ports");
        QFile::link("/dev/null", folder + "/ports/COM7");
#endif
        program = std::make_unique<ConfigProgram>();
    }
    ~Window() override {
        program.reset();
#ifdef _WIN32
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSerialComm, kTestPort);
#endif
        if (saved_.isNull())
            qunsetenv(kConfigBase);
        else
            qputenv(kConfigBase, saved_);
    }

    template <class W>
    W& widget(const char* name) {
        W* found = program->mainWindow().findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }

    // Runs `action` and returns each modal window it opened, as "title: text", closing each.
    static QStringList modalsDuring(const std::function<void()>& action) {
        QStringList opened;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                const auto* box = qobject_cast<QMessageBox*>(modal);
                opened << modal->windowTitle() + (box != nullptr ? ": " + box->text() : "");
                modal->close();
            }
        });
        closer.start(20);
        action();
        return opened;
    }

    QTemporaryDir dir;
    QString folder = dir.path() + "/Kalvimo/Zelar2";
    QString ini = folder + "/Modem.ini";
    std::unique_ptr<ConfigProgram> program;

  private:
#ifdef _WIN32
    static constexpr const wchar_t* kSerialComm = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
    static constexpr const wchar_t* kTestPort = L"\\Device\\ZelarTest7";
#endif
    QByteArray saved_;
};

}  // namespace zelar::ui::test
