// GoogleTest entry for tests that need a QApplication (Qt's offscreen platform).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Always offscreen: no display needed, 96 dpi, and test discovery works anywhere.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // One number format whatever the developer's locale: the point is the decimal separator.
    qputenv("LC_ALL", "C.UTF-8");
    testing::InitGoogleTest(&argc, argv);
    // Death tests re-run the test binary rather than fork a process with Qt's threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication application(argc, argv);
    QApplication::setApplicationName("lumeno");
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
