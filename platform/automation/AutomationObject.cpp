#include "platform/automation/AutomationObject.h"

#include "platform/textdecode/CodePage.h"

#include <string>

namespace rasp {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

TOleVariant Invoke(const TDispatch& object, std::string_view member, unsigned kind,
                   const std::vector<TOleVariant>& args) {
    if (!object) throw EOleError("Automation call \"" + std::string(member) + "\" on an empty object");
    return object->Invoke(member, kind, args);
}

}  // namespace

bool SameMemberName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

TOleVariant OleCall(const TDispatch& object, std::string_view member, const std::vector<TOleVariant>& args) {
    return Invoke(object, member, ikMethod, args);
}

TOleVariant OleGet(const TDispatch& object, std::string_view member, const std::vector<TOleVariant>& args) {
    return Invoke(object, member, ikMethod | ikPropertyGet, args);
}

void OlePut(const TDispatch& object, std::string_view member, const TOleVariant& value) {
    Invoke(object, member, ikPropertyPut, {value});
}

std::u16string VarToStr(const TOleVariant& value) {
    struct Visitor {
        std::u16string operator()(std::monostate) const { return {}; }
        std::u16string operator()(bool b) const { return b ? u"True" : u"False"; }
        std::u16string operator()(std::int32_t i) const { return Utf8ToUtf16(std::to_string(i)); }
        std::u16string operator()(const std::u16string& s) const { return s; }
        std::u16string operator()(const TDispatch&) const {
            throw EOleError("An automation object cannot be used as text");
        }
    };
    return std::visit(Visitor{}, value);
}

TDispatch VarToDispatch(const TOleVariant& value, std::string_view member) {
    if (const auto* object = std::get_if<TDispatch>(&value); object && *object) return *object;
    throw EOleError("The automation member \"" + std::string(member) + "\" did not return an object");
}

}  // namespace rasp
