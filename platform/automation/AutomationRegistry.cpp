#include "platform/automation/AutomationRegistry.h"

#include <algorithm>

namespace rasp {

namespace {

std::string Key(std::string id) {
    std::transform(id.begin(), id.end(), id.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return id;
}

}  // namespace

void TAutomationRegistry::Register(const std::string& progId, TFactory factory) {
    FFactories[Key(progId)] = std::move(factory);
}

bool TAutomationRegistry::IsRegistered(const std::string& progId) const {
    return FFactories.count(Key(progId)) != 0;
}

TDispatch TAutomationRegistry::CreateOleObject(const std::string& progId) const {
    const auto it = FFactories.find(Key(progId));
    if (it == FFactories.end()) {
        throw EOleSysError("Invalid class string: no automation server is registered as \"" + progId + "\"");
    }
    TDispatch object = it->second();
    if (!object) throw EOleSysError("The automation server \"" + progId + "\" did not start");
    return object;
}

}  // namespace rasp
