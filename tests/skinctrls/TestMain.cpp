#include "tests/skinctrls/TestSink.h"

#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Numbers are shown with the locale's separator; the tests expect '.'.
    QLocale::setDefault(QLocale::c());
    TTestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
