// One QApplication for the viewer tests: the Plotter is a widget and its canvas a pixmap. The
// tests draw offscreen at a device pixel ratio of 1, also when started by hand on a desktop
// (and when CTest lists them at build time).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
