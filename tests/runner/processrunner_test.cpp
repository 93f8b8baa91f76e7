#include "tests/runner/runnertestsupport.h"

#include <future>
#include <string_view>

using namespace RunnerTest;
using namespace std::literals;

namespace {

class RunnerOutcome : public ProcessHygiene {};

TEST_F(RunnerOutcome, GivesTextOrError)
{
    const struct {
        const char *name;
        const char *commands;         // see commands()
        std::u16string_view expected; // the text of a successful run, or the error's description
        std::int64_t code = 0;        // 0: the run succeeds
        double limit = 10;
    } cases[] = {
        {"StandardErrorAppendedAfterLineFeed", "out a\\n|err note\\n", u"a\n\nnote\n"},
        {"FailureKeepsErrorTextUntrimmed", "err broken\\n|exit 3", u"broken\n", 3},
        {"BlankOutputWithoutErrorTextNamesStatus", "out  \\n\\t\\n|exit 2",
         u"dmidecode exited with status 2.", 2},
        {"NonZeroStatusWithTableSucceeds",
         "out Handle 0x0000\\n\\tVendor: Acme\\n|err /dev/mem: denied\\n|exit 1",
         u"Handle 0x0000\n\tVendor: Acme\n\n/dev/mem: denied\n"},
        {"InvalidUtf8OutputIsEmptyText", "out abc\\xff\\xfe", u""},
        {"InvalidUtf8ErrorTextCountsAsEmpty", "err \\x80oops|exit 5",
         u"dmidecode exited with status 5.", 5},
        {"EmbeddedNulAndMultiByteTextSurvive", "out a\\x00\\xc3\\xb6\\xf0\\x9f\\x94\\x8b",
         u"a\0\u00f6\U0001F50B"sv},
        {"SignalNumberIsTheStatus", "raise 9", u"dmidecode exited with status 9.", 9},
        // Time-outs: code 124 with the whole seconds, output so far discarded.
        {"FractionIsDroppedAndOutputDiscarded", "out partial\\n|sleep 60000",
         u"dmidecode timed out after 1 seconds.", 124, 1.9},
        {"LimitBelowOneSecond", "sleep 60000", u"dmidecode timed out after 0 seconds.", 124, 0.2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // Launched from a thread that blocks SIGTERM: the tool must not inherit
        // that, or a time-out would wait 2 s more for SIGKILL.
        const auto start = std::chrono::steady_clock::now();
        std::optional<Expected<QString>> run;
        std::thread([&] {
            sigset_t blocked;
            sigemptyset(&blocked);
            sigaddset(&blocked, SIGTERM);
            pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
            run = runFake(commands(c.commands), c.limit);
        }).join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms + c.limit * 1s);
        ASSERT_EQ(failure(*run), c.code ? c.code : -1);
        EXPECT_TRUE(!c.code || run->error().domain == u"Kestrin");
        EXPECT_EQ(c.code ? run->error().description : run->value(),
                  QString::fromUtf16(c.expected.data(), qsizetype(c.expected.size())));
    }
}

class RunnerLaunch : public ProcessHygiene {};

TEST_F(RunnerLaunch, ErrorsNameTheSystemsReason)
{
    QFile garbage(tempPath(QStringLiteral("garbage")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly) &&
                garbage.write("\x01\x02 not a program\n") > 0);
    ASSERT_TRUE(garbage.setPermissions(garbage.permissions() | QFileDevice::ExeOwner));
    garbage.close();
    const std::pair<QString, int> cases[] = {{tempPath(QStringLiteral("absent")), ENOENT},
                                             {garbage.fileName(), ENOEXEC}};
    for (const auto &[tool, code] : cases) {
        const Expected<QString> result =
            runDMIDecode(tool, {QStringLiteral("-q")}, 10, HardwareScanner::activeProcesses());
        ASSERT_EQ(failure(result), code);
        EXPECT_EQ(result.error().description, QString::fromLocal8Bit(std::strerror(code)));
    }
}

// Every descriptor the child holds above 2 is one we let every child inherit.
TEST_F(RunnerLaunch, ChildGetsNoDescriptorOfOurs)
{
    const Expected<QString> result = runFake({QStringLiteral("fds")});
    ASSERT_TRUE(result.hasValue());
    for (const QString &line : result.value().split(u'\n', Qt::SkipEmptyParts)) {
        // -1 (closed by now, like a run's pipe) has FD_CLOEXEC set too.
        EXPECT_EQ(::fcntl(line.toInt(), F_GETFD) & FD_CLOEXEC, 0) << "child holds " << line.toInt();
    }
}

class RunnerVolume : public ProcessHygiene {};

// A child that fills both pipes at once blocks forever unless both are drained
// at the same time.
TEST_F(RunnerVolume, FiftyMegabytesOnBothStreams)
{
    constexpr qsizetype size = 50 * 1000 * 1000;
    const Expected<QString> result = runFake({QStringLiteral("flood %1").arg(size)}, 60);
    ASSERT_TRUE(result.hasValue()) << result.error().description.toStdString();
    ASSERT_EQ(result.value().size(), 2 * size + 1);
    EXPECT_EQ(result.value()[size], u'\n');
    EXPECT_EQ(result.value().count(u'x'), 2 * (size / 100 * 99 + (size % 100)));
}

class RunnerTimeout : public ProcessHygiene {};

// SIGTERM is ignored, so only SIGKILL, 2 s later, ends the run.
TEST_F(RunnerTimeout, ChildIgnoringTerminationIsKilled)
{
    const QString pidFile = tempPath(QStringLiteral("child.pid"));
    const auto start = std::chrono::steady_clock::now();
    const Expected<QString> result =
        runFake({u"ignoreterm"_qs, u"pidfile "_qs + pidFile, u"sleep 60000"_qs}, 1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(failure(result), 124);
    EXPECT_EQ(result.error().description, QStringLiteral("dmidecode timed out after 1 seconds."));
    EXPECT_GE(elapsed, 2900ms);
    EXPECT_LT(elapsed, 10s);
    const pid_t pid = readPid(pidFile);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid, 0), -1) << "the child is still there";
}

