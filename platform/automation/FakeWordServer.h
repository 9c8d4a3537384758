#pragma once
// A stand-in "Word.Application" for tests: it records every late-bound call
// (object, member, kind, arguments) and can be told to fail at one step, the
// creation counting as step 1 and every later call as the next step.

#include "platform/automation/AutomationRegistry.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rasp {

struct TFakeCall {
    std::string object;  // "Application", "Documents", "Document", "Range"
    std::string member;
    unsigned kind;
    std::vector<TOleVariant> args;
};

struct TFakeWordLog {
    std::u16string documentText = u"First paragraph\rSecond paragraph\r";
    int failAtStep = 0;  // 0: never fail
    int steps = 0;
    int created = 0;
    std::vector<TFakeCall> calls;
    std::weak_ptr<IAutomationObject> application;  // expires once the caller lets go
    // Runs inside Documents.Open, where a real server takes its time.
    std::function<void()> onOpen;
};

// Registers the fake under "Word.Application"; `log` sees every call.
void RegisterFakeWord(TAutomationRegistry& registry, std::shared_ptr<TFakeWordLog> log);

}  // namespace rasp
