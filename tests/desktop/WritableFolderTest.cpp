#include "platform/paths/WritableFolder.h"
#include "tests/online/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace rasp {
namespace {

using test::TScopedEnv;

std::string Path(const QString& path) { return QFile::encodeName(path).toStdString(); }

class WritableFolder : public ::testing::Test {
protected:
    QTemporaryDir root;
    TScopedEnv env;
    std::string rootPath;

    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        rootPath = Path(root.path());
        env.Set("HOME", root.path() + "/home");
        env.Set("XDG_CACHE_HOME", root.path() + "/cache");
        env.Set("XDG_STATE_HOME", root.path() + "/state");
    }
};

TEST_F(WritableFolder, UserFoldersFollowTheXdgVariablesAndFallBackToHome)
{
    EXPECT_EQ(UserFolderFor(TWritableKind::Cache), rootPath + "/cache/tellivo-rasp/");
    EXPECT_EQ(UserFolderFor(TWritableKind::State), rootPath + "/state/tellivo-rasp/");
    // Unset, empty and relative values all mean the default under HOME.
    env.Set("XDG_CACHE_HOME", "");
    env.Set("XDG_STATE_HOME", "relative/state");
    EXPECT_EQ(UserFolderFor(TWritableKind::Cache), rootPath + "/home/.cache/tellivo-rasp/");
    EXPECT_EQ(UserFolderFor(TWritableKind::State), rootPath + "/home/.local/state/tellivo-rasp/");
    // Asking creates nothing.
    EXPECT_FALSE(QFileInfo::exists(root.path() + "/home"));
}

TEST_F(WritableFolder, AProgramFolderOfItsOwnIsKept)
{
    EXPECT_TRUE(ProgramFolderWritable(rootPath));
    EXPECT_EQ(WritableFolderFor(TWritableKind::Cache, rootPath), rootPath + "/");
    EXPECT_EQ(WritableFolderFor(TWritableKind::State, rootPath + "/"), rootPath + "/");
    EXPECT_FALSE(QFileInfo::exists(root.path() + "/cache"));
    EXPECT_FALSE(QFileInfo::exists(root.path() + "/state"));
}

TEST_F(WritableFolder, TheSystemTreeIsNeverTheProgramsToWriteTo)
{
    // Whatever the permissions (root may write anywhere), /usr belongs to the
    // package manager.
    EXPECT_FALSE(ProgramFolderWritable("/usr"));
    EXPECT_FALSE(ProgramFolderWritable("/usr/lib/tellivo-rasp"));
    EXPECT_FALSE(ProgramFolderWritable("/usr/lib/tellivo-rasp/"));
    EXPECT_FALSE(ProgramFolderWritable(""));
    EXPECT_FALSE(ProgramFolderWritable(rootPath + "/missing"));
    // Only the folder /usr itself, not a name that starts with it.
    ASSERT_TRUE(QDir(root.path()).mkpath("usrlocal"));
    EXPECT_TRUE(ProgramFolderWritable(rootPath + "/usrlocal"));
}

TEST_F(WritableFolder, AnInstalledCopyWritesToTheUserFoldersMadePrivate)
{
    env.Set("XDG_CACHE_HOME", root.path() + "/deep/er/cache");
    const std::string cache = WritableFolderFor(TWritableKind::Cache, "/usr/lib/tellivo-rasp");
    EXPECT_EQ(cache, rootPath + "/deep/er/cache/tellivo-rasp/");
    struct stat info {};
    ASSERT_EQ(::stat(cache.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(WritableFolderFor(TWritableKind::State, "/usr/lib/tellivo-rasp/"),
              rootPath + "/state/tellivo-rasp/");
    EXPECT_TRUE(QFileInfo(root.path() + "/state/tellivo-rasp").isDir());
    // A second call finds the folder made by the first.
    EXPECT_EQ(WritableFolderFor(TWritableKind::Cache, "/usr/lib/tellivo-rasp"), cache);
}

TEST_F(WritableFolder, AReadOnlyProgramFolderSendsTheFilesToTheUserFolder)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes to read-only folders; the package test runs this as nobody";
    const QString program = root.path() + "/program";
    ASSERT_TRUE(QDir().mkpath(program));
    ASSERT_EQ(::chmod(Path(program).c_str(), 0555), 0);
    EXPECT_FALSE(ProgramFolderWritable(Path(program)));
    EXPECT_EQ(WritableFolderFor(TWritableKind::Cache, Path(program)), rootPath + "/cache/tellivo-rasp/");
    ::chmod(Path(program).c_str(), 0755);
}

TEST_F(WritableFolder, WithNoUserFolderToBeHadTheProgramFolderIsReturned)
{
    // A file where the cache folder's parent should be: the folder cannot be
    // made, and the caller's write fails as it would have in the program folder.
    test::WriteFile(root.path() + "/file", "x");
    env.Set("XDG_CACHE_HOME", root.path() + "/file/cache");
    EXPECT_EQ(WritableFolderFor(TWritableKind::Cache, "/usr/lib/tellivo-rasp"), "/usr/lib/tellivo-rasp/");
    EXPECT_EQ(WritableFolderFor(TWritableKind::Cache, ""), "");
}

}  // namespace
}  // namespace rasp
