#pragma once
// Opening web pages in the user's browser.

#include <QString>

namespace rasp {

// Starts the browser the desktop registered for http URLs with url as its only
// argument and does not wait for it. False when no browser is registered (or
// url is empty or could be taken for an option); whether the browser really
// started is not checked.
bool OpenURL(const QString& url);

} // namespace rasp
