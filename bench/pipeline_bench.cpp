// Throughput of the text pipeline: both parsers, classification, cleaning and
// the summary, on real outputs and on a large synthetic one.
#include "model/textservices.h"
#include "scanner/hardwarescanner.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

QString corpusText()
{
    QString text;
    for (const char *folder : {"/dmidecode", "/dmi-bin"}) {
        const QDir dir(QStringLiteral(KESTRIN_FIXTURES_DIR) + QString::fromUtf8(folder));
        for (const QString &name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly)) {
                text += Text::decodeUtf8Strict(file.readAll());
                text += QLatin1Char('\n');
            }
        }
    }
    return text;
}

// Real-looking records with varying values, so cleaning cannot collapse them.
QString syntheticText(qsizetype targetBytes)
{
    QString text;
    text.reserve(targetBytes + 4096);
    for (int record = 0; text.size() < targetBytes; ++record) {
        const QString n = QString::number(record);
        text += QStringLiteral("Handle 0x") + QString::number(record, 16) +
                QStringLiteral(", DMI type 17, 40 bytes\nMemory Device\n\tTotal Width: 64 bits\n"
                               "\tData Width: 64 bits\n\tSize: ") +
                QString::number(record % 64 + 1) +
                QStringLiteral(" GB\n\tForm Factor: DIMM\n\tLocator: DIMM ") + n +
                QStringLiteral("\n\tBank Locator: BANK ") + QString::number(record % 8) +
                QStringLiteral("\n\tType: DDR4\n\tSpeed: 3200 MT/s\n\tManufacturer: Vendor ") +
                QString::number(record % 13) + QStringLiteral("\n\tSerial Number: S") + n +
                QStringLiteral("\n\tAsset Tag: Not Specified\n\tPart Number: PN-") +
                QString::number(record % 97) +
                QStringLiteral("\n\tRank: 2\n\tConfigured Memory Speed: 2933 MT/s\n\n");
    }
    return text;
}

void runPipeline(benchmark::State &state, const QString &text)
{
    const HardwareScanner scanner;
    for (auto _ : state) {
        HardwareScanResult result = scanner.assemble({
            ScanPart{0,
                     QStringLiteral("dmidecode --mac-hardware"),
                     text,
                     scanner.parseMacHardware(text),
                     {}},
            ScanPart{
                1, QStringLiteral("dmidecode -q"), text, scanner.parseClassicDMIDecode(text), {}},
        });
        benchmark::DoNotOptimize(result);
    }
    // Bytes of tool output, as UTF-8 (the text is mostly ASCII).
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_PipelineCorpus(benchmark::State &state)
{
    static const QString text = corpusText();
    runPipeline(state, text);
}
BENCHMARK(BM_PipelineCorpus)->Unit(benchmark::kMillisecond);

void BM_PipelineSynthetic(benchmark::State &state)
{
    const QString text = syntheticText(state.range(0) * 1024 * 1024);
    runPipeline(state, text);
}
BENCHMARK(BM_PipelineSynthetic)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
