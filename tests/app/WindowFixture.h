#pragma once
// A main window for a test: no update check, the program directory in a
// fresh temporary folder, its message boxes answered without a user.

#include "app/MainWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Every box shown through the application's error handling.
std::vector<rasp::TMessageRequest>& ShownMessages();

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ShownMessages().clear();
        rasp::TMainWindowOptions options;
        options.ProgramDir = dir.path();
        options.CheckUpdates = false;
        window = std::make_unique<rasp::TfrmMain>(options);
        window->msgMain->SetAnswerHook([this](const rasp::TMessageRequest& r) {
            messages.push_back(r);
            return rasp::mrOk;
        });
        window->show();
        QApplication::processEvents();
    }

    static std::u16string U(const char* utf8) { return QString::fromUtf8(utf8).toStdU16String(); }

    QTemporaryDir dir;
    std::unique_ptr<rasp::TfrmMain> window;
    std::vector<rasp::TMessageRequest> messages;
};
