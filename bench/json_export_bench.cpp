// Throughput of the JSON report on a large classic run: every fixture text
// concatenated to about 48 MB, scanned once before timing. BM_JsonExport
// times JsonExport::document (the whole document in memory, as the window's
// JSON save has it); BM_JsonStream times JsonExport::write to a device that
// drops the bytes, the path of kestrin-cli --json. bytes_per_second counts the
// JSON bytes written. BM_ScanAndStream is kestrin-cli --classic FILE --json
// without the process: the decoded text scanned and streamed, counted in
// input bytes, so it reads against the 100 MB/s the command must reach.
#include "browser/jsonexport.h"
#include "scanner/hardwarescanner.h"

#include <QDir>
#include <QFile>
#include <QIODevice>

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

const HardwareScanResult &largeResult()
{
    static const HardwareScanResult result = [] {
        const HardwareScanner scanner;
        QList<ScanPart> parts;
        parts.append(scanner.classicPart(concatenatedFixtures(48'300'000)));
        return scanner.assemble(std::move(parts));
    }();
    return result;
}

// Counts what it is given and keeps nothing.
class DropDevice : public QIODevice {
public:
    qint64 total = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        total += size;
        return size;
    }
};

void BM_JsonExport(benchmark::State &state)
{
    const HardwareScanResult &result = largeResult();
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

void BM_JsonStream(benchmark::State &state)
{
    const HardwareScanResult &result = largeResult();
    const ReportFormat::Header header = ReportFormat::currentHeader(false);
    DropDevice device;
    device.open(QIODevice::WriteOnly);
    for (auto _ : state) {
        if (!JsonExport::write(device, result.items, result.warnings, result.rawOutput, header)) {
            state.SkipWithError("write failed");
        }
    }
    state.SetBytesProcessed(device.total);
}

void BM_ScanAndStream(benchmark::State &state)
{
    static const QString text = concatenatedFixtures(48'300'000);
    const qint64 inputBytes = text.toUtf8().size();
    const ReportFormat::Header header = ReportFormat::currentHeader(false);
    DropDevice device;
    device.open(QIODevice::WriteOnly);
    for (auto _ : state) {
        const HardwareScanner scanner;
        QList<ScanPart> parts;
        parts.append(scanner.classicPart(text));
        const HardwareScanResult result = scanner.assemble(std::move(parts));
        if (!JsonExport::write(device, result.items, result.warnings, result.rawOutput, header)) {
            state.SkipWithError("write failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * inputBytes);
}

} // namespace

BENCHMARK(BM_ScanAndStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsonExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JsonStream)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
