// kestrin-cli: the scan pipeline without the window, for scripting, for
// checking saved outputs and for tests.
#include "browser/itemfilter.h"
#include "browser/jsonexport.h"
#include "browser/reportcompare.h"
#include "browser/reportreader.h"
#include "model/identifiermask.h"
#include "model/textservices.h"
#include "scanner/administratorread.h"
#include "scanner/hardwarescanner.h"
#include "scanner/toollocation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

constexpr int exitUsage = 2;
constexpr int exitIo = 1;

// The help text around the category list, which comes from the model.
constexpr char helpBeforeCategories[] =
    "Usage: kestrin-cli [OPTIONS]\n"
    "\n"
    "Shows the hardware facts that Kestrin shows, on the command line.\n"
    "Without --classic/--mac it scans this machine with the bundled dmidecode tool.\n"
    "\n"
    "Input:\n"
    "  --classic FILE     use saved output of 'dmidecode -q' instead of scanning\n"
    "  --mac FILE         use saved output of 'dmidecode --mac-hardware' instead of scanning\n"
    "                     (either or both; mac items come first, as in a scan)\n"
    "  --tool PATH        scan with this dmidecode executable instead of the bundled one\n"
    "                     (for testing, and for users who build their own dmidecode)\n"
    "  --open FILE        read a saved report instead of scanning: Kestrin JSON, or a saved\n"
    "                     dmidecode (full or -q) or --mac-hardware output, known by content\n"
    "  --compare OLD [NEW]\n"
    "                     list what differs from report OLD to report NEW (this machine's\n"
    "                     scan when NEW is absent): '- ' removed, '+ ' added, '~ ' changed\n"
    "                     (old \u2192 new); with --json {\"added\",\"removed\",\"changed\"};\n"
    "                     --category, --search and --private apply. Exit status as diff's:\n"
    "                     0 same, 1 different, 2 on errors\n"
    "  --admin            read the firmware tables as administrator through pkexec\n"
    "                     (its password prompt appears in the terminal); a refusal\n"
    "                     goes to standard error with what every user may read\n"
    "\n"
    "Output (standard output; scan warnings go to standard error):\n"
    "  (default)          a plain-text listing grouped by category, in result order\n"
    "  --json             "
    "{\"items\":[{\"id\",\"category\",\"title\",\"value\",\"detail\",\"source\"}],\n"
    "                      \"warnings\":[...],\"rawOutput\":\"...\"}\n"
    "  --raw              the raw tool output, framed as a scan frames it\n"
    "  --private          mask serial numbers, UUIDs, asset tags, MAC addresses and\n"
    "                     other unique identifiers in the listing, --json, --raw and\n"
    "                     the warnings, as the window's Hide Identifiers does (off by\n"
    "                     default); --search then cannot find a masked value\n"
    "\n"
    "Filters (the rules of the window's list):\n";

constexpr char helpAfterCategories[] =
    "  --search TEXT      only items whose text contains TEXT (case and surrounding\n"
    "                     spaces ignored)\n"
    "\n"
    "  -h, --help         show this help\n"
    "  --version          show the version\n"
    "\n"
    "Input that is not valid UTF-8 is read as empty text, as the window reads such tool\n"
    "output. Exit status: 0 on success (also when a scan has warnings), 1 when a file\n"
    "cannot be read or the output cannot be written, 2 for usage errors.\n";

// "Summary, Platform, …, Other": every title --category accepts, in the
// sidebar's order.
QString categoryTitles()
{
    QStringList titles;
    for (const HardwareCategory category : allCategories) {
        titles.append(rawValue(category));
    }
    return titles.join(QStringLiteral(", "));
}

// Fills lines up to `width` columns, the first after `lead`, the others
// indented as deep as it.
QString wrapped(const QString &lead, const QString &text, qsizetype width)
{
    const QString indent(lead.size(), u' ');
    QString result = lead;
    qsizetype lineStart = 0;
    bool lineEmpty = true;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!lineEmpty && result.size() - lineStart + 1 + word.size() > width) {
            result += u'\n';
            lineStart = result.size();
            result += indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            result += u' ';
        }
        result += word;
        lineEmpty = false;
    }
    return result + u'\n';
}

QByteArray helpText()
{
    constexpr qsizetype width = 88;
    return QByteArray(helpBeforeCategories) +
           wrapped(QStringLiteral("  --category TITLE   "),
                   QStringLiteral("only items of this category: %1 (exact title)")
                       .arg(categoryTitles()),
                   width)
               .toUtf8() +
           helpAfterCategories;
}

