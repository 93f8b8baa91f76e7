// The window while a saved report is shown: what the banner says, going back
// to this computer, and a report saved with identifiers hidden staying hidden.
#include "browser/jsonexport.h"
#include "browsertesthelpers.h"

#include <QLocale>

namespace {

QList<HardwareItem> machine()
{
    return {item(Cat::summary, "Memory", "2 useful items"), item(Cat::bios, "Version", "1.2"),
            item(Cat::memory, "Size", "8 GB", "DIMM A"),
            item(Cat::memory, "Size", "8 GB", "DIMM B"), item(Cat::usb, "Device", "Keyboard")};
}

// A report saved on 2026-12-07 10:12 UTC by Kestrin 1.4.0; of one page when
// `category` is given.
QByteArray saved(const QList<HardwareItem> &items, bool hidden, const char *category = nullptr,
                 const char *search = nullptr)
{
    ReportFormat::Header h;
    h.generated = QDateTime(QDate(2026, 12, 7), QTime(10, 12), Qt::UTC);
    h.kestrinVersion = QStringLiteral("1.4.0");
    h.hideIdentifiers = hidden;
    if (category) {
        h.category = u8(category);
        h.scanItemCount = 576;
    }
    if (search) {
        h.search = u8(search);
    }
    return JsonExport::document(items, {}, QStringLiteral("raw"), h);
}

QUrl put(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    return QUrl::fromLocalFile(writeFile(dir.filePath(u8(name)), bytes));
}

TEST(OpenedReport, BannerSaysWhatIsShown)
{
    // Dates in the banner are written the German way and in UTC here, so the
    // expected text does not depend on the machine running the test.
    qputenv("TZ", "UTC");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QList<HardwareItem> bios{item(Cat::bios, "Version", "1.2")};
    const QList<HardwareItem> page{item(Cat::memory, "Size", "8 GB"),
                                   item(Cat::memory, "Size", "16 GB")};
    const struct {
        QByteArray file;
        const char *generated, *version;
        bool identifiersHidden;
        const char *pageNote;
    } cases[] = {
        {saved(bios, false), "07.12.26 10:12", "1.4.0", false, ""},
        {saved(bios, true), "07.12.26 10:12", "1.4.0", true, ""},
        {saved(page, false, "Memory"), "07.12.26 10:12", "1.4.0", false, "Memory, 2 of 576 items"},
        {saved(page, false, "Memory", "dimm"), "07.12.26 10:12", "1.4.0", false,
         "Memory matching \u201cdimm\u201d, 2 of 576 items"},
        // Written before reports said when and by what: only the name is known.
        {R"({"items":[{"category":"BIOS","title":"Version","value":"1.2"}]})", "", "", false, ""},
        {"# dmidecode 3.4\nGetting SMBIOS data from sysfs.\n\nHandle 0x0000, DMI type 0, 26 "
         "bytes\nBIOS Information\n\tVendor: Acme\n\tVersion: 1.2\n\n",
         "", "", false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.left(60).toStdString());
        ScannedModel s({item(Cat::cpu, "Model", "This CPU")});
        ASSERT_FALSE(s.model->isShowingReport());
        QTemporaryDir dir;
        QSignalSpy changed(s.model.get(), &BrowserModel::reportChanged);
        ASSERT_TRUE(s.model->openReport(put(dir, "saved report.json", c.file)));
        EXPECT_EQ(changed.size(), 1);
        EXPECT_TRUE(s.model->isShowingReport());
        EXPECT_EQ(s.model->reportFileName(), u"saved report.json");
        EXPECT_EQ(s.model->reportGenerated(), u8(c.generated));
        EXPECT_EQ(s.model->reportKestrinVersion(), u8(c.version));
        EXPECT_EQ(s.model->reportIdentifiersHidden(), c.identifiersHidden);
        EXPECT_EQ(s.model->reportPageNote(), u8(c.pageNote));
    }
    QLocale::setDefault(QLocale::c());
}

TEST(OpenedReport, OpensAsAScanAndABadFileChangesNothing)
{
    ScannedModel s({item(Cat::cpu, "Model", "Old CPU")});
    FakeAlerts alerts;
    s.model->setAlertPresenter(&alerts);
    QTemporaryDir dir;
    const QUrl bad = put(dir, "bad.json", R"({"format":"kestrin-report","items":[{"cat)");
    EXPECT_FALSE(s.model->openReport(bad));
    ASSERT_EQ(alerts.messages.size(), 1);
    EXPECT_TRUE(alerts.messages.first().contains(u"incomplete"));
    ASSERT_EQ(s.model->itemCount(), 1);
    EXPECT_EQ(s.model->items().first().value, u"Old CPU");

    s.model->setHideIdentifiers(false);
    EXPECT_TRUE(s.model->openReport(put(dir, "good.json", saved(machine(), true))));
    EXPECT_EQ(s.model->itemCount(), 5);
    EXPECT_EQ(s.model->totalUsefulItems(), 4);
    EXPECT_EQ(s.model->categoryCounts().value(Cat::memory), 2);
    s.model->setSelectedCategory(Cat::memory);
    EXPECT_EQ(s.shownValues(), (QStringList{u"8 GB"_qs, u"8 GB"_qs}));
    EXPECT_EQ(s.model->rawOutput(), u"raw");

    // With a report shown, the banner stays too.
    QSignalSpy changed(s.model.get(), &BrowserModel::reportChanged);
    EXPECT_FALSE(s.model->openReport(bad));
    EXPECT_EQ(alerts.messages.size(), 2);
    EXPECT_EQ(changed.size(), 0);
    EXPECT_EQ(s.model->reportFileName(), u"good.json");
    EXPECT_TRUE(s.model->reportIdentifiersHidden());
    EXPECT_EQ(s.model->itemCount(), 5);
}

TEST(OpenedReport, BackToThisComputerScansAndClearsTheBanner)
{
    ScannedModel s({item(Cat::cpu, "Model", "This CPU")});
    QTemporaryDir dir;
    ASSERT_TRUE(s.model->openReport(put(dir, "r.json", saved(machine(), true))));
    QSignalSpy changed(s.model.get(), &BrowserModel::reportChanged);
    QSignalSpy finished(s.model.get(), &BrowserModel::scanFinished);
    s.model->backToThisComputer();
    EXPECT_TRUE(s.model->isScanning());
    EXPECT_TRUE(s.model->isShowingReport()) << "the report stays until the scan replaces it";
    s.source->complete(HardwareScanResult{{item(Cat::cpu, "Model", "This CPU")}, {}, {}});
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_FALSE(s.model->isShowingReport());
    EXPECT_EQ(s.model->reportFileName(), u"");
    EXPECT_FALSE(s.model->reportIdentifiersHidden());
    ASSERT_EQ(s.model->itemCount(), 1);
    EXPECT_EQ(s.model->items().first().value, u"This CPU");
}

TEST(FullReport, ExportsEveryCategoryWhateverThePageShows)
{
    ScannedModel s(HardwareScanResult{
        machine(), QStringLiteral("raw text"), {QStringLiteral("dmidecode -q: denied")}});
    s.model->setHideIdentifiers(false);
    s.model->setSelectedCategory(Cat::memory);
    s.settleSearch(QStringLiteral("dimm a"));
    ASSERT_EQ(s.model->filteredCount(), 1);

    FakeSaveDialog dialog;
    s.model->setSaveLocationProvider(&dialog);
    QTemporaryDir dir;
    s.model->exportFullReport();
    ASSERT_TRUE(dialog.pending);
    dialog.close(dir.filePath(u"full.json"_qs));

    const QJsonObject root = readJson(dir.filePath(u"full.json"_qs));
    EXPECT_EQ(root.value(u"items").toArray().size(), 5);
    EXPECT_EQ(root.value(u"format").toString(), u"kestrin-report");
    EXPECT_FALSE(root.contains(u"category")) << "a full report is no page";
    EXPECT_EQ(root.value(u"warnings").toArray().first().toString(), u"dmidecode -q: denied");
    EXPECT_EQ(root.value(u"rawOutput").toString(), u"raw text");
    EXPECT_FALSE(root.value(u"hideIdentifiers").toBool(true));
}

// A report saved with identifiers hidden shows what the file holds, never
// less: the masks of serial "ABCD1234EF", of the MAC address 00:1a:2b:3c:4d:5e
// and of a short serial stay masks; a UUID the file holds in clear the mask
// may still hide. Raw output and warnings stay as saved.
TEST(OpenedReport, SavedMaskedShowsWhatTheFileHolds)
{
    const char *const mac = "eth0 \xe2\x80\xa2 MAC Address";
    const char *const uuid = "board 4c4c4544-0042-3510-8052-b4c04f4e3332";
    const QList<HardwareItem> items = {
        item(Cat::platform, "Serial Number", DOTS "EF"), item(Cat::network, mac, DOTS "5e"),
        item(Cat::memory, "Serial Number", DOTS), item(Cat::platform, "Note", uuid),
        item(Cat::bios, "Version", "1.2")};
    ReportFormat::Header header;
    header.hideIdentifiers = true;
    const QByteArray report =
        JsonExport::document(items, {u8("disk " DOTS "EF: no SMART data")},
                             u8("Serial Number: " DOTS "EF\n\tMAC Address: " DOTS "5e\n"), header);
    const struct {
        bool hide;
        Cat category;
        const char *title, *expected;
    } cases[] = {
        {false, Cat::platform, "Serial Number", DOTS "EF"},
        {true, Cat::platform, "Serial Number", DOTS "EF"},
        {false, Cat::network, mac, DOTS "5e"},
        {true, Cat::network, mac, DOTS "5e"},
        {true, Cat::memory, "Serial Number", DOTS},
        {false, Cat::platform, "Note", uuid},
        {true, Cat::platform, "Note", "board " DOTS "32"},
        {true, Cat::bios, "Version", "1.2"},
    };
    ScannedModel s;
    QTemporaryDir dir;
    ASSERT_TRUE(s.model->openReport(put(dir, "m.json", report)));
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.expected) + (c.hide ? " masked" : ""));
        s.model->setHideIdentifiers(c.hide);
        const QList<HardwareItem> &shown = s.model->shownItems();
        const auto found = std::find_if(shown.begin(), shown.end(), [&](const HardwareItem &i) {
            return i.category == c.category && i.title == u8(c.title);
        });
        ASSERT_NE(found, shown.end());
        EXPECT_EQ(found->value, u8(c.expected));
        EXPECT_EQ(s.model->rawOutput(),
                  u8("Serial Number: " DOTS "EF\n\tMAC Address: " DOTS "5e\n"));
        EXPECT_EQ(s.model->warnings(), QStringList{u8("disk " DOTS "EF: no SMART data")});
    }
}

} // namespace
