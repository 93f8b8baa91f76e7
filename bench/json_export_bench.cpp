// Throughput of the JSON report on a large classic run: every fixture text
// concatenated to about 46 MB, scanned once before timing; what is timed is
// JsonExport::document, the writer kestrin-cli --json and the window's JSON
// save go through. bytes_per_second counts the JSON bytes written.
#include "browser/jsonexport.h"
#include "scanner/hardwarescanner.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

QString concatenatedFixtures(qint64 targetBytes)
{
    const QDir dir(QStringLiteral(KESTRIN_FIXTURES_DIR "/dmidecode"));
    QByteArray once;
    for (const QString &name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            once += file.readAll();
        }
    }
    QByteArray all;
    while (!once.isEmpty() && all.size() < targetBytes) {
        all += once;
    }
    return QString::fromUtf8(all);
}

void BM_JsonExport(benchmark::State &state)
{
    const HardwareScanner scanner;
    QList<ScanPart> parts;
    parts.append(scanner.classicPart(concatenatedFixtures(46'000'000)));
    const HardwareScanResult result = scanner.assemble(std::move(parts));
    const QString raw = result.rawOutput.text();
    const ReportFormat::Header header = ReportFormat::currentHeader(false);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray json = JsonExport::document(result.items, result.warnings, raw, header);
        bytes += json.size();
        benchmark::DoNotOptimize(json.constData());
    }
    state.SetBytesProcessed(bytes);
    state.counters["items"] = static_cast<double>(result.items.size());
}

} // namespace

BENCHMARK(BM_JsonExport)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
