#pragma once
// Late binding: automation objects whose members are called by name with a
// list of variant arguments, the way a script drives a word processor.
// Member names are matched without regard to letter case.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rasp {

class IAutomationObject;
using TDispatch = std::shared_ptr<IAutomationObject>;
using TOleVariant = std::variant<std::monostate, bool, std::int32_t, std::u16string, TDispatch>;

// How a member is invoked; a late-bound read asks for "method or property get".
enum TInvokeKind : unsigned {
    ikMethod = 1,
    ikPropertyGet = 2,
    ikPropertyPut = 4,
};

// Every failure of an automation call: unknown member, bad arguments, or a
// failure of the server itself. The message is meant for the user.
class EOleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// No server answers to the programmatic identifier.
class EOleSysError : public EOleError {
public:
    using EOleError::EOleError;
};

class IAutomationObject {
public:
    virtual ~IAutomationObject() = default;
    virtual TOleVariant Invoke(std::string_view member, unsigned kind, const std::vector<TOleVariant>& args) = 0;
};

bool SameMemberName(std::string_view a, std::string_view b);

// A method call.
TOleVariant OleCall(const TDispatch& object, std::string_view member, const std::vector<TOleVariant>& args = {});
// A read: method or property get.
TOleVariant OleGet(const TDispatch& object, std::string_view member, const std::vector<TOleVariant>& args = {});
void OlePut(const TDispatch& object, std::string_view member, const TOleVariant& value);

// Conversions of a result, as a late-bound caller makes them.
std::u16string VarToStr(const TOleVariant& value);
TDispatch VarToDispatch(const TOleVariant& value, std::string_view member);

}  // namespace rasp
