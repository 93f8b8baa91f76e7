// The command-line front end as a user runs it.
#include "tests/scanner/identifiersecrets.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun cli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KESTRIN_BINARY_DIR "/bin/kestrin-cli"), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QString data(const char *name)
{
    return QStringLiteral(KESTRIN_TEST_DATA_DIR "/") + QString::fromUtf8(name);
}

TEST(Cli, UsageAndIoErrors)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        const char *message;
    };
    const Case cases[] = {
        {{QStringLiteral("--bogus")}, 2, "unknown argument"},
        {{QStringLiteral("--classic")}, 2, "needs a value"},
        {{QStringLiteral("--category"), QStringLiteral("other"), QStringLiteral("--classic"),
          data("classic-thinkpad-t480-q.txt")},
         2,
         "unknown category"},
        {{QStringLiteral("--classic"), QStringLiteral("/nonexistent/x.txt")}, 1, "cannot read"},
        {{QStringLiteral("--classic"), QStringLiteral("/")}, 1, "cannot read"},
        {{QStringLiteral("--json"), QStringLiteral("--raw")}, 2, "cannot be combined"},
        {{QStringLiteral("--tool"), QStringLiteral("/nonexistent/dmidecode")}, 2, "does not exist"},
    };
    for (const Case &c : cases) {
        const CliRun run = cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << "one clear line: " << run.err.toStdString();
    }
}