// A process left behind keeps the pipes open; neither a successful nor a
// timed-out run may wait for it.
TEST_F(RunnerTimeout, ProcessLeftBehindHoldsNoRun)
{
    auto start = std::chrono::steady_clock::now();
    const QString grandchild = u"grandchild 30000 "_qs;
    const Expected<QString> result =
        runFake({u"out table\\n"_qs, grandchild + leftBehindPidFile(), u"exit 0"_qs});
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    ASSERT_TRUE(result.hasValue());
    EXPECT_EQ(result.value(), QStringLiteral("table\n")); // what the tool wrote is kept

    start = std::chrono::steady_clock::now();
    EXPECT_EQ(failure(runFake({grandchild + leftBehindPidFile(), u"sleep 60000"_qs}, 1)), 124);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 7s);
}

class RunnerConcurrency : public ProcessHygiene {};

// Runs are independent: eight started while a hung one is under way neither
// serialise nor wait for it, and each keeps its own output.
TEST_F(RunnerConcurrency, RunsNextToAHungOneKeepTheirOwnOutputAndPace)
{
    auto hung = std::async(std::launch::async, [] { return runFake({u"sleep 60000"_qs}, 3); });
    std::this_thread::sleep_for(100ms);
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::future<Expected<QString>>> runs;
    for (int i = 0; i < 8; ++i) {
        runs.push_back(std::async(std::launch::async, [i] {
            return runFake({u"sleep 300"_qs, u"out run %1"_qs.arg(i), u"err e%1"_qs.arg(i)});
        }));
    }
    for (int i = 0; i < 8; ++i) {
        const Expected<QString> result = runs[static_cast<std::size_t>(i)].get();
        ASSERT_TRUE(result.hasValue());
        EXPECT_EQ(result.value(), QStringLiteral("run %1\ne%1").arg(i));
    }
    // Well before the hung run's time-out, even under a sanitizer.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
    EXPECT_EQ(failure(hung.get()), 124);
}

} // namespace
