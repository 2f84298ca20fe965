// GUI tests run on Qt's offscreen platform (CTest sets QT_QPA_PLATFORM).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no window system.
    if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
