// GUI tests run on Qt's offscreen platform (CTest sets QT_QPA_PLATFORM).
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no window system.
    if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    // Remembered settings go to a test location, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName("cdnozzle-tests");
    QApplication::setApplicationName("cdnozzle-tests");
    QSettings().clear();
    return RUN_ALL_TESTS();
}
