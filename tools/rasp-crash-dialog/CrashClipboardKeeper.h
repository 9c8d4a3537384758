#pragma once
// The clipboard of a window system belongs to a running program: text put
// there by a helper that ends is gone. So the helper hands the text to a
// keeper, a copy of itself in a session of its own, which holds the
// clipboard until another program takes it over (a clipboard manager that
// copies the text, or the user copying something else) and hands the text
// to a clipboard manager if one runs when it ends.
#include "crash/protocol/CrashDialogProtocol.h"

namespace rasp {

// The argument that makes rasp-crash-dialog the keeper.
inline constexpr const char* CrashKeepClipboardArgument = "--keep-clipboard";
// The keeper's one line once it holds the clipboard.
inline constexpr const char* CrashClipboardHeldLine = "held";

// Starts the keeper with the request and waits (at most 10 s) until it
// holds the clipboard. False when it could not start or never held it.
bool CrashStartClipboardKeeper(const TCrashDialogRequest& request);

// The keeper's own run, in a QApplication: puts request.LogText on the
// clipboard, says "held" on standard output and closes it, then stays until
// the clipboard is taken over (at most `keepMs`).
int CrashKeepClipboard(const TCrashDialogRequest& request, int keepMs);

} // namespace rasp
