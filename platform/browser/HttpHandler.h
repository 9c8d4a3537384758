#pragma once
// Finds the command the desktop registered for http URLs: the default handler
// of the MIME type "x-scheme-handler/http" from the mimeapps.list files of the
// XDG config and data folders (falling back to the added associations and the
// desktop database's mimeinfo.cache), then the Exec line of that handler's
// desktop entry.

#include "platform/browser/DesktopExec.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

struct TXdgDirs {
    std::filesystem::path configHome;
    std::vector<std::filesystem::path> configDirs;
    std::filesystem::path dataHome;
    std::vector<std::filesystem::path> dataDirs;
    std::vector<std::string> desktops; // lower-cased names from XDG_CURRENT_DESKTOP

    // From XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME, XDG_DATA_DIRS,
    // XDG_CURRENT_DESKTOP and HOME, with the standard's defaults.
    static TXdgDirs FromEnvironment();
};

// The desktop id ("browser.desktop") of the installed default handler of a
// MIME type, or "" when there is none.
std::string DefaultHandler(const TXdgDirs& dirs, std::string_view mimeType);

// The Exec line of an installed, not hidden desktop entry (general escapes
// resolved), or "" when there is none.
std::string DesktopEntryExec(const TXdgDirs& dirs, std::string_view desktopId);

// An installed, not hidden desktop entry with an Exec line: the keys its
// field codes refer to (string escapes resolved) and its file.
std::optional<TDesktopEntry> FindDesktopEntry(const TXdgDirs& dirs, std::string_view desktopId);

// The Exec line of the http handler, or "" when no handler is registered.
std::string HttpHandlerCommand(const TXdgDirs& dirs);

// The desktop entry of the http handler, or nothing.
std::optional<TDesktopEntry> HttpHandlerEntry(const TXdgDirs& dirs);

} // namespace rasp
