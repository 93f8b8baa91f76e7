#include "scanner/toollocation.h"
#include "tests/runner/runnertestsupport.h"

#include <sys/stat.h>

using namespace RunnerTest;

namespace {

class RunnerToolLocation : public ProcessHygiene {
protected:
    QString makeFile(const QString &relative, mode_t mode)
    {
        const QString path = tempPath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(fakeTool(), path));
        EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        return path;
    }

    static struct stat statOf(const QString &path)
    {
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info;
    }
};

TEST_F(RunnerToolLocation, FindsToolBesideTheProgramFolder)
{
    const QString tool = makeFile(QStringLiteral("prefix/libexec/kestrin/dmidecode"), 0755);
    QDir().mkpath(tempPath(QStringLiteral("prefix/bin")));
    const Expected<QString> found = bundledToolURL(tempPath(QStringLiteral("prefix/bin")));
    ASSERT_TRUE(found.hasValue());
    EXPECT_EQ(QFileInfo(found.value()).canonicalFilePath(), QFileInfo(tool).canonicalFilePath());
}

TEST_F(RunnerToolLocation, MissingToolIsErrorOne)
{
    const QStringList programFolders{tempPath(QStringLiteral("prefix/bin")), QString()};
    // A folder where the tool should be is not the tool.
    QDir().mkpath(tempPath(QStringLiteral("prefix/libexec/kestrin/dmidecode")));
    for (const QString &folder : programFolders) {
        const Expected<QString> found = bundledToolURL(folder);
        ASSERT_FALSE(found.hasValue());
        EXPECT_EQ(found.error(),
                  ScanError({QStringLiteral("Kestrin"), 1,
                             QStringLiteral("Bundled dmidecode tool was not found.")}));
    }
}

TEST_F(RunnerToolLocation, ProgramFolderIsTheRunningExecutables)
{
    EXPECT_EQ(runningExecutableDir(), QStringLiteral(KESTRIN_BINARY_DIR "/tests"));
}

TEST_F(RunnerToolLocation, AddsMissingExecutePermission)
{
    const QString tool = makeFile(QStringLiteral("dmidecode"), 0644);
    ensureToolExecutable(tool);
    EXPECT_EQ(statOf(tool).st_mode & 0777, 0755u);
}

// chmod would touch the change time even when the mode stays the same.
TEST_F(RunnerToolLocation, ExecutableToolIsLeftAlone)
{
    const QString tool = makeFile(QStringLiteral("dmidecode"), 0700);
    const struct stat before = statOf(tool);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ensureToolExecutable(tool);
    const struct stat after = statOf(tool);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    EXPECT_EQ(after.st_mode & 0777, 0700u);
}

TEST_F(RunnerToolLocation, MissingFileIsIgnored)
{
    ensureToolExecutable(tempPath(QStringLiteral("absent")));
    EXPECT_FALSE(QFile::exists(tempPath(QStringLiteral("absent"))));
}

} // namespace
