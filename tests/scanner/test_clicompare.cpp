// kestrin-cli --open and --compare on real outputs, edited here the way the
// hardware or the firmware would change them.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliResult cli(const QStringList &arguments)
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

QByteArray contents(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QByteArray asus()
{
    return contents(QStringLiteral(KESTRIN_TEST_DATA_DIR "/classic-asus-ux307la-full.txt"));
}

QByteArray msi()
{
    return contents(
        QStringLiteral(KESTRIN_FIXTURES_DIR "/dmidecode/desktop-msi-ms-7c02-c7a89415bb4b.txt"));
}

QByteArray desktop()
{
    return contents(
        QStringLiteral(KESTRIN_TEST_DATA_DIR "/sysroot-desktop/expected/mac-hardware.txt"));
}

QByteArray edited(QByteArray text, const std::vector<std::pair<QByteArray, QByteArray>> &edits)
{
    for (const auto &[from, to] : edits) {
        EXPECT_TRUE(text.contains(from)) << from.toStdString();
        text.replace(from, to);
    }
    return text;
}

// The second DIMM (handle 0x0015) taken out of ChannelB-DIMM0, a larger one
// put into ChannelB-DIMM1.
QByteArray dimmMoved()
{
    return edited(
        asus(), {{"\tSize: 4 GB\n\tForm Factor: SODIMM\n\tSet: None\n\tLocator: ChannelB-DIMM0",
                  "\tSize: 8 GB\n\tForm Factor: SODIMM\n\tSet: None\n\tLocator: ChannelB-DIMM1"}});
}

// A firmware update: new version and date, every table one handle block further on.
QByteArray biosUpdated()
{
    return edited(asus(), {{"Version: UX305LA.206", "Version: UX305LA.300"},
                           {"Release Date: 08/03/2015", "Release Date: 11/20/2016"},
                           {"\nHandle 0x00", "\nHandle 0x10"}});
}

QByteArray serialChanged()
{
    return edited(asus(), {{"Serial Number: FCN0CJ03468352B", "Serial Number: FCN0CJ03461112B"}});
}

// The second SATA disk replaced by another model.
QByteArray diskSwapped()
{
    return edited(desktop(),
                  {{"  [disk: sda] ST2000DM008-2FR1\n    model: ST2000DM008-2FR1\n",
                    "  [disk: sda] WDC WD40EFRX-68N32N0\n    model: WDC WD40EFRX-68N32N0\n"}});
}

QByteArray usbPluggedIn()
{
    return edited(desktop(),
                  {{"  [usb: usb1]", "  [usb: 1-7] SanDisk Corp. Cruzer Blade\n"
                                     "    vendor-id: 0x0781\n    product-id: 0x5567\n"
                                     "    speed: 480 Mb/s (High Speed)\n  [usb: usb1]"}});
}

// The keyboard listed after the mouse.
QByteArray usbShuffled()
{
    const QByteArray text = desktop();
    const qsizetype keyboard = text.indexOf("  [usb: 1-3]");
    const qsizetype mouse = text.indexOf("  [usb: 1-4]");
    const qsizetype next = text.indexOf("  [usb: 1-5]");
    EXPECT_TRUE(keyboard > 0 && mouse > keyboard && next > mouse);
    return text.left(keyboard) + text.mid(mouse, next - mouse) +
           text.mid(keyboard, mouse - keyboard) + text.mid(next);
}

struct Case {
    const char *name;
    QByteArray (*after)();
    std::vector<const char *> options;
    int exitCode;
    // Each must be a line of the output; with none, the output must be empty.
    std::vector<const char *> lines;
    // None of these may occur in the output.
    std::vector<const char *> absent;
    // How many lines the output has; -1: not checked, -2: more than a hundred.
    int count = -1;
    QByteArray (*before)() = asus;
};

const Case cases[] = {
    {"sameFileTwice", asus, {}, 0, {}, {}},
    {"biosUpdateWithRenumberedHandles",
     biosUpdated,
     {},
     1,
     {"~ [BIOS] Version: UX305LA.206 \u2192 UX305LA.300 (BIOS Information)",
      "~ [BIOS] Release Date: 08/03/2015 \u2192 11/20/2016 (BIOS Information)"},
     {"Handle", "Memory", "[Summary]"},
     2},
    {"biosUpdateOutsideTheCategory", biosUpdated, {"--category", "Memory"}, 0, {}, {}},
    {"biosUpdateSearched",
     biosUpdated,
     {"--search", "release"},
     1,
     {"~ [BIOS] Release Date: 08/03/2015 \u2192 11/20/2016 (BIOS Information)"},
     {"UX305LA.300"}},
    // 11 facts of the DIMM's record survive the cleaner, on each side.
    {"dimmMovedToAnotherSlot",
     dimmMoved,
     {},
     1,
     {"- [Memory] Size: 4 GB (ChannelB-DIMM0, BANK 2)",
      "+ [Memory] Size: 8 GB (ChannelB-DIMM1, BANK 2)"},
     {"ChannelA", "[BIOS]", "~ "},
     22},
    // A searched fact still names its slot, found by facts the search leaves out.
    {"dimmMovedSearched",
     dimmMoved,
     {"--search", "size"},
     1,
     {"- [Memory] Size: 4 GB (ChannelB-DIMM0, BANK 2)",
      "+ [Memory] Size: 8 GB (ChannelB-DIMM1, BANK 2)"},
     {},
     2},
    // 10 facts and the device row, on each side.
    {"diskSwapped",
     diskSwapped,
     {},
     1,
     {"- [Storage] [disk: sda] ST2000DM008-2FR1 \u2022 size: 2.00 TB (Storage)",
      "+ [Storage] Device: [disk: sda] WDC WD40EFRX-68N32N0 (Storage)"},
     {"~ ", "nvme"},
     22,
     desktop},
    {"usbPluggedIn",
     usbPluggedIn,
     {},
     1,
     {"+ [USB] Device: [usb: 1-7] SanDisk Corp. Cruzer Blade (USB)"},
     {"~ ", "- "},
     4,
     desktop},
    {"devicesInAnotherOrder", usbShuffled, {}, 0, {}, {}, 0, desktop},
    {"twoDifferentMachines",
     msi,
     {},
     1,
     {"~ [BIOS] Version: UX305LA.206 \u2192 3.90 (BIOS Information)"},
     {},
     -2},
    // Masks that read alike still hide two different serial numbers.
    {"serialChangedStaysChangedWhenMasked",
     serialChanged,
     {"--private"},
     1,
     {"~ [Platform] Serial Number: \u2022\u2022\u2022\u2022\u20222B \u2192 "
      "\u2022\u2022\u2022\u2022\u20222B (System Information)",
      // The chassis table repeats the serial number.
      "~ [Other] Serial Number: \u2022\u2022\u2022\u2022\u20222B \u2192 "
      "\u2022\u2022\u2022\u2022\u20222B (Chassis Information)"},
     {"FCN0CJ", "68352", "61112"}},
};

QStringList strings(const std::vector<const char *> &texts)
{
    QStringList out;
    for (const char *text : texts) {
        out.append(QString::fromUtf8(text));
    }
    return out;
}

class CompareTable : public ::testing::TestWithParam<Case> {};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

TEST_P(CompareTable, ListsTheDifferences)
{
    const Case &c = GetParam();
    QTemporaryDir dir;
    const QString oldPath = dir.filePath(QStringLiteral("old"));
    const QString newPath = dir.filePath(QStringLiteral("new"));
    for (const auto &[path, bytes] :
         {std::pair{oldPath, c.before()}, std::pair{newPath, c.after()}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const CliResult run =
        cli(QStringList{QStringLiteral("--compare"), oldPath, newPath} + strings(c.options));
    EXPECT_EQ(run.exitCode, c.exitCode) << run.out.toStdString() << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    for (const char *line : c.lines) {
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line << "\nin:\n"
                                                             << run.out.toStdString();
    }
    if (c.lines.empty() && c.exitCode == 0) {
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    for (const char *text : c.absent) {
        EXPECT_FALSE(run.out.contains(text)) << text << "\nin:\n" << run.out.toStdString();
    }
    if (c.count >= 0) {
        EXPECT_EQ(lines.size(), c.count) << run.out.toStdString();
    } else if (c.count == -2) {
        EXPECT_GT(lines.size(), 100);
    }

    // The same differences as JSON, under the same filters.
    const CliResult json =
        cli(QStringList{QStringLiteral("--compare"), oldPath, newPath, QStringLiteral("--json")} +
            strings(c.options));
    EXPECT_EQ(json.exitCode, c.exitCode);
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    const qsizetype count = root.value(u"added").toArray().size() +
                            root.value(u"removed").toArray().size() +
                            root.value(u"changed").toArray().size();
    EXPECT_EQ(count, lines.size()) << json.out.toStdString();
    for (const QJsonValue &change : root.value(u"changed").toArray()) {
        EXPECT_TRUE(change.toObject().value(u"before").toObject().contains(u"title"));
        EXPECT_TRUE(change.toObject().value(u"after").toObject().contains(u"title"));
    }
}

INSTANTIATE_TEST_SUITE_P(Pairs, CompareTable, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CliCompare, ErrorsExitWithTwo)
{
    QTemporaryDir dir;
    QFile binary(dir.filePath(QStringLiteral("blob")));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("\x7f"
                            "ELF\0\0\0\x02",
                            8));
    binary.close();
    const QString real = QStringLiteral(KESTRIN_TEST_DATA_DIR "/classic-asus-ux307la-full.txt");
    const struct {
        QStringList arguments;
        const char *message;
    } errors[] = {
        {{QStringLiteral("--compare"), real, dir.filePath(QStringLiteral("absent"))},
         "cannot be read"},
        {{QStringLiteral("--compare"), binary.fileName(), real}, "binary data"},
        {{QStringLiteral("--compare"), real, real, QStringLiteral("--raw")}, "cannot be combined"},
        {{QStringLiteral("--compare")}, "needs a value"},
    };
    for (const auto &e : errors) {
        const CliResult run = cli(e.arguments);
        EXPECT_EQ(run.exitCode, 2) << e.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(e.message)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
}

TEST(CliOpen, SavedReportGivesWhatTheSavedOutputGave)
{
    QTemporaryDir dir;
    const QString real = QStringLiteral(KESTRIN_TEST_DATA_DIR "/classic-asus-ux307la-full.txt");
    const QString saved = dir.filePath(QStringLiteral("saved"));
    {
        const CliResult run = cli({QStringLiteral("--json"), QStringLiteral("--classic"), real});
        ASSERT_EQ(run.exitCode, 0);
        QFile file(saved);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(run.out);
    }
    // Every output option and filter, on the tool output and on the report saved from it.
    const QList<QStringList> options{{},
                                     {QStringLiteral("--category"), QStringLiteral("Memory")},
                                     {QStringLiteral("--search"), QStringLiteral("elpida")},
                                     {QStringLiteral("--private")}};
    for (const QStringList &extra : options) {
        const CliResult direct = cli(QStringList{QStringLiteral("--classic"), real} + extra);
        const CliResult opened = cli(QStringList{QStringLiteral("--open"), saved} + extra);
        const CliResult openedTool = cli(QStringList{QStringLiteral("--open"), real} + extra);
        EXPECT_EQ(opened.exitCode, 0);
        EXPECT_EQ(opened.out, direct.out) << extra.join(u' ').toStdString();
        EXPECT_EQ(openedTool.out, direct.out) << extra.join(u' ').toStdString();
    }
    const CliResult raw = cli({QStringLiteral("--open"), real, QStringLiteral("--raw")});
    EXPECT_TRUE(raw.out.startsWith("===== ")) << raw.out.left(80).toStdString();
    EXPECT_TRUE(raw.out.contains("Version: UX305LA.206"));

    // Saved masked, it stays masked and says so.
    const CliResult masked = cli(
        {QStringLiteral("--json"), QStringLiteral("--private"), QStringLiteral("--classic"), real});
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(masked.out);
    file.close();
    const CliResult reopened = cli({QStringLiteral("--open"), saved, QStringLiteral("--json")});
    EXPECT_FALSE(reopened.out.contains("FCN0CJ03468352B"));
    EXPECT_TRUE(reopened.out.contains(R"("hideIdentifiers":true)"));
    EXPECT_TRUE(reopened.out.contains("\u2022\u2022\u2022\u2022\u20222B"));
}

} // namespace
