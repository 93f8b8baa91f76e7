// Every real output of the fixture folder and the test data goes through the
// whole pipeline; the result must keep the pipeline's invariants.
#include "itemtesthelpers.h"
#include "model/textservices.h"
#include "scanner/hardwarescanner.h"
#include "tests/scanner/identifiersecrets.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

namespace {

void checkInvariants(const HardwareScanner &scanner, const HardwareScanResult &result)
{
    const QSet<QString> bad(scanner.badValues().cbegin(), scanner.badValues().cend());
    const Text::StandardComparator comparator;
    QSet<QString> keys;
    QHash<HardwareCategory, int> counts;
    QHash<QString, QString> summaryLines;
    bool inSummary = true;
    const HardwareItem *previous = nullptr;
    for (const HardwareItem &item : result.items) {
        if (item.category == HardwareCategory::summary) {
            ASSERT_TRUE(inSummary) << "summary items must come first";
            summaryLines.insert(item.title, item.value);
            continue;
        }
        inSummary = false;
        ++counts[item.category];
        const QString probe = item.value.toLower().trimmed();
        EXPECT_FALSE(bad.contains(probe)) << item.value.toStdString();
        EXPECT_GE(Text::graphemeCountUpTo(probe, 2), 2) << item.value.toStdString();
        EXPECT_FALSE(item.title.isEmpty());
        EXPECT_EQ(item.value, item.value.trimmed());
        EXPECT_FALSE(item.value.contains(QLatin1Char('\t')));
        const QString key = rawValue(item.category) + QLatin1Char('|') + item.title.toLower() +
                            QLatin1Char('|') + item.value.toLower() + QLatin1Char('|') +
                            item.detail.toLower();
        EXPECT_FALSE(keys.contains(key)) << key.toStdString();
        keys.insert(key);
        if (previous != nullptr) {
            ASSERT_LE(categoryOrder(previous->category), categoryOrder(item.category));
            if (previous->category == item.category) {
                EXPECT_LE(comparator.compare(previous->title, item.title), 0)
                    << previous->title.toStdString() << " then " << item.title.toStdString();
            }
        }
        previous = &item;
    }
    EXPECT_EQ(summaryLines.size(), counts.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QString expected = QString::number(it.value()) +
                                 (it.value() == 1 ? q(" useful item") : q(" useful items"));
        EXPECT_EQ(summaryLines.value(rawValue(it.key())), expected);
    }
}

TEST(Corpus, EveryFixtureKeepsTheInvariants)
{
    QStringList files;
    for (const IdentifierSecrets::Input &input : IdentifierSecrets::corpus()) {
        files.append(input.path);
    }
    if (files.size() < 100) {
        GTEST_SKIP() << "fixture folder not found at " KESTRIN_FIXTURES_DIR;
    }
    const HardwareScanner scanner;
    int withItems = 0;
    // Inputs that once crashed a fuzz target are replayed with the fixtures.
    QStringList replayed = files;
    const QDir crashes(QStringLiteral(KESTRIN_SOURCE_DIR "/fuzz/crashes"));
    for (const QString &name : crashes.entryList({QStringLiteral("crash-*")}, QDir::Files)) {
        replayed.append(crashes.filePath(name));
    }
    for (const QString &path : replayed) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = Text::decodeUtf8Strict(file.readAll());
        // Feed every file to both parts the scan builds: the mac parser must cope
        // with classic text.
        const HardwareScanResult result = scanner.assemble({
            HardwareScanner::macHardwarePart(text),
            scanner.classicPart(text),
        });
        checkInvariants(scanner, result);
        withItems += files.contains(path) && !result.items.isEmpty() ? 1 : 0;
    }
    // Only the board without any tables yields nothing.
    EXPECT_GE(withItems, files.size() - 1);
}

} // namespace
