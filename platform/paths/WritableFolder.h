#pragma once
// Where the program may write its own files.
//
// A copy run from a folder of its own (unpacked somewhere, a build tree)
// writes beside its executable, as it always has. An installed copy's folder
// belongs to the package manager: there the files go to the user's XDG
// folders instead, under "tellivo-rasp/". Files the program only reads
// (the deployment files) are still read from the program folder.
//
// No Qt here: the crash reporter, which must not depend on the toolkit, asks
// the same question.

#include <string>

namespace rasp {

enum class TWritableKind {
    Cache,  // fetched again when lost: the update description
    State,  // worth keeping but not configuration: crash logs and notes
};

inline constexpr const char* kUserFolderName = "tellivo-rasp";

// True when the program may keep its files in programDir: the folder is
// writable for this process and is not part of the system's /usr tree (where
// even root must leave files to the package manager).
bool ProgramFolderWritable(const std::string& programDir);

// $XDG_CACHE_HOME or $XDG_STATE_HOME (an absolute path), else ~/.cache or
// ~/.local/state, followed by "tellivo-rasp/". Not created. Empty when no
// home folder is known.
std::string UserFolderFor(TWritableKind kind);

// The folder to write files of this kind to, ending with '/': programDir when
// ProgramFolderWritable, else UserFolderFor(kind), created (mode 0700) when
// missing. When that folder cannot be made either, programDir: the write
// then fails where it would have failed anyway, and the caller reports it as
// it does for a program folder it cannot write to.
std::string WritableFolderFor(TWritableKind kind, const std::string& programDir);

}  // namespace rasp
