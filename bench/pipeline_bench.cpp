// Throughput and peak memory of the text pipeline: both runs' parsers,
// classification, cleaning, the summary and the framed raw output, as a scan
// does them (HardwareScanner::macHardwarePart, classicPart, assemble).
//
// Cases:
//   BM_Pipeline/corpus        classic run: every fixture text concatenated;
//                             mac run: the real --mac-hardware listings
//   BM_Pipeline/classic_5MB   classic run: real fixture records cycled to that
//   BM_Pipeline/classic_50MB  size, each with a fresh handle and serial numbers;
//                             mac run: the real listings
//   BM_Pipeline/mac_5MB       mac run: the real listings cycled to that size with
//   BM_Pipeline/mac_50MB      fresh device ids; classic run: one real -q output
//   BM_LegacyPipeline/...     the earlier benchmark: the same text handed to both
//                             parsers, bytes counted once, for comparison
//
// bytes_per_second counts the UTF-8 bytes of all tool output consumed per
// iteration. peak_rss_ratio is the growth of the peak resident set during one
// untimed pipeline call, over those input bytes (the input is built before).
#include "model/textservices.h"
#include "scanner/hardwarescanner.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <fstream>
#include <malloc.h>
#include <string>

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return Text::decodeUtf8Strict(file.readAll());
}

QStringList fixtureFiles(const char *folder, const QString &pattern)
{
    const QDir dir(QStringLiteral(KESTRIN_FIXTURES_DIR) + QString::fromUtf8(folder));
    QStringList files;
    for (const QString &name : dir.entryList({pattern}, QDir::Files, QDir::Name)) {
        files.append(dir.filePath(name));
    }
    return files;
}

qint64 utf8Size(QStringView text)
{
    qint64 bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            bytes += 1;
        } else if (c < 0x800) {
            bytes += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                   QChar::isLowSurrogate(text[i + 1].unicode())) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

// Every classic fixture text, each followed by a line feed (the earlier
// benchmark's corpus).
const QString &corpusText()
{
    static const QString text = [] {
        QString all;
        for (const char *folder : {"/dmidecode", "/dmi-bin"}) {
            for (const QString &path : fixtureFiles(folder, QStringLiteral("*.txt"))) {
                all += readText(path);
                all += QLatin1Char('\n');
            }
        }
        return all;
    }();
    return text;
}

// The real listings that the bundled tool printed for the test machines.
const QString &macListing()
{
    static const QString text = [] {
        QString all;
        for (const char *machine : {"laptop", "server"}) {
            all +=
                readText(QStringLiteral(KESTRIN_TEST_DATA_DIR "/sysroot-") +
                         QString::fromUtf8(machine) + QStringLiteral("/expected/mac-hardware.txt"));
        }
        return all;
    }();
    return text;
}

const QString &smallClassicText()
{
    static const QString text =
        readText(QStringLiteral(KESTRIN_FIXTURES_DIR "/dmi-bin/uroot-lenovo-thinkpad-t480.q.txt"));
    return text;
}

// The records of the full fixture outputs: from a "Handle " line up to the next.
QList<QStringList> classicRecords()
{
    QStringList files = fixtureFiles("/dmidecode", QStringLiteral("*.txt"));
    files += fixtureFiles("/dmi-bin", QStringLiteral("*.full.txt"));
    QList<QStringList> records;
    for (const QString &path : files) {
        const QString text = readText(path);
        QStringList *record = nullptr;
        for (QStringView line : Text::splitLines(text)) {
            if (line.startsWith(u"Handle ")) {
                records.append(QStringList());
                record = &records.last();
            }
            if (record != nullptr) {
                record->append(line.toString());
            }
        }
    }
    return records;
}

// A dmidecode output of about `targetBytes` (UTF-8) made of real records, cycled;
// every record gets a fresh handle and every serial number a fresh value, so no
// record repeats another one.
QString syntheticClassic(qint64 targetBytes)
{
    const QList<QStringList> records = classicRecords();
    QString text = QStringLiteral("# dmidecode 3.4\nGetting SMBIOS data from sysfs.\n"
                                  "SMBIOS 3.2.0 present.\n\n");
    text.reserve(targetBytes + targetBytes / 20);
    qint64 bytes = utf8Size(text);
    quint64 handle = 0;
    quint64 serial = 0;
    for (qsizetype r = 0; bytes < targetBytes && !records.isEmpty(); ++r) {
        const QStringList &record = records[r % records.size()];
        const qsizetype start = text.size();
        for (const QString &line : record) {
            if (line.startsWith(u"Handle ")) {
                // "Handle 0x0011, DMI type 17, 40 bytes": replace the number.
                const qsizetype comma = line.indexOf(u',');
                text += QStringLiteral("Handle 0x");
                text += QStringLiteral("%1").arg(++handle, 4, 16, QLatin1Char('0')).toUpper();
                if (comma >= 0) {
                    text += QStringView(line).mid(comma);
                }
            } else if (const qsizetype colon = line.indexOf(u':');
                       colon > 0 && line.left(colon).contains(u"serial", Qt::CaseInsensitive)) {
                text += QStringView(line).left(colon + 1);
                text += QStringLiteral(" SN");
                text += QStringLiteral("%1").arg(++serial, 10, 16, QLatin1Char('0')).toUpper();
            } else {
                text += line;
            }
            text += QLatin1Char('\n');
        }
        bytes += utf8Size(QStringView(text).mid(start));
    }
    return text;
}

