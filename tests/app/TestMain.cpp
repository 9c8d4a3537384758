#include "app/RaspApplication.h"
#include "tests/app/WindowFixture.h"

#include <QLocale>
#include <gtest/gtest.h>

std::vector<rasp::TMessageRequest>& ShownMessages()
{
    static std::vector<rasp::TMessageRequest> shown;
    return shown;
}

int main(int argc, char** argv)
{
    QLocale::setDefault(QLocale::c());
    rasp::TRaspApplication app(argc, argv);
    // No box may wait for a user: the errors are recorded and answered OK.
    app.ErrorBox().SetAnswerHook([](const rasp::TMessageRequest& r) {
        ShownMessages().push_back(r);
        return rasp::mrOk;
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
