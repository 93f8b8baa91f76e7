#include "scanner/processrunner.h"
#include "tests/runner/runnertestsupport.h"

#include <QDir>

#include <chrono>
#include <future>
#include <sys/stat.h>

using namespace RunnerTest;
using namespace std::chrono_literals;

namespace {

struct OutcomeCase {
    const char *name;
    QStringList commands;
    // Either the text of a successful run...
    std::optional<QString> text;
    // ...or the error.
    std::int64_t code = 0;
    QString description;
};

void PrintTo(const OutcomeCase &c, std::ostream *os)
{
    *os << c.name;
}

OutcomeCase succeeds(const char *name, QStringList commands, QString text)
{
    return OutcomeCase{name, std::move(commands), std::move(text), 0, QString()};
}

OutcomeCase fails(const char *name, QStringList commands, std::int64_t code, QString description)
{
    return OutcomeCase{name, std::move(commands), std::nullopt, code, std::move(description)};
}

const QString table = QStringLiteral("Handle 0x0000\nBIOS Information\n\tVendor: Acme\n");

class RunnerOutcome : public ProcessHygiene, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(RunnerOutcome, GivesTextOrError)
{
    const OutcomeCase &c = GetParam();
    const Expected<QString> result = runDMIDecode(fakeTool(), c.commands, 10);
    if (c.text) {
        ASSERT_TRUE(result.hasValue()) << result.error().description.toStdString();
        EXPECT_EQ(result.value(), *c.text);
    } else {
        ASSERT_FALSE(result.hasValue()) << result.value().toStdString();
        EXPECT_EQ(result.error().domain, u"Kestrin");
        EXPECT_EQ(result.error().code, c.code);
        EXPECT_EQ(result.error().description, c.description);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerOutcome,
    ::testing::Values(
        succeeds("ExitZeroWithNothing", {QStringLiteral("exit 0")}, QString()),
        succeeds("OutputOnly", {QStringLiteral("out a\\nb\\n")}, QStringLiteral("a\nb\n")),
        succeeds("StandardErrorAppendedAfterLineFeed",
                 {QStringLiteral("out a\\n"), QStringLiteral("err note\\n")},
                 QStringLiteral("a\n\nnote\n")),
        succeeds("StandardErrorOnlyWithExitZero", {QStringLiteral("err note")},
                 QStringLiteral("\nnote")),
        fails("FailureKeepsErrorTextUntrimmed",
              {QStringLiteral("err broken\\n"), QStringLiteral("exit 3")}, 3,
              QStringLiteral("broken\n")),
        fails("BlankOutputWithoutErrorTextNamesStatus",
              {QStringLiteral("out  \\n\\t\\n"), QStringLiteral("exit 2")}, 2,
              QStringLiteral("dmidecode exited with status 2.")),
        succeeds("NonZeroStatusWithTableSucceeds",
                 {QStringLiteral("out Handle 0x0000\\nBIOS Information\\n\\tVendor: Acme\\n"),
                  QStringLiteral("err /dev/mem: No such file or directory\\n"),
                  QStringLiteral("exit 1")},
                 table + QStringLiteral("\n/dev/mem: No such file or directory\n")),
        succeeds("NonZeroStatusWithTableAndNoErrorText",
                 {QStringLiteral("out Handle 0x0000\\nBIOS Information\\n\\tVendor: Acme\\n"),
                  QStringLiteral("exit 1")},
                 table),
        succeeds("InvalidUtf8OutputIsEmptyText", {QStringLiteral("out abc\\xff\\xfe")}, QString()),
        succeeds("InvalidUtf8OutputKeepsErrorText",
                 {QStringLiteral("out \\xc3"), QStringLiteral("err e")}, QStringLiteral("\ne")),
        fails("InvalidUtf8OutputWithFailureNamesStatus",
              {QStringLiteral("out \\xe2\\x82"), QStringLiteral("exit 4")}, 4,
              QStringLiteral("dmidecode exited with status 4.")),
        fails("InvalidUtf8ErrorTextCountsAsEmpty",
              {QStringLiteral("err \\x80oops"), QStringLiteral("exit 5")}, 5,
              QStringLiteral("dmidecode exited with status 5.")),
        succeeds(
            "MultiByteTextSurvives",
            {QStringLiteral("out Gr\\xc3\\xb6\\xc3\\x9fe \\xe2\\x80\\xa2 \\xf0\\x9f\\x94\\x8b")},
            QStringLiteral("Gr\u00f6\u00dfe \u2022 \U0001F50B")),
        succeeds("EmbeddedNulIsText", {QStringLiteral("out a\\x00b")},
                 QString::fromUtf16(u"a\0b", 3)),
        fails("SignalNumberIsTheStatus", {QStringLiteral("raise 9")}, 9,
              QStringLiteral("dmidecode exited with status 9.")),
        succeeds("SignalWithVisibleOutputSucceeds",
                 {QStringLiteral("out x"), QStringLiteral("raise 15")}, QStringLiteral("x"))),
    [](const ::testing::TestParamInfo<OutcomeCase> &info) { return std::string(info.param.name); });

class RunnerInheritance : public ProcessHygiene {};

TEST_F(RunnerInheritance, PassesArgumentsExactly)
{
    const QStringList arguments{QStringLiteral("args"), QStringLiteral("with space"), QString(),
                                QStringLiteral("\u00e4\u2022"), QStringLiteral("--mac-hardware")};
    const Expected<QString> result = runDMIDecode(fakeTool(), arguments, 10);
    ASSERT_TRUE(result.hasValue());
    EXPECT_EQ(result.value(),
              QStringLiteral("[args]\n[with space]\n[]\n[\u00e4\u2022]\n[--mac-hardware]\n"));
}

TEST_F(RunnerInheritance, ChildSharesEnvironmentDirectoryAndStandardInput)
{
    ::setenv("KESTRIN_RUNNER_PROBE", "probe value", 1);
    struct stat input {};
    ASSERT_EQ(::fstat(STDIN_FILENO, &input), 0);
    const Expected<QString> result = runDMIDecode(fakeTool(),
                                                  {QStringLiteral("env KESTRIN_RUNNER_PROBE"),
                                                   QStringLiteral("cwd"), QStringLiteral("stdin")},
                                                  10);
    ASSERT_TRUE(result.hasValue());
    EXPECT_EQ(result.value(), QStringLiteral("probe value\n%1\n%2:%3\n")
                                  .arg(QDir::currentPath())
                                  .arg(input.st_dev)
                                  .arg(input.st_ino));
}

TEST_F(RunnerInheritance, ChildGetsNoDescriptorOfOurs)
{
    const std::set<int> inheritable = inheritableDescriptors();
    const Expected<QString> result = runDMIDecode(fakeTool(), {QStringLiteral("fds")}, 10);
    ASSERT_TRUE(result.hasValue());
    for (const QString &line : result.value().split(u'\n', Qt::SkipEmptyParts)) {
        EXPECT_TRUE(inheritable.count(line.toInt()) == 1)
            << "child holds descriptor " << line.toStdString();
    }
}

class RunnerLaunch : public ProcessHygiene {};

TEST_F(RunnerLaunch, MissingExecutableIsALaunchError)
{
    const Expected<QString> result =
        runDMIDecode(tempPath(QStringLiteral("absent")), {QStringLiteral("-q")}, 10);
    ASSERT_FALSE(result.hasValue());
    EXPECT_EQ(result.error().code, ENOENT);
    EXPECT_EQ(result.error().description, QString::fromLocal8Bit(std::strerror(ENOENT)));
}

TEST_F(RunnerLaunch, FileThatIsNotAProgramIsALaunchError)
{
    const QString path = tempPath(QStringLiteral("garbage"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x01\x02 not a program\n");
    file.close();
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0755), 0);
    const Expected<QString> result = runDMIDecode(path, {}, 10);
    ASSERT_FALSE(result.hasValue());
    EXPECT_EQ(result.error().code, ENOEXEC);
    EXPECT_EQ(result.error().description, QString::fromLocal8Bit(std::strerror(ENOEXEC)));
}

TEST_F(RunnerLaunch, DirectoryIsALaunchError)
{
    const Expected<QString> result = runDMIDecode(m_dir.path(), {}, 10);
    ASSERT_FALSE(result.hasValue());
    EXPECT_EQ(result.error().code, EACCES);
    EXPECT_FALSE(result.error().description.isEmpty());
}

class RunnerVolume : public ProcessHygiene {};

// A child that fills both pipes at once blocks forever unless both are drained
// at the same time.
TEST_F(RunnerVolume, FiftyMegabytesOnBothStreams)
{
    constexpr qsizetype size = 50 * 1000 * 1000;
    const Expected<QString> result =
        runDMIDecode(fakeTool(), {QStringLiteral("flood %1").arg(size)}, 60);
    ASSERT_TRUE(result.hasValue()) << result.error().description.toStdString();
    ASSERT_EQ(result.value().size(), 2 * size + 1);
    EXPECT_EQ(result.value()[size], u'\n');
    EXPECT_EQ(result.value().count(u'x'), 2 * (size / 100 * 99 + (size % 100)));
}

class RunnerTimeout : public ProcessHygiene {};

struct TimeoutCase {
    const char *name;
    double limit;
    QStringList commands;
    QString description;
};

void PrintTo(const TimeoutCase &c, std::ostream *os)
{
    *os << c.name;
}

class RunnerTimeoutCases : public ProcessHygiene,
                           public ::testing::WithParamInterface<TimeoutCase> {};

TEST_P(RunnerTimeoutCases, FailsWithCode124AndTheWholeSeconds)
{
    const TimeoutCase &c = GetParam();
    const Expected<QString> result = runDMIDecode(fakeTool(), c.commands, c.limit);
    ASSERT_FALSE(result.hasValue());
    EXPECT_EQ(result.error().code, 124);
    EXPECT_EQ(result.error().description, c.description);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerTimeoutCases,
    ::testing::Values(TimeoutCase{"Hang",
                                  1.0,
                                  {QStringLiteral("sleep 60000")},
                                  QStringLiteral("dmidecode timed out after 1 seconds.")},
                      TimeoutCase{"FractionIsDropped",
                                  1.9,
                                  {QStringLiteral("sleep 60000")},
                                  QStringLiteral("dmidecode timed out after 1 seconds.")},
                      TimeoutCase{
                          "OutputBeforeHangIsDiscarded",
                          1.0,
                          {QStringLiteral("out partial table\\n"), QStringLiteral("sleep 60000")},
                          QStringLiteral("dmidecode timed out after 1 seconds.")},
                      TimeoutCase{"LimitBelowOneSecond",
                                  0.2,
                                  {QStringLiteral("sleep 60000")},
                                  QStringLiteral("dmidecode timed out after 0 seconds.")}),
    [](const ::testing::TestParamInfo<TimeoutCase> &info) { return std::string(info.param.name); });

// SIGTERM is ignored, so only SIGKILL, 2 s later, ends the run.
TEST_F(RunnerTimeout, ChildIgnoringTerminationIsKilled)
{
    const QString pidFile = tempPath(QStringLiteral("child.pid"));
    const auto start = std::chrono::steady_clock::now();
    const Expected<QString> result =
        runDMIDecode(fakeTool(),
                     {QStringLiteral("ignoreterm"), QStringLiteral("pidfile ") + pidFile,
                      QStringLiteral("sleep 60000")},
                     1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_FALSE(result.hasValue());
    EXPECT_EQ(result.error().description, QStringLiteral("dmidecode timed out after 1 seconds."));
    EXPECT_GE(elapsed, 2900ms);
    EXPECT_LT(elapsed, 10s);
    const pid_t pid = readPid(pidFile);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid, 0), -1) << "the child is still there";
}

// A launching thread that blocks SIGTERM must not hand that on to the tool:
// the polite stop has to work, without waiting 2 s for SIGKILL.
TEST_F(RunnerTimeout, ChildDoesNotInheritBlockedSignals)
{
    std::chrono::steady_clock::duration elapsed{};
    std::optional<Expected<QString>> result;
    std::thread([&] {
        sigset_t blocked;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
        const auto start = std::chrono::steady_clock::now();
        result = runDMIDecode(fakeTool(), {QStringLiteral("sleep 60000")}, 1);
        elapsed = std::chrono::steady_clock::now() - start;
    }).join();
    ASSERT_FALSE(result->hasValue());
    EXPECT_EQ(result->error().code, 124);
    EXPECT_LT(elapsed, 2500ms);
}

// A process left behind keeps the pipes open; the run must not wait for it.
TEST_F(RunnerTimeout, ProcessLeftBehindDoesNotHoldASuccessfulRun)
{
    const auto start = std::chrono::steady_clock::now();
    const Expected<QString> result = runDMIDecode(
        fakeTool(),
        {QStringLiteral("out table\\n"), QStringLiteral("grandchild 30000 ") + leftBehindPidFile(),
         QStringLiteral("exit 0")},
        10);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(result.hasValue());
    // What the tool wrote before it ended is kept.
    EXPECT_EQ(result.value(), QStringLiteral("table\n"));
    EXPECT_LT(elapsed, 5s);
}

TEST_F(RunnerTimeout, ProcessLeftBehindDoesNotHoldATimedOutRun)
{
    const auto start = std::chrono::steady_clock::now();
    const Expected<QString> result = runDMIDecode(
        fakeTool(),
        {QStringLiteral("grandchild 30000 ") + leftBehindPidFile(), QStringLiteral("sleep 60000")},
        1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_FALSE(result.hasValue());
    EXPECT_EQ(result.error().code, 124);
    EXPECT_LT(elapsed, 7s);
}

class RunnerConcurrency : public ProcessHygiene {};

// Runs are independent: one that hangs, started while another is under way,
// neither serialises nor holds up the other. (Descriptor inheritance between
// runs is checked directly by ChildGetsNoDescriptorOfOurs.)
TEST_F(RunnerConcurrency, HungRunDoesNotDelayAnother)
{
    auto quick = std::async(std::launch::async, [] {
        const auto start = std::chrono::steady_clock::now();
        Expected<QString> result =
            runDMIDecode(fakeTool(), {QStringLiteral("sleep 300"), QStringLiteral("out done")}, 10);
        return std::make_pair(std::move(result), std::chrono::steady_clock::now() - start);
    });
    std::this_thread::sleep_for(100ms);
    auto hung = std::async(std::launch::async, [] {
        return runDMIDecode(fakeTool(), {QStringLiteral("sleep 60000")}, 3);
    });
    const auto [quickResult, quickElapsed] = quick.get();
    ASSERT_TRUE(quickResult.hasValue());
    EXPECT_EQ(quickResult.value(), QStringLiteral("done"));
    EXPECT_LT(quickElapsed, 1500ms);
    EXPECT_EQ(hung.get().error().code, 124);
}

TEST_F(RunnerConcurrency, ManyRunsAtOnceKeepTheirOwnOutput)
{
    std::vector<std::future<Expected<QString>>> runs;
    for (int i = 0; i < 8; ++i) {
        runs.push_back(std::async(std::launch::async, [i] {
            return runDMIDecode(fakeTool(),
                                {QStringLiteral("out run %1").arg(i), QStringLiteral("sleep 50"),
                                 QStringLiteral("err e%1").arg(i)},
                                10);
        }));
    }
    for (int i = 0; i < 8; ++i) {
        const Expected<QString> result = runs[static_cast<std::size_t>(i)].get();
        ASSERT_TRUE(result.hasValue());
        EXPECT_EQ(result.value(), QStringLiteral("run %1\ne%1").arg(i));
    }
}

} // namespace
