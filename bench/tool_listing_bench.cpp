// The bundled tool's --mac-hardware listing of the fixture machines: once
// inside this process (the reading and formatting alone), and as the whole
// program the application starts (start-up, reading, writing). The whole run
// on the desktop must stay under 50 ms.
#include "tool/devicelisting.h"
#include "tool/iddatabase.h"
#include "tool/sysroot.h"

#include <benchmark/benchmark.h>
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::string machine(const char *name)
{
    return std::string(KESTRIN_TEST_DATA_DIR) + "/sysroot-" + name;
}

void BM_ListingInProcess(benchmark::State &state, const char *name)
{
    const SysRoot root(machine(name));
    for (auto _ : state) {
        // The id databases are read once per run of the tool, so once per listing here.
        IdDatabase ids(root);
        std::string listing = deviceListing(root, ids);
        benchmark::DoNotOptimize(listing);
    }
}
BENCHMARK_CAPTURE(BM_ListingInProcess, desktop, "desktop")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListingInProcess, laptop, "laptop")->Unit(benchmark::kMillisecond);

void BM_ListingWholeRun(benchmark::State &state, const char *name)
{
    const std::string tool = KESTRIN_BENCH_TOOL;
    std::string sysroot = machine(name);
    std::string a0 = tool, a1 = "--sysroot", a3 = "--mac-hardware";
    char *argv[] = {a0.data(), a1.data(), sysroot.data(), a3.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the tool");
            break;
        }
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the tool failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK_CAPTURE(BM_ListingWholeRun, desktop, "desktop")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ListingWholeRun, laptop, "laptop")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
