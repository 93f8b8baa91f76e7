// The window's model with the identifier mask: what it shows, searches,
// copies and saves with the mask on and off.
#include "browsertesthelpers.h"
#include "model/textservices.h"
#include "tests/scanner/identifiersecrets.h"

namespace {

const char *const rawText = "===== dmidecode -q =====\n"
                            "Memory Device\n"
                            "\tSerial Number: FCN0CJ03468352B\n"
                            "\tAsset Tag: AT-7731\n"
                            "\tPart Number: HMAA51S6AMR6N-UH\n";
const char *const maskedRawText = "===== dmidecode -q =====\n"
                                  "Memory Device\n"
                                  "\tSerial Number: " DOTS "2B\n"
                                  "\tAsset Tag: " DOTS "\n"
                                  "\tPart Number: HMAA51S6AMR6N-UH\n";

HardwareScanResult privacyScan()
{
    return HardwareScanResult{
        {
            item(Cat::summary, "Memory", "4 useful items", "Filtered dmidecode data", "App parser"),
            item(Cat::memory, "Serial Number", "FCN0CJ03468352B", "DIMM 1", "dmidecode -q"),
            item(Cat::memory, "Part Number", "HMAA51S6AMR6N-UH", "DIMM 1", "dmidecode -q"),
            item(Cat::memory, "Serial Number", "0E08", "DIMM 0", "dmidecode -q"),
            item(Cat::memory, "Locator", "ChannelA-DIMM0", "DIMM 0", "dmidecode -q"),
            item(Cat::network, "Device", "[net: eth0] Intel I219-V (FCN0CJ03468352B)", "Network",
                 "--mac-hardware"),
            item(Cat::network, "[net: eth0] Intel I219-V \xe2\x80\xa2 mac address",
                 "8c:c6:81:2a:5b:17", "Network", "--mac-hardware"),
        },
        RawOutput(u8(rawText)),
        {u8("eth0 (8c:c6:81:2a:5b:17) is down")},
    };
}

TEST(Privacy, IdentifiersAreHiddenByDefaultInWhatTheWindowShows)
{
    ScannedModel s(privacyScan());
    EXPECT_TRUE(s.model->hideIdentifiers());
    s.model->setSelectedCategory(Cat::network);
    EXPECT_EQ(s.shownValues(),
              QStringList({u8(DOTS "17"), u8("[net: eth0] Intel I219-V (" DOTS "2B)")}));
    s.model->setSelectedCategory(Cat::memory);
    // Display order: section "DIMM 0" (Locator, Serial Number), then "DIMM 1".
    EXPECT_EQ(s.shownValues(),
              QStringList({u8("ChannelA-DIMM0"), u8(DOTS), u8("HMAA51S6AMR6N-UH"), u8(DOTS "2B")}));
    EXPECT_EQ(s.model->rawOutput(), u8(maskedRawText));
    EXPECT_EQ(s.model->warnings(), QStringList{u8("eth0 (" DOTS "17) is down")});

    // Same page: the rows are updated in place.
    QSignalSpy resets(&s.rows(), &QAbstractItemModel::modelReset);
    QSignalSpy changes(&s.rows(), &QAbstractItemModel::dataChanged);
    s.model->setHideIdentifiers(false);
    EXPECT_EQ(resets.size(), 0);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changes[0][1].toModelIndex().row(), 3);
    EXPECT_EQ(s.shownValues(), QStringList({u8("ChannelA-DIMM0"), u8("0E08"),
                                            u8("HMAA51S6AMR6N-UH"), u8("FCN0CJ03468352B")}));

    // A search for a hidden value changes the page itself: the rows are rebuilt.
    s.settleSearch(QStringLiteral("0e08"));
    resets.clear();
    s.model->setHideIdentifiers(true);
    EXPECT_EQ(resets.size(), 1);
    EXPECT_TRUE(s.shownValues().isEmpty());
}

TEST(Privacy, AHiddenValueCannotBeFound)
{
    const struct {
        Cat category;
        const char *query;
        int matchesMasked, matchesUnmasked;
    } cases[] = {{Cat::memory, "FCN0CJ03", 0, 1},
                 {Cat::network, "fcn0cj", 0, 1}, // a serial in a device name
                 {Cat::network, "8C:C6:81", 0, 1},
                 {Cat::memory, "hmaa51", 1, 1},         // model names stay findable
                 {Cat::memory, "serial number", 2, 2}}; // and so do keys
    for (const auto &c : cases) {
        SCOPED_TRACE(c.query);
        ScannedModel s(privacyScan());
        s.model->setSelectedCategory(c.category);
        s.settleSearch(u8(c.query));
        EXPECT_EQ(s.model->filteredCount(), c.matchesMasked);
        // Turning the mask off filters again with the same text.
        s.model->setHideIdentifiers(false);
        EXPECT_EQ(s.model->filteredCount(), c.matchesUnmasked);
        s.model->setHideIdentifiers(true);
        EXPECT_EQ(s.model->filteredCount(), c.matchesMasked);
    }
}

