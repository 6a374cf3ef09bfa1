// Test entry for every test program: one QApplication on the offscreen
// platform, so widget tests and plain tests share one main, and the
// locations of the build's programs and of the sources in the environment.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/gui/TFonts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("ALTAVO_BIN"))
        qputenv("ALTAVO_BIN", ALTAVO_BIN_DEFAULT);
    if (qEnvironmentVariableIsEmpty("ALTAVO_SOURCE"))
        qputenv("ALTAVO_SOURCE", ALTAVO_SOURCE_DEFAULT);
    QApplication app(argc, argv);
    UseWindowsFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
