// The masking rules are pinned in the model's tests; here only that the window
// applies them to what it shows, finds, copies and saves.
#include "browsertesthelpers.h"
#include "model/textservices.h"
#include "tests/scanner/identifiersecrets.h"

namespace {

const char *const rawText = "Memory Device\n\tSerial Number: FCN0CJ03468352B\n";
const char *const maskedRawText = "Memory Device\n\tSerial Number: " DOTS "2B\n";

HardwareScanResult privacyScan()
{
    return HardwareScanResult{{item(Cat::memory, "Serial Number", "FCN0CJ03468352B", "DIMM 1"),
                               item(Cat::memory, "Part Number", "HMAA51S6AMR6N-UH", "DIMM 1"),
                               item(Cat::memory, "Serial Number", "0E08", "DIMM 0")},
                              RawOutput(u8(rawText)),
                              {u8("eth0 (8c:c6:81:2a:5b:17) is down")}};
}

TEST(Privacy, IdentifiersAreHiddenByDefaultInWhatTheWindowShows)
{
    ScannedModel s(privacyScan());
    EXPECT_TRUE(s.model->hideIdentifiers());
    s.model->setSelectedCategory(Cat::memory);
    // Display order: section "DIMM 0", then "DIMM 1".
    EXPECT_EQ(s.shownValues(), QStringList({u8(DOTS), u8("HMAA51S6AMR6N-UH"), u8(DOTS "2B")}));
    EXPECT_EQ(s.model->rawOutput(), u8(maskedRawText));
    EXPECT_EQ(s.model->warnings(), QStringList{u8("eth0 (" DOTS "17) is down")});

    // Same page: the rows are updated in place.
    QSignalSpy resets(&s.rows(), &QAbstractItemModel::modelReset);
    QSignalSpy changes(&s.rows(), &QAbstractItemModel::dataChanged);
    s.model->setHideIdentifiers(false);
    EXPECT_EQ(resets.size(), 0);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][1].toModelIndex().row(), 2);
    EXPECT_EQ(s.shownValues(),
              QStringList({u8("0E08"), u8("HMAA51S6AMR6N-UH"), u8("FCN0CJ03468352B")}));

    // A hidden value cannot be found: the page itself changes, the rows are rebuilt.
    s.settleSearch(u"0e08"_qs);
    ASSERT_EQ(s.shownValues(), QStringList{u8("0E08")});
    resets.clear();
    s.model->setHideIdentifiers(true);
    EXPECT_EQ(resets.size(), 1);
    EXPECT_TRUE(s.shownValues().isEmpty());
}

// Copy Value and Copy Title and Value are the window tests' cases.
TEST(Privacy, CopiesWhatTheRowShows)
{
    ScannedModel s(privacyScan());
    FakeClipboard clipboard;
    s.model->setClipboardService(&clipboard);
    s.model->setSelectedCategory(Cat::memory);
    s.model->copySection(2); // the row's section, in display order, as the report's blocks
    s.model->copySection(3); // past the end: nothing
    EXPECT_EQ(
        clipboard.texts,
        QStringList{u8("[Memory] Part Number: HMAA51S6AMR6N-UH\n  Detail: DIMM 1\n  Source: src\n\n"
                       "[Memory] Serial Number: " DOTS "2B\n  Detail: DIMM 1\n  Source: src\n")});
}

