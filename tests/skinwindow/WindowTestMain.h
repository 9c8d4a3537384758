#pragma once
// The start of every test program of the real window: the program's own
// application, numbers in the C locale, and no error box left waiting for a
// user (each one fails the test that raised it).

#include "app/RaspApplication.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace rasp::test {

inline int RunWindowTests(int argc, char** argv)
{
    QLocale::setDefault(QLocale::c());
    TRaspApplication app(argc, argv);
    app.ErrorBox().SetAnswerHook([](const TMessageRequest& r) {
        ADD_FAILURE() << "message shown: " << r.Text.toStdString();
        return mrOk;
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace rasp::test
