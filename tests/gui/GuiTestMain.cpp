#include <gtest/gtest.h>

#include <QApplication>

// GoogleTest with the QApplication that widgets need. Tests never want a real
// display: the offscreen platform is the default, also when the test runner lists
// the tests.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