// Any filter but JSON saves the text report; JSON, the page as --json writes it.
TEST(Privacy, SavesThePageAsShownInTheChosenFormat)
{
    QTemporaryDir dir;
    ScannedModel s(privacyScan());
    FakeSaveDialog dialog;
    s.model->setSaveLocationProvider(&dialog);
    s.model->setSelectedCategory(Cat::memory);
    const auto save = [&](int filterIndex) {
        const QString path = dir.filePath(u"report%1.json"_qs.arg(filterIndex));
        s.model->saveReport();
        dialog.close(path, filterIndex);
        return readAll(path);
    };
    for (int filterIndex : {0, -1, 2}) {
        const QByteArray text = save(filterIndex);
        EXPECT_TRUE(text.startsWith("Kestrin\nGenerated: ")) << filterIndex;
        EXPECT_TRUE(text.contains("[Memory] Serial Number: " DOTS "2B\n")) << filterIndex;
    }
    for (const char *raw : {maskedRawText, rawText}) {
        const QJsonObject root = QJsonDocument::fromJson(save(1)).object();
        EXPECT_EQ(root.value(u"rawOutput").toString(), u8(raw));
        EXPECT_EQ(root.value(u"items").toArray().first()[u"value"].toString(),
                  raw == rawText ? u8("FCN0CJ03468352B") : u8(DOTS "2B"));
        s.model->setHideIdentifiers(false);
    }
}

TEST(Privacy, TogglingRebuildsTheRowsWhenAMaskMovesThemToAnotherSection)
{
    // The detail holds the serial: masked, the item's section is another one.
    ScannedModel s({item(Cat::memory, "Size", "8 GB", "DIMM 336EE786"),
                    item(Cat::memory, "Serial Number", "336EE786", "DIMM 336EE786")});
    s.model->setSelectedCategory(Cat::memory);
    const auto section = [&] {
        return s.rows().index(0).data(SectionedItemsModel::SectionTitleRole);
    };
    EXPECT_EQ(section(), u8("DIMM " DOTS));
    QSignalSpy resets(&s.rows(), &QAbstractItemModel::modelReset);
    s.model->setHideIdentifiers(false);
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(section(), u8("DIMM 336EE786"));
}

// The strings of an exported JSON document but the ids: random UUIDs whose hex
// digits may hold any short serial by chance.
QString jsonStrings(const QByteArray &json)
{
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    QStringList strings = root.value(u"warnings").toVariant().toStringList();
    strings.append(root.value(u"rawOutput").toString());
    for (const QJsonValue &entry : root.value(u"items").toArray()) {
        QJsonObject item = entry.toObject();
        item.remove(u"id");
        for (const QJsonValue &field : item) {
            strings.append(field.toString());
        }
    }
    return strings.join(u'\n');
}

// Every real output through the scan and the window's model with the mask on:
// no serial number, UUID or MAC address of any of them is left in what the
// window shows, copies or saves, and the mask changes nothing else.
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
        const QString text = Text::decodeUtf8Strict(readAll(input.path));
        const QSet<QString> secrets = IdentifierSecrets::collect(text);
        inputsWithSecrets += secrets.isEmpty() ? 0 : 1;
        secretCount += static_cast<int>(secrets.size());

        ScannedModel s(scanner.assemble(
            {input.mac ? HardwareScanner::macHardwarePart(text) : scanner.classicPart(text)}));
        ASSERT_TRUE(s.model->hideIdentifiers());

        // A view: same ids, categories, sources and order.
        const QList<HardwareItem> &real = s.model->items();
        const QList<HardwareItem> &shown = s.model->shownItems();
        ASSERT_EQ(shown.size(), real.size());
        for (qsizetype i = 0; i < real.size(); ++i) {
            ASSERT_EQ(std::tie(shown[i].id, shown[i].category, shown[i].source),
                      std::tie(real[i].id, real[i].category, real[i].source));
        }

        // Category by category, every page loaded.
        QString everything = s.model->rawOutput() + s.model->warnings().join(u'\n');
        for (HardwareCategory category : s.model->visibleCategories()) {
            s.model->setSelectedCategory(category);
            while (s.model->canLoadMore()) {
                s.model->loadMoreItems();
            }
            ASSERT_EQ(s.model->pagedCount(),
                      s.model->categoryCounts().value(category, s.model->summaryItemCount()));
            everything += s.model->visibleReportText() + jsonStrings(s.model->visibleJson());
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