TEST(Cli, HelpDocumentsEveryOption)
{
    const CliRun run = cli({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    for (const char *option : {"--classic", "--mac", "--json", "--raw", "--category", "--search",
                               "--tool", "--private"}) {
        EXPECT_TRUE(run.out.contains(option)) << option;
    }
}

TEST(Cli, JsonHasTheDocumentedShape)
{
    const CliRun run = cli({QStringLiteral("--json"), QStringLiteral("--classic"),
                            data("classic-rockpro64-broken-table.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    const QJsonArray items = root.value(QStringLiteral("items")).toArray();
    ASSERT_EQ(items.size(), 12);
    const QJsonObject first = items.first().toObject();
    EXPECT_EQ(first.value(QStringLiteral("category")).toString(), QStringLiteral("Summary"));
    EXPECT_EQ(first.value(QStringLiteral("title")).toString(), QStringLiteral("Platform"));
    EXPECT_EQ(first.value(QStringLiteral("id")).toString().size(), 36);
    EXPECT_TRUE(root.value(QStringLiteral("warnings")).toArray().isEmpty());
    EXPECT_TRUE(root.value(QStringLiteral("rawOutput"))
                    .toString()
                    .startsWith(QStringLiteral("===== dmidecode -q =====\n# dmidecode 3.2\n")));
}

TEST(Cli, FiltersLikeTheWindow)
{
    const CliRun run =
        cli({QStringLiteral("--json"), QStringLiteral("--category"), QStringLiteral("BIOS"),
             QStringLiteral("--search"), QStringLiteral("  U-BOOT "), QStringLiteral("--classic"),
             data("classic-rockpro64-broken-table.txt")});
    ASSERT_EQ(run.exitCode, 0);
    const QJsonArray items =
        QJsonDocument::fromJson(run.out).object().value(QStringLiteral("items")).toArray();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].toObject().value(QStringLiteral("value")).toString(),
              QStringLiteral("U-Boot"));
}

TEST(Cli, ControlCharactersAndInvalidUtf8StayValidJson)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString controls = dir.filePath(QStringLiteral("controls.txt"));
    const QString invalid = dir.filePath(QStringLiteral("invalid.txt"));
    {
        QFile file(controls);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // Written by size: escapes make a length counted by hand easy to get wrong.
        static constexpr char text[] = "System Information\n\tFamily: a\x01\x1f\"\\b\x7f\xc3\xa9\n";
        file.write(text, sizeof(text) - 1);
        QFile bad(invalid);
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("System Information\n\tFamily: \xff\xfe broken\n");
    }
    const CliRun ok = cli({QStringLiteral("--json"), QStringLiteral("--classic"), controls});
    ASSERT_EQ(ok.exitCode, 0);
    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(ok.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << ok.out.toStdString();
    EXPECT_FALSE(ok.out.contains('\x01'));
    const QJsonArray items = root.value(QStringLiteral("items")).toArray();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[1].toObject().value(QStringLiteral("value")).toString(),
              QString::fromUtf8("a\x01\x1f\"\\b\x7f\xc3\xa9"));

    const CliRun bad = cli({QStringLiteral("--json"), QStringLiteral("--classic"), invalid});
    EXPECT_EQ(bad.exitCode, 0);
    EXPECT_TRUE(bad.err.contains("not valid UTF-8"));
    const QJsonObject badRoot = QJsonDocument::fromJson(bad.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_TRUE(badRoot.value(QStringLiteral("items")).toArray().isEmpty());
}

TEST(Cli, ListingAndRawOutput)
{
    const CliRun listing =
        cli({QStringLiteral("--classic"), data("classic-rockpro64-broken-table.txt"),
             QStringLiteral("--category"), QStringLiteral("Baseboard")});
    EXPECT_EQ(listing.exitCode, 0);
    EXPECT_TRUE(listing.out.startsWith("== Baseboard ==\n  Asset Tag: --\n"))
        << listing.out.toStdString();
    const CliRun raw = cli({QStringLiteral("--raw"), QStringLiteral("--mac"),
                            data("classic-rockpro64-broken-table.txt")});
    EXPECT_EQ(raw.exitCode, 0);
    EXPECT_TRUE(raw.out.startsWith("===== dmidecode --mac-hardware =====\n# dmidecode 3.2\n"));
}

} // namespace

namespace {

TEST(Cli, EveryFixtureGivesValidJson)
{
    QStringList files;
    for (const char *folder : {"/dmidecode", "/dmi-bin"}) {
        const QDir dir(QStringLiteral(KESTRIN_FIXTURES_DIR) + QString::fromUtf8(folder));
        for (const QString &name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            files.append(dir.filePath(name));
        }
    }
    if (files.isEmpty()) {
        GTEST_SKIP() << "fixture folder not found at " KESTRIN_FIXTURES_DIR;
    }
    const QStringList titles = {
        QStringLiteral("Summary"),   QStringLiteral("Platform"), QStringLiteral("BIOS"),
        QStringLiteral("Baseboard"), QStringLiteral("CPU"),      QStringLiteral("Memory"),
        QStringLiteral("PCI"),       QStringLiteral("GPU"),      QStringLiteral("Network"),
        QStringLiteral("Storage"),   QStringLiteral("Audio"),    QStringLiteral("USB"),
        QStringLiteral("Battery"),   QStringLiteral("Firmware"), QStringLiteral("Other")};
    for (const QString &path : files) {
        SCOPED_TRACE(path.toStdString());
        const CliRun run = cli({QStringLiteral("--json"), QStringLiteral("--classic"), path,
                                QStringLiteral("--mac"), path});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QJsonParseError error{};
        const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError);
        for (const QJsonValue &value : root.value(QStringLiteral("items")).toArray()) {
            const QJsonObject item = value.toObject();
            EXPECT_EQ(item.size(), 6);
            EXPECT_TRUE(titles.contains(item.value(QStringLiteral("category")).toString()));
            EXPECT_FALSE(item.value(QStringLiteral("value")).toString().isEmpty());
        }
        EXPECT_TRUE(root.value(QStringLiteral("rawOutput"))
                        .toString()
                        .startsWith(QStringLiteral("===== dmidecode --mac-hardware =====\n")));
    }
}

} // namespace

namespace {

// Five U+2022 in UTF-8.
#define DOTS "\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2"

struct PrivateCase {
    const char *name;
    QStringList arguments; // besides --classic FILE
    bool masked;
    QList<QByteArray> present;
    QList<QByteArray> absent;
};

class CliPrivateTest : public testing::TestWithParam<PrivateCase> {};

TEST_P(CliPrivateTest, MasksEveryOutputOnlyWhenAsked)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString input = dir.filePath(QStringLiteral("classic.txt"));
    {
        QFile file(input);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("System Information\n"
                   "\tManufacturer: LENOVO\n"
                   "\tSerial Number: PF1ABCDE9\n"
                   "\tUUID: 4c4c4544-0042-3510-8052-b4c04f4e4e32\n"
                   "\tSKU Number: LENOVO_MT_20L5\n"
                   "OEM Strings\n"
                   "\tString 1: NIC 00:2b:67:4e:91:c0 PF1ABCDE9\n");
    }
    const PrivateCase &c = GetParam();
    const CliRun run = cli(c.arguments + QStringList{QStringLiteral("--classic"), input});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const QByteArray &text : c.present) {
        EXPECT_TRUE(run.out.contains(text)) << text.toStdString() << " in\n"
                                            << run.out.toStdString();
    }
    for (const QByteArray &text : c.absent) {
        EXPECT_FALSE(run.out.contains(text)) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliPrivateTest,
    testing::Values(
        PrivateCase{"Listing",
                    {QStringLiteral("--private")},
                    true,
                    {"  Serial Number: " DOTS "E9\n", "  UUID: " DOTS "32\n",
                     "  SKU Number: LENOVO_MT_20L5\n"},
                    {"PF1ABCDE9", "4c4c4544", "b4c04f4e4e32"}},
        PrivateCase{
            "ListingByDefault",
            {},
            false,
            {"  Serial Number: PF1ABCDE9\n", "  UUID: 4c4c4544-0042-3510-8052-b4c04f4e4e32\n"},
            {DOTS}},
        PrivateCase{"Json",
                    {QStringLiteral("--json"), QStringLiteral("--private")},
                    true,
                    {"\"value\":\"" DOTS "E9\"", "\\tString 1: NIC " DOTS "c0 " DOTS "E9\\n"},
                    {"PF1ABCDE9", "00:2b:67", "4c4c4544"}},
        PrivateCase{"Raw",
                    {QStringLiteral("--private"), QStringLiteral("--raw")},
                    true,
                    {"\tSerial Number: " DOTS "E9\n", "\tString 1: NIC " DOTS "c0 " DOTS "E9\n",
                     "\tSKU Number: LENOVO_MT_20L5\n"},
                    {"PF1ABCDE9", "00:2b:67", "4c4c4544"}},
        PrivateCase{"RawByDefault",
                    {QStringLiteral("--raw")},
                    false,
                    {"\tString 1: NIC 00:2b:67:4e:91:c0 PF1ABCDE9\n"},
                    {DOTS}},
        // The search sees what is shown: a hidden serial cannot be found.
        PrivateCase{
            "SearchForAHiddenValue",
            {QStringLiteral("--private"), QStringLiteral("--search"), QStringLiteral("PF1ABC")},
            true,
            {"No hardware item found\n"},
            {"PF1ABCDE9"}}),
    [](const testing::TestParamInfo<PrivateCase> &info) { return std::string(info.param.name); });

TEST(Cli, PrivateHidesEveryIdentifierOfEveryRealOutput)
{
    const QList<IdentifierSecrets::Input> inputs = IdentifierSecrets::corpus();
    if (inputs.size() < 100) {
        GTEST_SKIP() << "fixture folder not found at " KESTRIN_FIXTURES_DIR;
    }
    for (const IdentifierSecrets::Input &input : inputs) {
        SCOPED_TRACE(input.path.toStdString());
        QFile file(input.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QSet<QString> secrets = IdentifierSecrets::collect(QString::fromUtf8(file.readAll()));
        const QString inputOption =
            input.mac ? QStringLiteral("--mac") : QStringLiteral("--classic");
        for (const QStringList &output : {QStringList{}, QStringList{QStringLiteral("--json")},
                                          QStringList{QStringLiteral("--raw")}}) {
            const CliRun run =
                cli(output + QStringList{QStringLiteral("--private"), inputOption, input.path});
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            QString shown = QString::fromUtf8(run.out);
            if (output.contains(QStringLiteral("--json"))) {
                // Compared as text, not as escaped JSON.
                const QJsonObject root = QJsonDocument::fromJson(run.out).object();
                shown = root.value(QStringLiteral("rawOutput")).toString();
                // Not the ids: random UUIDs drawn for the items, whose hex
                // digits may hold any short serial by chance.
                for (const QJsonValue &entry : root.value(QStringLiteral("items")).toArray()) {
                    for (const char *field : {"category", "title", "value", "detail", "source"}) {
                        shown += QLatin1Char('\n') +
                                 entry.toObject().value(QLatin1String(field)).toString();
                    }
                }
            }
            EXPECT_EQ(IdentifierSecrets::leaked(secrets, shown), QStringList())
                << output.join(u' ').toStdString();
        }
    }
}

} // namespace
