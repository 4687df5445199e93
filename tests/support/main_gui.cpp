#include <gtest/gtest.h>

#include <QApplication>

#include "platform/QtMessageBox.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Test discovery at build time needs no GUI.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::SetMessageBoxHandler(platform::ShowQtMessageBox);
    return RUN_ALL_TESTS();
}
