#pragma once
// "Word.Application" served by headless LibreOffice. Documents.Open converts
// the document to text in a private temporary folder (with a private office
// profile); Documents.Item(n).Range.Text yields that text with every paragraph
// ending in CR; Quit ends the session and removes the temporary files. The
// files also go when the application object is released without Quit.

#include "platform/automation/AutomationRegistry.h"

#include <QString>

namespace rasp {

struct TLibreOfficeOptions {
    QString soffice;         // empty: "soffice" found on the PATH
    int timeoutMs = 120000;  // per conversion
};

// Registers the server under "Word.Application". Creating the object fails
// with EOleSysError when LibreOffice is not installed.
void RegisterLibreOfficeWord(TAutomationRegistry& registry, TLibreOfficeOptions options = {});

}  // namespace rasp
