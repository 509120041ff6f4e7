#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>

#include <gtest/gtest.h>

// Every test executable gets a QApplication on the offscreen platform, so widget and
// drawing tests run on machines without a display.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // Settings and other files the program keeps for the user go to a test folder, never to
    // the real one.
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