TEST(Privacy, CopiesWhatTheRowShows)
{
    const struct {
        Cat category;
        void (BrowserModel::*copy)(int);
        int row;
        bool masked;
        const char *expected; // nullptr: nothing copied
    } cases[] = {
        {Cat::network, &BrowserModel::copyValue, 1, true, "[net: eth0] Intel I219-V (" DOTS "2B)"},
        {Cat::network, &BrowserModel::copyTitleAndValue, 0, true,
         "[net: eth0] Intel I219-V \xe2\x80\xa2 mac address: " DOTS "17"},
        // The section of the row, in display order, as the report's blocks.
        {Cat::memory, &BrowserModel::copySection, 3, true,
         "[Memory] Part Number: HMAA51S6AMR6N-UH\n  Detail: DIMM 1\n  Source: dmidecode -q\n\n"
         "[Memory] Serial Number: " DOTS "2B\n  Detail: DIMM 1\n  Source: dmidecode -q\n"},
        {Cat::memory, &BrowserModel::copySection, 0, false,
         "[Memory] Locator: ChannelA-DIMM0\n  Detail: DIMM 0\n  Source: dmidecode -q\n\n"
         "[Memory] Serial Number: 0E08\n  Detail: DIMM 0\n  Source: dmidecode -q\n"},
        {Cat::summary, &BrowserModel::copySection, 0, true,
         "[Summary] Memory: 4 useful items\n  Detail: Filtered dmidecode data\n"
         "  Source: App parser\n"},
        {Cat::memory, &BrowserModel::copySection, 4, true, nullptr}, // past the end
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected ? c.expected : "past the end");
        ScannedModel s(privacyScan());
        FakeClipboard clipboard;
        s.model->setClipboardService(&clipboard);
        s.model->setSelectedCategory(c.category);
        s.model->setHideIdentifiers(c.masked);
        (s.model.get()->*c.copy)(c.row);
        EXPECT_EQ(clipboard.texts, c.expected ? QStringList{u8(c.expected)} : QStringList{});
    }
}

// Any filter but JSON saves the text report; JSON, the visible page as the
// command line's --json writes it. Both as shown, masked or not.
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
        EXPECT_FALSE(text.contains("FCN0CJ03468352B")) << filterIndex;
    }

    const struct {
        QStringList values; // of the memory page, in scan order
        const char *warning;
        const char *raw;
    } shown[] = {{{u8(DOTS "2B"), u8("HMAA51S6AMR6N-UH"), u8(DOTS), u8("ChannelA-DIMM0")},
                  "eth0 (" DOTS "17) is down",
                  maskedRawText},
                 {{u8("FCN0CJ03468352B"), u8("HMAA51S6AMR6N-UH"), u8("0E08"), u8("ChannelA-DIMM0")},
                  "eth0 (8c:c6:81:2a:5b:17) is down",
                  rawText}};
    for (const auto &[values, warning, raw] : shown) {
        // Read back the way the command-line tests read --json.
        const QByteArray bytes = save(1);
        EXPECT_TRUE(bytes.endsWith("}\n"));
        const QJsonObject root = QJsonDocument::fromJson(bytes).object();
        QStringList saved;
        for (const QJsonValue &entry : root.value(u"items").toArray()) {
            saved.append(entry.toObject().value(u"value").toString());
        }
        EXPECT_EQ(saved, values) << bytes.toStdString();
        EXPECT_EQ(root.value(u"warnings").toArray(), QJsonArray({u8(warning)}));
        EXPECT_EQ(root.value(u"rawOutput").toString(), u8(raw));
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

// What root read goes through the same mask as any other fact, in the rows
// and in the raw output, and shows once the mask is off.
TEST(Privacy, FactsReadAsAdministratorAreMaskedLikeAnyOther)
{
    QTemporaryDir dir;
    ScriptedScanner scripted(dir, "[ \"$1\" = -q ] && echo 'Memory Device'; exit 0",
                             "printf 'Memory Device\\n\\tSerial Number: FCN0CJ03468352B\\n'", 10);
    scripted.scanner->setAdministratorReader(scripted.administrator);
    BrowserModel model(scripted.scanner);
    QSignalSpy finished(&model, &BrowserModel::scanFinished);
    model.refresh();
    ASSERT_TRUE(finished.wait(15000));
    model.setSelectedCategory(Cat::memory);

    ASSERT_TRUE(model.hideIdentifiers());
    EXPECT_EQ(valuesOf(model.sectionModel()), QStringList{u8(DOTS "2B")});
    EXPECT_TRUE(model.rawOutput().contains(u8("(read as administrator)\nMemory Device\n"
                                              "\tSerial Number: " DOTS "2B\n")))
        << model.rawOutput().toStdString();
    EXPECT_FALSE(model.rawOutput().contains(QStringLiteral("FCN0CJ03468352B")));

    model.setHideIdentifiers(false);
    EXPECT_EQ(valuesOf(model.sectionModel()), QStringList{u8("FCN0CJ03468352B")});
    EXPECT_TRUE(model.rawOutput().contains(QStringLiteral("Serial Number: FCN0CJ03468352B")));
}

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