// A --mac-hardware listing of about `targetBytes` made of the real listings,
// cycled, with every device line given a fresh id: "[pci: 0000:00:02.0] Intel"
// becomes "[pci: 0000:00:02.0/1a] Intel" and so on.
QString syntheticMac(qint64 targetBytes)
{
    const QList<QStringView> lines = Text::splitLines(macListing());
    QString text;
    text.reserve(targetBytes + targetBytes / 20);
    qint64 bytes = 0;
    quint64 device = 0;
    while (bytes < targetBytes && !lines.isEmpty()) {
        const qsizetype start = text.size();
        for (QStringView line : lines) {
            const QStringView trimmed = line.trimmed();
            const qsizetype close = trimmed.indexOf(u']');
            if (trimmed.startsWith(u'[') && close > 0) {
                const qsizetype at = line.indexOf(u']');
                text += line.left(at);
                text += QLatin1Char('/');
                text += QString::number(++device, 16);
                text += line.mid(at);
            } else {
                text += line;
            }
            text += QLatin1Char('\n');
        }
        bytes += utf8Size(QStringView(text).mid(start));
    }
    return text;
}

long statusKiB(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ':';
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stol(line.substr(prefix.size()));
        }
    }
    return -1;
}

// Peak growth of the resident set while `call` runs, in bytes: freed heap goes
// back to the system first and the peak is reset, so only what the call itself
// holds at once counts.
template <typename Call> double peakGrowthBytes(Call &&call)
{
    ::malloc_trim(0);
    {
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5";
    }
    const long before = statusKiB("VmRSS");
    call();
    const long peak = statusKiB("VmHWM");
    if (before < 0 || peak < 0) {
        return -1;
    }
    return static_cast<double>(peak - before) * 1024.0;
}

HardwareScanResult pipeline(const HardwareScanner &scanner, const QString &mac,
                            const QString &classic)
{
    QList<ScanPart> parts;
    parts.append(HardwareScanner::macHardwarePart(mac));
    parts.append(scanner.classicPart(classic));
    return scanner.assemble(std::move(parts));
}

void runPipeline(benchmark::State &state, const QString &mac, const QString &classic)
{
    const HardwareScanner scanner;
    const qint64 inputBytes = utf8Size(mac) + utf8Size(classic);
    qsizetype items = 0;
    const double peak =
        peakGrowthBytes([&] { items = pipeline(scanner, mac, classic).items.size(); });
    for (auto _ : state) {
        HardwareScanResult result = pipeline(scanner, mac, classic);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * inputBytes);
    state.counters["input_MB"] = static_cast<double>(inputBytes) / 1e6;
    state.counters["items"] = static_cast<double>(items);
    state.counters["peak_rss_ratio"] = peak / static_cast<double>(inputBytes);
}

// --- the earlier benchmark, kept to compare with figures taken before ---

// Real-looking records with varying values, so cleaning cannot collapse them.
QString legacySyntheticText(qsizetype targetBytes)
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

void runLegacyPipeline(benchmark::State &state, const QString &text)
{
    const HardwareScanner scanner;
    const double peak = peakGrowthBytes([&] { pipeline(scanner, text, text); });
    for (auto _ : state) {
        HardwareScanResult result = pipeline(scanner, text, text);
        benchmark::DoNotOptimize(result);
    }
    // Bytes of tool output, as UTF-8 (the text is mostly ASCII), counted once.
    state.SetBytesProcessed(state.iterations() * text.size());
    state.counters["peak_rss_ratio"] = peak / static_cast<double>(utf8Size(text));
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    using benchmark::RegisterBenchmark;
    using benchmark::State;
    RegisterBenchmark("BM_Pipeline/corpus", [](State &state) {
        runPipeline(state, macListing(), corpusText());
    })->Unit(benchmark::kMillisecond);
    for (const int megabytes : {5, 50}) {
        const std::string size = std::to_string(megabytes) + "MB";
        const qint64 bytes = qint64(megabytes) * 1024 * 1024;
        RegisterBenchmark(("BM_Pipeline/classic_" + size).c_str(), [bytes](State &state) {
            const QString classic = syntheticClassic(bytes);
            runPipeline(state, macListing(), classic);
        })->Unit(benchmark::kMillisecond);
    }
    for (const int megabytes : {5, 50}) {
        const std::string size = std::to_string(megabytes) + "MB";
        const qint64 bytes = qint64(megabytes) * 1024 * 1024;
        RegisterBenchmark(("BM_Pipeline/mac_" + size).c_str(), [bytes](State &state) {
            const QString mac = syntheticMac(bytes);
            runPipeline(state, mac, smallClassicText());
        })->Unit(benchmark::kMillisecond);
    }
    RegisterBenchmark("BM_LegacyPipeline/corpus", [](State &state) {
        runLegacyPipeline(state, corpusText());
    })->Unit(benchmark::kMillisecond);
    for (const int megabytes : {5, 50}) {
        RegisterBenchmark(
            ("BM_LegacyPipeline/synthetic_" + std::to_string(megabytes) + "MB").c_str(),
            [megabytes](State &state) {
                const QString text = legacySyntheticText(megabytes * 1024 * 1024);
                runLegacyPipeline(state, text);
            })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
