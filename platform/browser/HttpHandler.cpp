#include "platform/browser/HttpHandler.h"

#include "platform/browser/KeyFile.h"

#include <cstdlib>
#include <set>

namespace rasp {
namespace {

namespace fs = std::filesystem;

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    while (!text.empty()) {
        const auto cut = text.find(separator);
        const auto part = text.substr(0, cut);
        if (!part.empty())
            parts.emplace_back(part);
        if (cut == std::string_view::npos)
            break;
        text.remove_prefix(cut + 1);
    }
    return parts;
}

std::vector<fs::path> PathList(const std::string& value, const char* fallback)
{
    std::vector<fs::path> dirs;
    // Relative entries are invalid by the standard and ignored.
    for (const auto& part : Split(value.empty() ? fallback : value, ':'))
        if (fs::path(part).is_absolute())
            dirs.emplace_back(part);
    return dirs;
}

fs::path HomeRelative(const std::string& value, const std::string& home, const char* below)
{
    if (!value.empty() && fs::path(value).is_absolute())
        return value;
    return home.empty() ? fs::path() : fs::path(home) / below;
}

// Desktop ids name files below an applications folder; anything that could
// leave that folder is not an id.
bool IsPlausibleId(std::string_view id)
{
    return id.size() > 8 && id.ends_with(".desktop") && id.find('/') == std::string_view::npos
        && id.front() != '.';
}

// "vendor-app.desktop" may live as "vendor/app.desktop": every dash may stand
// for a folder separator.
std::vector<std::string> IdFileNames(const std::string& id)
{
    std::vector<std::size_t> dashes;
    for (std::size_t i = 0; i < id.size(); ++i)
        if (id[i] == '-')
            dashes.push_back(i);
    if (dashes.size() > 6)
        dashes.resize(6);
    std::vector<std::string> names;
    for (unsigned mask = 0; mask < (1u << dashes.size()); ++mask) {
        std::string name = id;
        for (std::size_t b = 0; b < dashes.size(); ++b)
            if (mask & (1u << b))
                name[dashes[b]] = '/';
        names.push_back(std::move(name));
    }
    return names;
}

std::vector<fs::path> ApplicationDirs(const TXdgDirs& dirs)
{
    std::vector<fs::path> apps;
    if (!dirs.dataHome.empty())
        apps.push_back(dirs.dataHome / "applications");
    for (const auto& dir : dirs.dataDirs)
        apps.push_back(dir / "applications");
    return apps;
}

std::optional<fs::path> FindDesktopFile(const TXdgDirs& dirs, const std::string& id)
{
    if (!IsPlausibleId(id))
        return std::nullopt;
    const auto names = IdFileNames(id);
    for (const auto& apps : ApplicationDirs(dirs))
        for (const auto& name : names) {
            std::error_code ec;
            if (fs::is_regular_file(apps / name, ec))
                return apps / name;
        }
    return std::nullopt;
}

bool IsInstalled(const TXdgDirs& dirs, const std::string& id)
{
    return !DesktopEntryExec(dirs, id).empty();
}

// mimeapps.list files, most important first.
std::vector<fs::path> MimeAppsLists(const TXdgDirs& dirs)
{
    std::vector<fs::path> folders;
    if (!dirs.configHome.empty())
        folders.push_back(dirs.configHome);
    folders.insert(folders.end(), dirs.configDirs.begin(), dirs.configDirs.end());
    for (const auto& apps : ApplicationDirs(dirs))
        folders.push_back(apps);
    std::vector<fs::path> lists;
    for (const auto& folder : folders) {
        for (const auto& desktop : dirs.desktops)
            lists.push_back(folder / (desktop + "-mimeapps.list"));
        lists.push_back(folder / "mimeapps.list");
    }
    return lists;
}

std::vector<std::string> IdsOf(const fs::path& file, std::string_view group, std::string_view mimeType)
{
    const auto value = ReadKeyFileValue(file, group, mimeType);
    return value ? Split(*value, ';') : std::vector<std::string>{};
}

} // namespace

TXdgDirs TXdgDirs::FromEnvironment()
{
    TXdgDirs dirs;
    const std::string home = Env("HOME");
    dirs.configHome = HomeRelative(Env("XDG_CONFIG_HOME"), home, ".config");
    dirs.configDirs = PathList(Env("XDG_CONFIG_DIRS"), "/etc/xdg");
    dirs.dataHome = HomeRelative(Env("XDG_DATA_HOME"), home, ".local/share");
    dirs.dataDirs = PathList(Env("XDG_DATA_DIRS"), "/usr/local/share:/usr/share");
    for (auto name : Split(Env("XDG_CURRENT_DESKTOP"), ':')) {
        for (auto& c : name)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        dirs.desktops.push_back(std::move(name));
    }
    return dirs;
}

std::string DefaultHandler(const TXdgDirs& dirs, std::string_view mimeType)
{
    const auto lists = MimeAppsLists(dirs);
    for (const auto& list : lists)
        for (const auto& id : IdsOf(list, "Default Applications", mimeType))
            if (IsInstalled(dirs, id))
                return id;

    // No usable default: the first associated handler that no more important
    // file removed.
    std::set<std::string> removed;
    for (const auto& list : lists) {
        for (const auto& id : IdsOf(list, "Removed Associations", mimeType))
            removed.insert(id);
        for (const auto& id : IdsOf(list, "Added Associations", mimeType))
            if (!removed.contains(id) && IsInstalled(dirs, id))
                return id;
    }
    for (const auto& apps : ApplicationDirs(dirs))
        for (const auto& id : IdsOf(apps / "mimeinfo.cache", "MIME Cache", mimeType))
            if (!removed.contains(id) && IsInstalled(dirs, id))
                return id;
    return {};
}

std::optional<TDesktopEntry> FindDesktopEntry(const TXdgDirs& dirs, std::string_view desktopId)
{
    const auto file = FindDesktopFile(dirs, std::string(desktopId));
    if (!file)
        return std::nullopt;
    const auto content = ReadKeyFileText(*file);
    if (!content)
        return std::nullopt;
    auto value = [&content](std::string_view key) {
        return UnescapeKeyFileString(KeyFileValue(*content, "Desktop Entry", key).value_or(""));
    };
    if (value("Hidden") == "true")
        return std::nullopt;
    TDesktopEntry entry{value("Exec"), value("Icon"), value("Name"), file->string()};
    if (entry.exec.empty())
        return std::nullopt;
    return entry;
}

std::string DesktopEntryExec(const TXdgDirs& dirs, std::string_view desktopId)
{
    const auto entry = FindDesktopEntry(dirs, desktopId);
    return entry ? entry->exec : std::string();
}

std::optional<TDesktopEntry> HttpHandlerEntry(const TXdgDirs& dirs)
{
    const auto id = DefaultHandler(dirs, "x-scheme-handler/http");
    return id.empty() ? std::nullopt : FindDesktopEntry(dirs, id);
}

std::string HttpHandlerCommand(const TXdgDirs& dirs)
{
    const auto entry = HttpHandlerEntry(dirs);
    return entry ? entry->exec : std::string();
}

} // namespace rasp