struct Options {
    std::optional<QString> classicFile;
    std::optional<QString> macFile;
    std::optional<QString> toolPath;
    std::optional<QString> openFile;
    std::optional<QString> compareOld;
    std::optional<QString> compareNew;
    std::optional<HardwareCategory> category;
    QString search;
    bool json = false;
    bool raw = false;
    bool hideIdentifiers = false;
    bool admin = false;
};

void printError(const QString &message)
{
    std::fprintf(stderr, "kestrin-cli: %s\n", message.toLocal8Bit().constData());
}

bool writeOut(const QByteArray &bytes)
{
    if (!bytes.isEmpty() && std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()),
                                        stdout) != static_cast<size_t>(bytes.size())) {
        return false;
    }
    return std::fflush(stdout) == 0;
}

// Returns the exit status to leave with, or nothing to go on. The help text
// is Kestrin's own, not the parser's, and so are the messages for a mistyped
// command line.
std::optional<int> parseArguments(const QStringList &arguments, Options &options)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption raw(QStringLiteral("raw"));
    const QCommandLineOption admin(QStringLiteral("admin"));
    const QCommandLineOption hideIdentifiers(QStringLiteral("private"));
    const QCommandLineOption classic(QStringLiteral("classic"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption mac(QStringLiteral("mac"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption tool(QStringLiteral("tool"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption open(QStringLiteral("open"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption compare(QStringLiteral("compare"), QString(), QStringLiteral("OLD"));
    const QCommandLineOption category(QStringLiteral("category"), QString(),
                                      QStringLiteral("TITLE"));
    const QCommandLineOption search(QStringLiteral("search"), QString(), QStringLiteral("TEXT"));
    const QList<QCommandLineOption> withValues = {classic, mac,      tool,  open,
                                                  compare, category, search};
    parser.addOptions({help, version, json, raw, admin, hideIdentifiers});
    parser.addOptions(withValues);

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString &name = unknown.first();
            printError(
                QStringLiteral("unknown argument \"%1%2\" (see --help)")
                    .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name));
            return exitUsage;
        }
        // The parser takes whatever follows an option as its value, so only
        // the last argument can lack one.
        for (const QCommandLineOption &option : withValues) {
            if (arguments.last() == QStringLiteral("--") + option.names().first()) {
                printError(
                    QStringLiteral("option %1 needs a value (see --help)").arg(arguments.last()));
                return exitUsage;
            }
        }
        // Otherwise a switch was given a value, as in --json=yes.
        const auto takesValue = [&](QStringView name) {
            return std::any_of(
                withValues.begin(), withValues.end(),
                [&](const QCommandLineOption &option) { return option.names().first() == name; });
        };
        for (const QString &argument : arguments) {
            const qsizetype equals = argument.indexOf(u'=');
            if (argument.startsWith(u"--") && equals > 2 &&
                !takesValue(QStringView(argument).sliced(2, equals - 2))) {
                printError(QStringLiteral("unknown argument \"%1\" (see --help)").arg(argument));
                return exitUsage;
            }
        }
        printError(QStringLiteral("%1 (see --help)").arg(parser.errorText()));
        return exitUsage;
    }
    if (parser.isSet(help)) {
        writeOut(helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        writeOut(QByteArrayLiteral("kestrin-cli " KESTRIN_VERSION "\n"));
        return 0;
    }

    auto valueOf = [&](const QCommandLineOption &option) -> std::optional<QString> {
        if (!parser.isSet(option)) {
            return std::nullopt;
        }
        return parser.value(option);
    };
    options.json = parser.isSet(json);
    options.raw = parser.isSet(raw);
    options.admin = parser.isSet(admin);
    options.hideIdentifiers = parser.isSet(hideIdentifiers);
    options.classicFile = valueOf(classic);
    options.macFile = valueOf(mac);
    options.toolPath = valueOf(tool);
    options.openFile = valueOf(open);
    options.compareOld = valueOf(compare);
    options.search = parser.value(search);

    // A second report to compare is the one argument that is not an option.
    QStringList positional = parser.positionalArguments();
    if (options.compareOld && !positional.isEmpty()) {
        options.compareNew = positional.takeFirst();
    }
    if (!positional.isEmpty()) {
        printError(QStringLiteral("unknown argument \"%1\" (see --help)").arg(positional.first()));
        return exitUsage;
    }

    if (const std::optional<QString> title = valueOf(category)) {
        options.category = categoryFromRawValue(*title);
        if (!options.category) {
            printError(QStringLiteral("unknown category \"%1\" (titles are case-sensitive: %2)")
                           .arg(*title, categoryTitles()));
            return exitUsage;
        }
    }
    if (options.json && options.raw) {
        printError(QStringLiteral("--json and --raw cannot be combined"));
        return exitUsage;
    }
    if (options.admin && (options.classicFile || options.macFile)) {
        printError(QStringLiteral("--admin scans the machine; it cannot be combined with "
                                  "--classic or --mac"));
        return exitUsage;
    }
    if (options.toolPath && (options.classicFile || options.macFile)) {
        printError(QStringLiteral("--tool scans the machine; it cannot be combined with "
                                  "--classic or --mac"));
        return exitUsage;
    }
    const bool toolOutputs = options.classicFile || options.macFile;
    if (options.openFile &&
        (toolOutputs || options.toolPath || options.admin || options.compareOld)) {
        printError(QStringLiteral("--open reads a report in place of a scan; it cannot be combined "
                                  "with --classic, --mac, --tool, --admin or --compare"));
        return exitUsage;
    }
    if (options.compareOld && (toolOutputs || options.raw)) {
        printError(QStringLiteral("--compare cannot be combined with --classic, --mac or --raw"));
        return exitUsage;
    }
    if (options.admin && options.compareNew) {
        printError(QStringLiteral("--admin scans the machine; --compare with two reports does "
                                  "not scan"));
        return exitUsage;
    }
    if (options.toolPath && options.compareNew) {
        printError(QStringLiteral("--tool scans the machine; --compare with two reports does "
                                  "not scan"));
        return exitUsage;
    }
    if (options.toolPath && !QFileInfo::exists(*options.toolPath)) {
        printError(QStringLiteral("tool \"%1\" does not exist").arg(*options.toolPath));
        return exitUsage;
    }
    return std::nullopt;
}

std::optional<QString> readTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read \"%1\": %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        printError(QStringLiteral("cannot read \"%1\": %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    bool valid = true;
    QString text = Text::decodeUtf8Strict(bytes, &valid);
    if (!valid) {
        printError(QStringLiteral("\"%1\" is not valid UTF-8; it is read as empty text").arg(path));
    }
    return text;
}

// The plain-text listing, written out in chunks as it is made. Chunks end
// after a line, so no surrogate pair is split between two conversions.
bool writeListing(QIODevice &out, const QList<HardwareItem> &items)
{
    QString chunk;
    bool written = true;
    auto spill = [&] {
        const QByteArray bytes = chunk.toUtf8();
        written = written && out.write(bytes) == bytes.size();
        chunk.resize(0);
    };
    std::optional<HardwareCategory> current;
    for (const HardwareItem &item : items) {
        if (chunk.size() >= 32 * 1024) {
            spill();
        }
        if (!current || *current != item.category) {
            if (current) {
                chunk += QLatin1Char('\n');
            }
            current = item.category;
            chunk += QStringLiteral("== ") + rawValue(item.category) + QStringLiteral(" ==\n");
        }
        chunk += QStringLiteral("  ") + item.title + QStringLiteral(": ") + item.value +
                 QLatin1Char('\n');
        chunk += QStringLiteral("      ");
        if (!item.detail.isEmpty()) {
            chunk += item.detail + Text::joiner();
        }
        chunk += item.source + QLatin1Char('\n');
    }
    if (items.isEmpty()) {
        chunk += QStringLiteral("No hardware item found\n");
    }
    spill();
    return written;
}

std::optional<ReportReader::Report> readReport(const QString &path)
{
    ReportReader::Outcome outcome = ReportReader::readFile(path);
    if (!outcome.report) {
        printError(QStringLiteral("cannot open \"%1\": %2").arg(path, outcome.error));
    }
    return std::move(outcome.report);
}

void printWarnings(const QStringList &warnings)
{
    for (const QString &warning : warnings) {
        // A tool's error text usually ends in its own line break; one is enough here.
        QString shown = warning;
        while (shown.endsWith(QLatin1Char('\n')) || shown.endsWith(QLatin1Char('\r'))) {
            shown.chop(1);
        }
        std::fprintf(stderr, "warning: %s\n", shown.toLocal8Bit().constData());
    }
}

// The listing, the JSON or the raw text of `items` on standard output. The
// listing and the JSON go out as they are made: on a 48 MB tool output the
// JSON held whole doubled the peak memory.
bool writeResult(const Options &options, const HardwareScanResult &result,
                 const QList<HardwareItem> &items, const QStringList &warnings,
                 const IdentifierMasker *masker, bool savedMasked)
{
    const QList<HardwareItem> shown =
        ItemFilter::filterItems(items, options.category, options.search);
    if (options.raw) {
        return writeOut(masker ? masker->maskRawText(result.rawOutput.text()).toUtf8()
                               : result.rawOutput.toUtf8());
    }
    std::fflush(stdout);
    QFile out;
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return false;
    }
    if (!options.json) {
        return writeListing(out, shown);
    }
    ReportFormat::Header header =
        ReportFormat::currentHeader(options.hideIdentifiers || savedMasked);
    if (options.category || !options.search.isEmpty()) {
        header.category = options.category ? rawValue(*options.category) : QString();
        header.search = options.search;
        header.scanItemCount = items.size();
    }
    if (masker) {
        return JsonExport::write(out, shown, warnings,
                                 RawOutput(masker->maskRawText(result.rawOutput.text())), header);
    }
    return JsonExport::write(out, shown, warnings, result.rawOutput, header);
}

// Exit status as diff gives it: 0 same, 1 different, 2 trouble.
int runCompare(const Options &options)
{
    constexpr int exitTrouble = 2;
    const std::optional<ReportReader::Report> old = readReport(*options.compareOld);
    if (!old) {
        return exitTrouble;
    }
    ReportCompare::Side before{old->scan, old->header.hideIdentifiers};
    ReportCompare::Side after;
    if (options.compareNew) {
        const std::optional<ReportReader::Report> now = readReport(*options.compareNew);
        if (!now) {
            return exitTrouble;
        }
        after = {now->scan, now->header.hideIdentifiers};
    } else {
        HardwareScanner scanner;
        scanner.setToolOverride(options.toolPath);
        after.scan = scanner.performScan();
        const IdentifierMasker masker(after.scan.items, after.scan.rawOutput);
        printWarnings(options.hideIdentifiers ? masker.maskTexts(after.scan.warnings)
                                              : after.scan.warnings);
    }
    const ReportDiff::Result result = ReportCompare::compare(
        before, after, {options.category, options.search, options.hideIdentifiers});
    if (!writeOut(options.json ? ReportCompare::json(result) : ReportCompare::text(result))) {
        printError(QStringLiteral("cannot write the output"));
        return exitTrouble;
    }
    return result.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Options options;
    if (const std::optional<int> status = parseArguments(app.arguments(), options)) {
        return *status;
    }

    if (options.compareOld) {
        return runCompare(options);
    }

    HardwareScanner scanner;
    HardwareScanResult result;
    // A report saved with identifiers hidden holds only the masks: it stays
    // hidden, and is not masked a second time (a mask of a mask is shorter).
    bool savedMasked = false;
    if (options.openFile) {
        std::optional<ReportReader::Report> report = readReport(*options.openFile);
        if (!report) {
            return exitIo;
        }
        result = std::move(report->scan);
        savedMasked = report->header.hideIdentifiers;
    } else if (options.classicFile || options.macFile) {
        QList<ScanPart> parts;
        if (options.macFile) {
            const std::optional<QString> text = readTextFile(*options.macFile);
            if (!text) {
                return exitIo;
            }
            parts.append(HardwareScanner::macHardwarePart(*text));
        }
        if (options.classicFile) {
            const std::optional<QString> text = readTextFile(*options.classicFile);
            if (!text) {
                return exitIo;
            }
            parts.append(scanner.classicPart(*text));
        }
        result = scanner.assemble(std::move(parts));
    } else {
        scanner.setToolOverride(options.toolPath);
        // As root the -q run already reads the tables.
        if (options.admin && ::geteuid() != 0) {
            // KESTRIN_PKEXEC stands in for pkexec in tests; the command still
            // names only the installed helper, so it widens nothing.
            const QString pkexec = qEnvironmentVariable("KESTRIN_PKEXEC", defaultPkexecPath());
            scanner.setAdministratorReader(HardwareScanner::AdministratorReader{
                pkexec, administratorHelperPath(), administratorReadTimeout});
        }
        result = scanner.performScan();
    }

    // Masked as a view of the scan: the same items in the same order, so the
    // filters below pick the same items, except that a hidden value cannot be
    // searched for.
    std::optional<IdentifierMasker> masker;
    QList<HardwareItem> items = result.items;
    QStringList warnings = result.warnings;
    if (options.hideIdentifiers && !savedMasked) {
        masker.emplace(result.items, result.rawOutput);
        items = masker->maskItems(result.items);
        warnings = masker->maskTexts(result.warnings);
    }

    printWarnings(warnings);

    if (!writeResult(options, result, items, warnings, masker ? &*masker : nullptr, savedMasked)) {
        printError(QStringLiteral("cannot write the output"));
        return exitIo;
    }
    return 0;
}
