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

namespace zelar::ui::test {

// The window program under the offscreen platform, with its configuration in a temporary
// folder.
class Window : public ::testing::Test {
  protected:
    Window() {
        saved_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        QDir().mkpath(folder + "/ports");
        QFile::link("/dev/null", folder + "/ports/COM7");
        program = std::make_unique<ConfigProgram>();
    }
    ~Window() override {
        program.reset();
        if (saved_.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", saved_);
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
    QByteArray saved_;
};

}  // namespace zelar::ui::test
