#include "platform/paths/WritableFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace rasp {
namespace {

std::string WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

// The /usr tree is the distribution's; a program folder there is an
// installed one however the permissions fall.
bool InSystemTree(const std::string& dir)
{
    return dir == "/usr" || dir.rfind("/usr/", 0) == 0;
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return home;
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_dir && *entry->pw_dir == '/')
        return entry->pw_dir;
    return {};
}

// mkdir -p; true when dir exists as a folder afterwards.
bool MakeFolders(const std::string& dir)
{
    for (std::size_t slash = dir.find('/', 1); ; slash = dir.find('/', slash + 1)) {
        const std::string part = dir.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat info {};
    return ::stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool ProgramFolderWritable(const std::string& programDir)
{
    if (programDir.empty() || InSystemTree(programDir))
        return false;
    return ::access(programDir.c_str(), W_OK | X_OK) == 0;
}

std::string UserFolderFor(TWritableKind kind)
{
    const char* variable = kind == TWritableKind::Cache ? "XDG_CACHE_HOME" : "XDG_STATE_HOME";
    std::string base;
    // A relative value is invalid and must be ignored.
    if (const char* value = std::getenv(variable); value && *value == '/') {
        base = value;
    } else {
        const std::string home = HomeFolder();
        if (home.empty())
            return {};
        base = WithSlash(home) + (kind == TWritableKind::Cache ? ".cache" : ".local/state");
    }
    return WithSlash(WithSlash(base) + kUserFolderName);
}

std::string WritableFolderFor(TWritableKind kind, const std::string& programDir)
{
    const std::string program = programDir.empty() ? programDir : WithSlash(programDir);
    if (ProgramFolderWritable(programDir))
        return program;
    const std::string user = UserFolderFor(kind);
    if (user.empty() || !MakeFolders(user.substr(0, user.size() - 1)))
        return program;
    return user;
}

}  // namespace rasp
