// Every real output through the scan and the window's model with the mask on:
// no serial number, UUID or MAC address of any of them is left in what the
// window shows, copies or saves, and the mask changes nothing else.
#include "browsertesthelpers.h"
#include "model/textservices.h"
#include "scanner/hardwarescanner.h"
#include "tests/scanner/identifiersecrets.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The strings of an exported JSON document, joined.
QString jsonStrings(const QByteArray &json)
{
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    QStringList strings;
    for (const QJsonValue &entry : root.value(QStringLiteral("items")).toArray()) {
        QJsonObject item = entry.toObject();
        // Not the id: a random UUID drawn for the item, not one of the machine,
        // whose hex digits may hold any short serial by chance.
        item.remove(QStringLiteral("id"));
        for (const QJsonValue &field : item) {
            strings.append(field.toString());
        }
    }
    for (const QJsonValue &warning : root.value(QStringLiteral("warnings")).toArray()) {
        strings.append(warning.toString());
    }
    strings.append(root.value(QStringLiteral("rawOutput")).toString());
    return strings.join(QLatin1Char('\n'));
}

TEST(PrivacyCorpus, NoIdentifierOfAnyRealOutputSurvivesTheMask)
{
    const QList<IdentifierSecrets::Input> inputs = IdentifierSecrets::corpus();
    if (inputs.size() < 100) {
        GTEST_SKIP() << "fixture folder not found at " KESTRIN_FIXTURES_DIR;
    }
    const HardwareScanner scanner;
    int inputsWithSecrets = 0;
    int secretCount = 0;
    for (const IdentifierSecrets::Input &input : inputs) {
        SCOPED_TRACE(input.path.toStdString());
        QFile file(input.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = Text::decodeUtf8Strict(file.readAll());
        const QSet<QString> secrets = IdentifierSecrets::collect(text);
        inputsWithSecrets += secrets.isEmpty() ? 0 : 1;
        secretCount += static_cast<int>(secrets.size());

        ScannedModel s(scanner.assemble(
            {input.mac ? HardwareScanner::macHardwarePart(text) : scanner.classicPart(text)}));
        ASSERT_TRUE(s.model->hideIdentifiers());

        // A view: same ids, categories, sources and order; counts unchanged.
        const QList<HardwareItem> &real = s.model->items();
        const QList<HardwareItem> &shown = s.model->shownItems();
        ASSERT_EQ(shown.size(), real.size());
        for (qsizetype i = 0; i < real.size(); ++i) {
            ASSERT_EQ(shown[i].id, real[i].id);
            ASSERT_EQ(shown[i].category, real[i].category);
            ASSERT_EQ(shown[i].source, real[i].source);
        }

        // Everything the window shows, copies or saves, category by category,
        // every page loaded.
        QString everything = s.model->rawOutput() + s.model->warnings().join(QLatin1Char('\n'));
        for (HardwareCategory category : s.model->visibleCategories()) {
            s.model->setSelectedCategory(category);
            while (s.model->canLoadMore()) {
                s.model->loadMoreItems();
            }
            ASSERT_EQ(s.model->pagedCount(),
                      s.model->categoryCounts().value(category, s.model->summaryItemCount()));
            everything += s.model->visibleReportText();
            everything += jsonStrings(s.model->visibleJson());
        }
        EXPECT_EQ(IdentifierSecrets::leaked(secrets, everything), QStringList());

        // The check means something: unmasked, the raw output has them all.
        s.model->setHideIdentifiers(false);
        EXPECT_EQ(IdentifierSecrets::leaked(secrets, s.model->rawOutput()).size(), secrets.size());
    }
    // The corpus holds real identifiers to hide (hw-probe blanked many of them).
    EXPECT_GE(inputsWithSecrets, 30);
    EXPECT_GE(secretCount, 100);
}

} // namespace
