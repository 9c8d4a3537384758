#pragma once
// Automation servers by programmatic identifier ("Word.Application"). The
// window and the command-line companion each own one, filled with the servers
// this machine offers; tests fill theirs with fakes.

#include "platform/automation/AutomationObject.h"

#include <functional>
#include <map>
#include <string>

namespace rasp {

class TAutomationRegistry {
public:
    using TFactory = std::function<TDispatch()>;

    // Identifiers are matched without regard to letter case; a later
    // registration replaces an earlier one.
    void Register(const std::string& progId, TFactory factory);
    bool IsRegistered(const std::string& progId) const;

    // A new object of the server; EOleSysError when none is registered,
    // whatever the factory throws when the server cannot start.
    TDispatch CreateOleObject(const std::string& progId) const;

private:
    std::map<std::string, TFactory> FFactories;  // keys lower-cased
};

}  // namespace rasp
