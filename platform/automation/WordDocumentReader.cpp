#include "platform/automation/WordDocumentReader.h"

#include <algorithm>
#include <string>

namespace rasp {

bool IsWordDocumentName(std::string_view path) {
    std::string lower(path);
    // Only ASCII letters can lower-case into ".doc", so ASCII folding suffices.
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower.find(".doc") != std::string::npos;
}

std::u16string ReadWordDocumentText(const TAutomationRegistry& registry, const std::u16string& fileName) {
    TDispatch app = registry.CreateOleObject(kWordProgId);
    bool quitSent = false;
    try {
        TDispatch documents = VarToDispatch(OleGet(app, "Documents"), "Documents");
        OleCall(documents, "Open", {fileName});
        OlePut(app, "Visible", false);
        documents = VarToDispatch(OleGet(app, "Documents"), "Documents");
        TDispatch document = VarToDispatch(OleGet(documents, "Item", {std::int32_t{1}}), "Item");
        TDispatch range = VarToDispatch(OleGet(document, "Range"), "Range");
        std::u16string text = VarToStr(OleGet(range, "Text"));
        quitSent = true;
        OleCall(app, "Quit", {false});
        return text;
    } catch (...) {
        if (!quitSent) {
            try {
                OleCall(app, "Quit", {false});
            } catch (...) {
                // The failure that stopped the reading is the one worth reporting.
            }
        }
        app.reset();
        throw;
    }
}

}  // namespace rasp
