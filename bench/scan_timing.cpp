// Wall time of a whole scan against a scripted stand-in for the tool: the two
// runs must overlap (two 300 ms runs take about 300 ms, not 600), and what a
// scan adds on top of its slower run (launching, draining, reaping, threads)
// should stay within a few milliseconds plus parsing.
#include "model/textservices.h"
#include "scanner/hardwarescanner.h"
#include "scanner/processrunner.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

const QString classicFixture =
    QStringLiteral(KESTRIN_FIXTURES_DIR "/dmi-bin/uroot-lenovo-thinkpad-t480.q.txt");
const QString macSample = QStringLiteral(
    "Memory:\n[DIMM0] BANK 0\n  Size: 16 GB\n  Speed: 2667 MHz\n[DIMM1] BANK 1\n  Size: 16 GB\n"
    "Network:\n[en0] Ethernet\n  MAC Address: 00:11:22:33:44:55\n");

// Scripts for the stand-in tool, one per mode, in a folder of their own.
class ToolScripts {
public:
    explicit ToolScripts(int sleepMs)
    {
        ::setenv("KESTRIN_FAKE_TOOL_DIR", QFile::encodeName(m_dir.path()).constData(), 1);
        QFile mac(m_dir.filePath(QStringLiteral("mac.script")));
        QFile classic(m_dir.filePath(QStringLiteral("classic.script")));
        QFile macText(m_dir.filePath(QStringLiteral("mac.txt")));
        if (!mac.open(QIODevice::WriteOnly) || !classic.open(QIODevice::WriteOnly) ||
            !macText.open(QIODevice::WriteOnly)) {
            std::abort();
        }
        macText.write(macSample.toUtf8());
        const QByteArray sleep = "sleep " + QByteArray::number(sleepMs) + '\n';
        mac.write(sleep + "outfile " + QFile::encodeName(macText.fileName()) + '\n');
        classic.write(sleep + "outfile " + QFile::encodeName(classicFixture) + '\n');
    }

private:
    QTemporaryDir m_dir;
};

HardwareScanner scannerWithFakeTool()
{
    HardwareScanner scanner;
    scanner.setToolOverride(QStringLiteral(KESTRIN_BENCH_FAKE_TOOL));
    return scanner;
}

void checkClean(benchmark::State &state, const HardwareScanResult &result)
{
    if (!result.warnings.isEmpty() || result.items.isEmpty()) {
        state.SkipWithError("the scan did not succeed");
    }
}

// A full scan whose two runs each sleep `range(0)` ms before writing. With 300
// the scan should take about 300 ms (the runs overlap); with 0 it measures
// everything a scan costs apart from waiting.
void BM_ScanWithRunsSleeping(benchmark::State &state)
{
    ToolScripts scripts(static_cast<int>(state.range(0)));
    const HardwareScanner scanner = scannerWithFakeTool();
    for (auto _ : state) {
        HardwareScanResult result = scanner.performScan();
        checkClean(state, result);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_ScanWithRunsSleeping)
    ->Arg(300)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ScanWithRunsSleeping)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same texts parsed and assembled without any process: the part of the
// scan that is not process handling.
void BM_ParseAndAssembleOnly(benchmark::State &state)
{
    const HardwareScanner scanner;
    QFile file(classicFixture);
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("fixture missing");
        return;
    }
    const QString classic = Text::decodeUtf8Strict(file.readAll());
    for (auto _ : state) {
        QList<ScanPart> parts{HardwareScanner::macHardwarePart(macSample),
                              scanner.classicPart(classic)};
        HardwareScanResult result = scanner.assemble(std::move(parts));
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_ParseAndAssembleOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// One run of a tool that ends at once: launch, two readers, reaping.
void BM_SingleEmptyRun(benchmark::State &state)
{
    const QString tool = QStringLiteral(KESTRIN_BENCH_FAKE_TOOL);
    const QStringList arguments{QStringLiteral("exit 0")};
    for (auto _ : state) {
        Expected<QString> result =
            runDMIDecode(tool, arguments, 20, HardwareScanner::activeProcesses());
        if (!result.hasValue()) {
            state.SkipWithError("the run failed");
        }
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_SingleEmptyRun)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The floor under BM_SingleEmptyRun: starting the same tool and waiting for it
// with nothing else (no pipes, no threads, no registry).
void BM_BareSpawnAndWait(benchmark::State &state)
{
    QByteArray tool = QFile::encodeName(QStringLiteral(KESTRIN_BENCH_FAKE_TOOL));
    QByteArray command("exit 0");
    char *const argv[] = {tool.data(), command.data(), nullptr};
    for (auto _ : state) {
        pid_t pid = -1;
        if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("spawn failed");
            break;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
}
BENCHMARK(BM_BareSpawnAndWait)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
