// The bundled tool's --mac-hardware listing of a whole fixture machine, read
// from its tree as the tool reads /proc and /sys; the target is under 50 ms for
// the desktop (a run of the tool adds its start, about a millisecond).
#include "tool/devicelisting.h"
#include "tool/iddatabase.h"
#include "tool/sysroot.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

void listMachine(benchmark::State &state, const char *machine)
{
    const SysRoot root(std::string(KESTRIN_TEST_DATA_DIR "/sysroot-") + machine);
    for (auto _ : state) {
        // The id databases are read once per run of the tool, so once per listing here.
        IdDatabase ids(root);
        benchmark::DoNotOptimize(deviceListing(root, ids));
    }
}

void desktopListing(benchmark::State &state)
{
    listMachine(state, "desktop");
}

void laptopListing(benchmark::State &state)
{
    listMachine(state, "laptop");
}

} // namespace

BENCHMARK(desktopListing)->Unit(benchmark::kMillisecond);
BENCHMARK(laptopListing)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
