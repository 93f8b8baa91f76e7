// The command-line front end as a user runs it. The JSON of every real output
// is pinned byte for byte by test_clidigests; these are the other paths.
#include "model/hardwarecategory.h"
#include "tests/scanner/identifiersecrets.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>
#include <string_view>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun cli(const QStringList &arguments)
{
    QProcess process;
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
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

TEST(Cli, UsageAndIoErrors)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        const char *message;
    };
    const Case cases[] = {
        {args("--bogus"), 2, "unknown argument"},
        {args("--classic"), 2, "needs a value"},
        {args("--category other --classic") << rockpro, 2, "unknown category"},
        {args("--classic /nonexistent/x.txt"), 1, "cannot read"},
        {args("--classic /"), 1, "cannot read"},
        {args("--json --raw"), 2, "cannot be combined"},
        {args("--tool /nonexistent/dmidecode"), 2, "does not exist"},
        {args("--json=yes"), 2, "unknown argument \"--json=yes\""},
        {args("--compare a.json b.json c.json"), 2, "unknown argument \"c.json\""},
        {args("-x"), 2, "unknown argument \"-x\""},
    };
    for (const Case &c : cases) {
        const CliRun run = cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << "one clear line: " << run.err.toStdString();
    }
    const CliRun help = cli(args("--help"));
    EXPECT_EQ(help.exitCode, 0);
    for (const char *option : {"--classic", "--mac", "--json", "--raw", "--category", "--search",
                               "--tool", "--private"}) {
        EXPECT_TRUE(help.out.contains(option)) << option;
    }
    // Wrapped, so compared without the line breaks and indents.
    const QString helpWords = QString::fromUtf8(help.out).simplified();
    for (const HardwareCategory category : allCategories) {
        EXPECT_TRUE(helpWords.contains(rawValue(category) + u',') ||
                    helpWords.contains(rawValue(category) + QStringLiteral(" (exact title)")))
            << rawValue(category).toStdString();
    }
}

TEST(Cli, FiltersLikeTheWindow)
{
    const QJsonArray items =
        jsonItems(cli(args("--json --category BIOS --search")
                      << QStringLiteral("  U-BOOT ") << QStringLiteral("--classic") << rockpro));
    ASSERT_EQ(items.size(), 1);
    const QJsonObject item = items[0].toObject();
    EXPECT_EQ(item.value(QStringLiteral("value")).toString(), QStringLiteral("U-Boot"));
    // The id is the only field the digests do not pin.
    EXPECT_FALSE(QUuid::fromString(item.value(QStringLiteral("id")).toString()).isNull());
}

TEST(Cli, ListingAndRawOutput)
{
    const CliRun listing = cli(args("--category Baseboard --classic") << rockpro);
    EXPECT_EQ(listing.exitCode, 0);
    EXPECT_TRUE(listing.out.startsWith("== Baseboard ==\n  Asset Tag: --\n"))
        << listing.out.toStdString();
    const CliRun raw = cli(args("--raw --mac") << rockpro);
    EXPECT_EQ(raw.exitCode, 0);
    EXPECT_TRUE(raw.out.startsWith("===== dmidecode --mac-hardware =====\n# dmidecode 3.2\n"));
}

TEST(Cli, ControlCharactersAndInvalidUtf8StayValidJson)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Written by size: escapes make a length counted by hand easy to get wrong.
    static constexpr char controls[] = "System Information\n\tFamily: a\x01\x1f\"\\b\x7f\xc3\xa9\n";
    const CliRun ok = cli(args("--json --classic")
                          << writeTemp(dir, "c.txt", QByteArray(controls, sizeof(controls) - 1)));
    ASSERT_EQ(ok.exitCode, 0);
    EXPECT_FALSE(ok.out.contains('\x01'));
    const QJsonArray items = jsonItems(ok);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[1].toObject().value(QStringLiteral("value")).toString(),
              QString::fromUtf8("a\x01\x1f\"\\b\x7f\xc3\xa9"));

    const CliRun bad =
        cli(args("--json --classic")
            << writeTemp(dir, "i.txt", "System Information\n\tFamily: \xff\xfe broken\n"));
    EXPECT_EQ(bad.exitCode, 0);
    EXPECT_TRUE(bad.err.contains("not valid UTF-8"));
    EXPECT_TRUE(jsonItems(bad).isEmpty());
}

// Five U+2022 in UTF-8.
#define DOTS "\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2"

TEST(Cli, PrivateMasksEveryOutputOnlyWhenAsked)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString input = writeTemp(dir, "classic.txt",
                                    "System Information\n"
                                    "\tManufacturer: LENOVO\n"
                                    "\tSerial Number: PF1ABCDE9\n"
                                    "\tUUID: 4c4c4544-0042-3510-8052-b4c04f4e4e32\n"
                                    "\tSKU Number: LENOVO_MT_20L5\n"
                                    "OEM Strings\n"
                                    "\tString 1: NIC 00:2b:67:4e:91:c0 PF1ABCDE9\n");
    struct Case {
        const char *arguments; // besides --classic FILE
        QList<QByteArray> present;
        QList<QByteArray> absent;
    };
    const Case cases[] = {
        {"--private",
         {"  Serial Number: " DOTS "E9\n", "  UUID: " DOTS "32\n",
          "  SKU Number: LENOVO_MT_20L5\n"},
         {"PF1ABCDE9", "4c4c4544", "b4c04f4e4e32"}},
        {"",
         {"  Serial Number: PF1ABCDE9\n", "  UUID: 4c4c4544-0042-3510-8052-b4c04f4e4e32\n"},
         {DOTS}},
        {"--json --private",
         {"\"value\":\"" DOTS "E9\"", "\\tString 1: NIC " DOTS "c0 " DOTS "E9\\n"},
         {"PF1ABCDE9", "00:2b:67", "4c4c4544"}},
        {"--raw", {"\tString 1: NIC 00:2b:67:4e:91:c0 PF1ABCDE9\n"}, {DOTS}},
        // The search sees what is shown: a hidden serial cannot be found.
        {"--private --search PF1ABC", {"No hardware item found\n"}, {"PF1ABCDE9"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = cli(args(c.arguments) << QStringLiteral("--classic") << input);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        for (const QByteArray &text : c.present) {
            EXPECT_TRUE(run.out.contains(text)) << text.toStdString() << " in\n"
                                                << run.out.toStdString();
        }
        for (const QByteArray &text : c.absent) {
            EXPECT_FALSE(run.out.contains(text)) << text.toStdString();
        }
    }
}

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
        for (const char *output : {"", "--json", "--raw"}) {
            const CliRun run = cli(
                args(output) << QStringLiteral("--private")
                             << (input.mac ? QStringLiteral("--mac") : QStringLiteral("--classic"))
                             << input.path);
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            QString shown = QString::fromUtf8(run.out);
            if (output == std::string_view("--json")) {
                // Compared as text, not as escaped JSON; not the ids: random
                // UUIDs whose hex digits may hold any short serial by chance.
                const QJsonObject root = QJsonDocument::fromJson(run.out).object();
                shown = root.value(QStringLiteral("rawOutput")).toString();
                for (const QJsonValue &entry : root.value(QStringLiteral("items")).toArray()) {
                    for (const char *field : {"category", "title", "value", "detail", "source"}) {
                        shown += u'\n' + entry.toObject().value(QLatin1String(field)).toString();
                    }
                }
            }
            EXPECT_EQ(IdentifierSecrets::leaked(secrets, shown), QStringList()) << output;
        }
    }
}

} // namespace
