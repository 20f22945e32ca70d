// Test entry point for everything that needs a Qt application object.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

int main(int argc, char** argv) {
    // Test discovery runs the binary at build time, outside the test environment, and there
    // may be no display at all. Under wine, too: it passes no QT_ variables to the program.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifndef _WIN32
        // A desktop's screen, where the main window has room to show whole (the platform's own
        // is 800x800). The platform's options are split at colons, so not on Windows.
        QFile screen(runtimeDir.filePath("screen.json"));
        if (screen.open(QIODevice::WriteOnly) &&
            screen.write(R"({"screens": [{"name": "Desktop", "x": 0, "y": 0, "width": 1920,
                "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") > 0) {
            screen.close();
            qputenv("QT_QPA_PLATFORM",
                    "offscreen:configfile=" + QFile::encodeName(screen.fileName()));
        }
#endif
    }
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid()) {
        QFile::setPermissions(runtimeDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
