// One QApplication for the printing tests, on the offscreen platform, with the Japanese font substitutions.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/FontSubstitutes.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
