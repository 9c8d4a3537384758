#pragma once
// Opening web pages in the user's browser.

#include <QString>

namespace rasp {

// Runs the Exec line of the desktop entry registered for http URLs with url
// in place of its field codes, and does not wait for it. False when no
// browser is registered, its Exec line is malformed, or url is empty or could
// be taken for an option; whether the browser really started is not checked.
bool OpenURL(const QString& url);

// What the user is told when OpenURL could start nothing: the address, to
// be opened by hand.
QString NoBrowserMessage(const QString& url);

} // namespace rasp
