// SPDX-License-Identifier: MIT
// GUI tests run on Qt's offscreen platform (CTest sets QT_QPA_PLATFORM).
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no window system.
    if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    // The offscreen screens: a large one first, where the designed layout
    // fits at the zooms the tests use, a 1920 x 1080 one and a 1366 x 768
    // one beside it.
    QTemporaryFile screens;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && screens.open()) {
        screens.write(R"({"screens": [
            {"name": "Large", "x": 0, "y": 0, "width": 2560, "height": 1600},
            {"name": "FullHD", "x": 2560, "y": 0, "width": 1920, "height": 1080},
            {"name": "Laptop", "x": 4480, "y": 0, "width": 1366, "height": 768}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    // Remembered settings go to a test location, never the user's, and one
    // of each process's own: CTest runs tests side by side, and one test's
    // remembered zoom or pauses must not reach another's window.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName("cdnozzle-tests");
    QApplication::setApplicationName(
        QString("cdnozzle-tests-%1").arg(QCoreApplication::applicationPid()));
    QSettings().clear();
    const int failed = RUN_ALL_TESTS();
    QFile::remove(QSettings().fileName());
    return failed;
}
