#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path scratch = KESTRIN_READFIRMWARE_SCRATCH;

struct HelperRun {
    int status = -1;
    std::string out, err;
};

HelperRun runHelper(const std::vector<std::string> &arguments,
                    const std::vector<std::string> &environment, uid_t asUser = 0,
                    const char *helper = KESTRIN_READFIRMWARE_HELPER)
{
    const fs::path outFile = scratch / "out.txt";
    const fs::path errFile = scratch / "err.txt";
    const pid_t child = ::fork();
    if (child == 0) {
        if ((asUser != 0 && ::setresuid(asUser, asUser, asUser) != 0) ||
            !std::freopen(outFile.c_str(), "w", stdout) ||
            !std::freopen(errFile.c_str(), "w", stderr)) {
            ::_exit(98);
        }
        const auto pointers = [](const char *first, const std::vector<std::string> &strings) {
            std::vector<char *> list{const_cast<char *>(first)};
            for (const auto &string : strings)
                list.push_back(const_cast<char *>(string.c_str()));
            list.push_back(nullptr);
            return list;
        };
        ::execve(helper, pointers(helper, arguments).data(),
                 pointers(nullptr, environment).data() + 1);
        ::_exit(97);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto slurp = [](const fs::path &p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 200, slurp(outFile), slurp(errFile)};
}

class ReadFirmwareTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root: the helper refuses to run otherwise";
        }
        fs::remove_all(scratch);
        fs::create_directories(scratch);
    }
    void TearDown() override { fs::remove_all(scratch); }
    static fs::path place(const std::string &folder, const std::string &script, mode_t mode = 0755)
    {
        fs::create_directories(scratch / folder);
        const fs::path path = scratch / folder / "dmidecode";
        std::ofstream(path) << "#!/bin/sh\n" << script;
        ::chmod(path.c_str(), mode);
        return path;
    }
};

TEST_F(ReadFirmwareTest, RunsOnlyQuietModeInAnEmptyEnvironmentFromRoot)
{
    // Builtins only: the helper hands over an empty environment, so no PATH.
    place("usr/sbin", "echo \"args:$*\"\necho \"cwd:$(pwd)\"\nexport -p\n");
    const HelperRun run = runHelper({}, {"PATH=/tmp/evil", "LD_PRELOAD=/tmp/evil.so", "HOME=/tmp"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("args:-q\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("cwd:/\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("evil"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("HOME"), std::string::npos) << run.out;
}

TEST_F(ReadFirmwareTest, FallsBackToSbinAndPassesTheStatusBack)
{
    place("sbin", "echo from-sbin\necho broken >&2\nexit 3\n");
    const HelperRun run = runHelper({}, {});
    EXPECT_EQ(std::tie(run.status, run.out, run.err), std::tuple(3, "from-sbin\n", "broken\n"));
}

TEST_F(ReadFirmwareTest, RefusesWithoutRunningDmidecode)
{
    const passwd *nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    const struct {
        std::vector<std::string> arguments;
        mode_t mode; // 0: no dmidecode at all
        uid_t owner, user;
        const char *reason;
    } cases[] = {
        {{""}, 0755, 0, 0, "takes no arguments"},
        {{}, 0755, 0, nobody->pw_uid, "must run as root"},
        {{}, 0775, 0, 0, "writable by group"},
        {{}, 0757, 0, 0, "writable by group"},
        {{}, 0755, nobody->pw_uid, 0, "not owned by root"},
        {{}, 0644, 0, 0, "not executable"},
        {{}, 0, 0, 0, "no dmidecode"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reason);
        SetUp();
        if (c.mode != 0) {
            const fs::path program = place("usr/sbin", "echo ran\n", c.mode);
            ASSERT_EQ(::chown(program.c_str(), c.owner, 0), 0);
        }
        // The user running it must be able to write its own output files.
        ::chmod(scratch.c_str(), 0777);
        const HelperRun run = runHelper(c.arguments, {"PATH=/usr/bin:/bin"}, c.user);
        EXPECT_EQ(std::tie(run.status, run.out), std::tuple(1, ""));
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    }
}

TEST_F(ReadFirmwareTest, CapsWhatItPassesBackAt16MiB)
{
    place("usr/sbin", "head -c 20971520 /dev/zero | tr '\\0' x\n");
    const HelperRun run = runHelper({}, {});
    EXPECT_EQ(std::tuple(run.status, run.out.size()), std::tuple(0, std::size_t{16} << 20));
}

TEST_F(ReadFirmwareTest, StopsAHungProgramPolitelyThenWithSignal9)
{
    // This stand-in ignores SIGTERM, so only SIGKILL ends it; the signal comes
    // back as the runner reports one, 128 + its number.
    place("usr/sbin", "trap '' TERM\necho started\nwhile :; do sleep 1; done\n");
    const HelperRun run = runHelper({}, {});
    EXPECT_EQ(run.status, 128 + 9);
    EXPECT_NE(run.err.find("stopped after 2 seconds"), std::string::npos) << run.err;
}

TEST_F(ReadFirmwareTest, ShippedBuildLooksOnlyAtTheSystemLocations)
{
    // The installed helper must not find the scratch stand-in whatever the
    // environment says; it runs the real dmidecode or refuses.
    place("usr/sbin", "echo scratch\n");
    const std::string dir = (scratch / "usr/sbin").string();
    const HelperRun run = runHelper({}, {"PATH=" + dir}, 0, KESTRIN_READFIRMWARE_SHIPPED);
    EXPECT_EQ(run.out.find("scratch"), std::string::npos);
}

} // namespace
