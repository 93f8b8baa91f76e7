// The command-line front end as a user runs it: options, messages, exit
// statuses, --open and --compare. The JSON of every real output is pinned byte
// for byte by test_clidigests; what a comparison finds is ReportDiff's (test_reportdiff).
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out, err;
};

CliRun cli(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KESTRIN_CLI_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList args(const char *spaceSeparated)
{
    return QString::fromUtf8(spaceSeparated).split(u' ', Qt::SkipEmptyParts);
}

const QString rockpro = QStringLiteral(KESTRIN_TEST_DATA_DIR "/classic-rockpro64-broken-table.txt");
const QString asusPath = QStringLiteral(KESTRIN_TEST_DATA_DIR "/classic-asus-ux307la-full.txt");

QJsonArray jsonItems(const CliRun &run)
{
    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    return root.value(QStringLiteral("items")).toArray();
}

QString writeTemp(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    QFile file(dir.filePath(QString::fromUtf8(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return file.fileName();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(Cli, UsageAndIoErrors)
{
    QTemporaryDir dir;
    const QString elf = writeTemp(dir, "blob", QByteArray::fromHex("7f454c4600000002"));
    const QString absent = dir.filePath(QStringLiteral("absent"));
    const struct {
        QStringList arguments;
        int exitCode;
        const char *message;
    } cases[] = {
        {args("--classic"), 2, "needs a value"},
        {args("--category other --classic") << rockpro, 2, "unknown category"},
        {args("--classic /"), 1, "cannot read"},
        {args("--json --raw"), 2, "cannot be combined"},
        {args("--tool /nonexistent/dmidecode"), 2, "does not exist"},
        {args("--json=yes"), 2, "unknown argument \"--json=yes\""},
        {args("--compare a.json b.json c.json"), 2, "unknown argument \"c.json\""},
        {args("-x"), 2, "unknown argument \"-x\""},
        {args("--compare") << asusPath << absent, 2, "cannot be read"},
        {args("--compare") << elf << asusPath, 2, "binary data"},
    };
    for (const auto &c : cases) {
        const CliRun run = cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << "one clear line: " << run.err.toStdString();
    }
    const CliRun help = cli(args("--help"));
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--private")) << help.out.toStdString();
}

TEST(Cli, FiltersListsAndRawOutput)
{
    const QJsonArray items =
        jsonItems(cli(args("--json --category BIOS --search")
                      << QStringLiteral("  U-BOOT ") << QStringLiteral("--classic") << rockpro));
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0][u"value"].toString(), u"U-Boot"_qs);
    // The id is the only field the digests do not pin.
    EXPECT_FALSE(QUuid::fromString(items[0][u"id"].toString()).isNull());
    const CliRun listing = cli(args("--category Baseboard --classic") << rockpro);
    EXPECT_TRUE(listing.out.startsWith("== Baseboard ==\n  Asset Tag: --\n"))
        << listing.out.toStdString();
    const CliRun raw = cli(args("--raw --mac") << rockpro);
    EXPECT_TRUE(raw.out.startsWith("===== dmidecode --mac-hardware =====\n# dmidecode 3.2\n"));
}

// Escaping is JsonWriter's; here a file that is not UTF-8 is read as empty text.
TEST(Cli, InvalidUtf8IsReadAsEmptyText)
{
    QTemporaryDir dir;
    const CliRun bad =
        cli(args("--json --classic")
            << writeTemp(dir, "i.txt", "System Information\n\tFamily: \xff\xfe broken\n"));
    EXPECT_EQ(bad.exitCode, 0);
    EXPECT_TRUE(bad.err.contains("not valid UTF-8"));
    EXPECT_TRUE(jsonItems(bad).isEmpty());
}

// Five U+2022 in UTF-8.
#define DOTS "\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2"

// What is masked is IdentifierMasker's (test_model); here each output applies it.
TEST(Cli, PrivateMasksEveryOutputOnlyWhenAsked)
{
    QTemporaryDir dir;
    const QString input = writeTemp(dir, "classic.txt",
                                    "System Information\n\tSerial Number: PF1ABCDE9\n"
                                    "OEM Strings\n\tString 1: NIC PF1ABCDE9\n");
    const std::pair<const char *, const char *> cases[] = {
        {"", "  Serial Number: PF1ABCDE9\n"},
        {"--private", "  Serial Number: " DOTS "E9\n"},
        {"--json --private", "\\tString 1: NIC " DOTS "E9\\n"},
        {"--raw --private", "\tString 1: NIC " DOTS "E9\n"},
        // The search sees what is shown: a hidden serial cannot be found.
        {"--private --search PF1ABC", "No hardware item found\n"},
    };
    for (const auto &[arguments, shown] : cases) {
        const CliRun run = cli(args(arguments) << QStringLiteral("--classic") << input);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(shown)) << arguments << ":\n" << run.out.toStdString();
        EXPECT_EQ(run.out.contains("PF1ABCDE9"), !*arguments) << arguments;
    }
}

TEST(CliOpen, SavedReportGivesWhatTheSavedOutputGave)
{
    QTemporaryDir dir;
    const CliRun json = cli(args("--json --classic") << asusPath);
    ASSERT_EQ(json.exitCode, 0);
    const QString saved = writeTemp(dir, "saved", json.out);
    // Every output option and filter, on the tool output and on the report saved from it.
    for (const char *extra : {"", "--search elpida", "--private"}) {
        const CliRun direct = cli(args("--classic") << asusPath << args(extra));
        EXPECT_EQ(cli(args("--open") << saved << args(extra)).out, direct.out) << extra;
        EXPECT_EQ(cli(args("--open") << asusPath << args(extra)).out, direct.out) << extra;
    }
    const CliRun raw = cli(args("--open") << asusPath << QStringLiteral("--raw"));
    EXPECT_TRUE(raw.out.startsWith("===== ")) << raw.out.left(80).toStdString();
    EXPECT_TRUE(raw.out.contains("Version: UX305LA.206"));

    // Saved masked, it stays masked and says so.
    writeTemp(dir, "saved", cli(args("--json --private --classic") << asusPath).out);
    const CliRun reopened = cli(args("--open") << saved << QStringLiteral("--json"));
    EXPECT_FALSE(reopened.out.contains("FCN0CJ03468352B"));
    EXPECT_TRUE(reopened.out.contains(R"("hideIdentifiers":true)"));
    EXPECT_TRUE(reopened.out.contains(DOTS "2B"));
}

// --compare on real outputs, edited here the way the hardware or the firmware
// would change them.
using Edits = std::vector<std::pair<QByteArray, QByteArray>>;
// A firmware update: new version and date, every table one handle block further on.
const Edits biosUpdated = {{"Version: UX305LA.206", "Version: UX305LA.300"},
                           {"Release Date: 08/03/2015", "Release Date: 11/20/2016"},
                           {"\nHandle 0x00", "\nHandle 0x10"}};
// The second DIMM (handle 0x0015) taken out of ChannelB-DIMM0, a larger one
// put into ChannelB-DIMM1.
const Edits dimmMoved = {
    {"\tSize: 4 GB\n\tForm Factor: SODIMM\n\tSet: None\n\tLocator: ChannelB-DIMM0",
     "\tSize: 8 GB\n\tForm Factor: SODIMM\n\tSet: None\n\tLocator: ChannelB-DIMM1"}};
const Edits serialChanged = {{"Serial Number: FCN0CJ03468352B", "Serial Number: FCN0CJ03461112B"}};

#define ARROW " \u2192 "

TEST(CliCompare, ListsTheDifferencesAndExitsWithOneWhenThereAreAny)
{
    const struct {
        Edits edits; // made to the second copy
        const char *options;
        int exitCode;
        const char *lines; // '|'-separated, each a line of the output
        int count;         // lines of output
    } cases[] = {
        {{}, "", 0, "", 0},
        {biosUpdated, "", 1,
         "~ [BIOS] Version: UX305LA.206" ARROW "UX305LA.300 (BIOS Information)|"
         "~ [BIOS] Release Date: 08/03/2015" ARROW "11/20/2016 (BIOS Information)",
         2},
        {biosUpdated, "--category Memory", 0, "", 0},
        // The record is known by its slot, not its handle: 11 facts survive the
        // cleaner, on each side, and none of them reads as changed.
        {dimmMoved, "", 1,
         "- [Memory] Size: 4 GB (ChannelB-DIMM0, BANK 2)|"
         "+ [Memory] Size: 8 GB (ChannelB-DIMM1, BANK 2)",
         22},
        // A searched fact still names its slot, found by facts the search leaves out.
        {dimmMoved, "--search size", 1,
         "- [Memory] Size: 4 GB (ChannelB-DIMM0, BANK 2)|"
         "+ [Memory] Size: 8 GB (ChannelB-DIMM1, BANK 2)",
         2},
        // Masks that read alike still hide two different serial numbers; the
        // chassis table repeats the serial number.
        {serialChanged, "--private", 1,
         "~ [Platform] Serial Number: " DOTS "2B" ARROW DOTS "2B (System Information)|"
         "~ [Other] Serial Number: " DOTS "2B" ARROW DOTS "2B (Chassis Information)",
         2},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        QByteArray after = contents(asusPath);
        for (const auto &[from, to] : c.edits) {
            EXPECT_TRUE(after.contains(from)) << from.toStdString();
            after.replace(from, to);
        }
        const QStringList files{writeTemp(dir, "old", contents(asusPath)),
                                writeTemp(dir, "new", after)};
        QStringList compare = args("--compare") + files + args(c.options);
        SCOPED_TRACE(compare.join(u' ').toStdString());
        const CliRun run = cli(compare);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
        for (const QString &line : QString::fromUtf8(c.lines).split(u'|', Qt::SkipEmptyParts)) {
            EXPECT_TRUE(lines.contains(line)) << line.toStdString() << "\nin:\n"
                                              << run.out.toStdString();
        }
        EXPECT_EQ(lines.size(), c.count) << run.out.toStdString();
        // The same differences as JSON, under the same filters.
        const QJsonObject json =
            QJsonDocument::fromJson(cli(compare << QStringLiteral("--json")).out).object();
        EXPECT_EQ(json[u"added"].toArray().size() + json[u"removed"].toArray().size() +
                      json[u"changed"].toArray().size(),
                  lines.size());
    }
}

} // namespace
