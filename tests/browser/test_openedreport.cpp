// The window while a saved report is shown: what the banner says, going back
// to this computer, and a report saved with identifiers hidden staying hidden.
#include "browser/jsonexport.h"
#include "browsertesthelpers.h"

#include <QLocale>
#include <QTemporaryDir>

namespace {

// Five U+2022 in UTF-8.
#define DOTS "\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2"

QString writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        ADD_FAILURE() << "cannot write " << name;
    }
    return path;
}

ReportFormat::Header header(bool hidden)
{
    ReportFormat::Header h;
    h.generated = QDateTime(QDate(2026, 12, 7), QTime(10, 12), Qt::UTC);
    h.kestrinVersion = QStringLiteral("1.4.0");
    h.hideIdentifiers = hidden;
    return h;
}

// Dates in the banner are written the German way and in UTC here, so the
// expected text does not depend on the machine running the test.
struct GermanUtc {
    GermanUtc()
    {
        qputenv("TZ", "UTC");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~GermanUtc() { QLocale::setDefault(QLocale::c()); }
};

struct BannerCase {
    const char *name;
    QByteArray file;
    const char *generated;
    const char *version;
    bool identifiersHidden;
    const char *pageNote;
};

QByteArray pageReport()
{
    ReportFormat::Header h = header(false);
    h.category = QStringLiteral("Memory");
    h.scanItemCount = 576;
    return JsonExport::document({item(Cat::memory, "Size", "8 GB")}, {}, {}, h);
}

class Banner : public ::testing::TestWithParam<BannerCase> {};

TEST_P(Banner, SaysWhatIsShown)
{
    const GermanUtc german;
    const BannerCase &c = GetParam();
    ScannedModel s({item(Cat::cpu, "Model", "This CPU")});
    ASSERT_FALSE(s.model->isShowingReport());
    QTemporaryDir dir;
    const QString path = writeFile(dir, "saved report.json", c.file);

    QSignalSpy changed(s.model.get(), &BrowserModel::reportChanged);
    ASSERT_TRUE(s.model->openReport(QUrl::fromLocalFile(path)));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_TRUE(s.model->isShowingReport());
    EXPECT_EQ(s.model->reportFileName(), u"saved report.json");
    EXPECT_EQ(s.model->reportGenerated(), QString::fromUtf8(c.generated));
    EXPECT_EQ(s.model->reportKestrinVersion(), QString::fromUtf8(c.version));
    EXPECT_EQ(s.model->reportIdentifiersHidden(), c.identifiersHidden);
    EXPECT_EQ(s.model->reportPageNote(), QString::fromUtf8(c.pageNote));
}

INSTANTIATE_TEST_SUITE_P(
    OpenedReport, Banner,
    ::testing::Values(
        BannerCase{"FullReport",
                   JsonExport::document({item(Cat::bios, "Version", "1.2")}, {}, {}, header(false)),
                   "07.12.26 10:12", "1.4.0", false, ""},
        BannerCase{"SavedMasked",
                   JsonExport::document({item(Cat::bios, "Version", "1.2")}, {}, {}, header(true)),
                   "07.12.26 10:12", "1.4.0", true, ""},
        BannerCase{"OnePage", pageReport(), "07.12.26 10:12", "1.4.0", false,
                   "Memory, 1 of 576 items"},
        // Written before reports said when and by what: only the name is known.
        BannerCase{"OldReport",
                   R"({"items":[{"category":"BIOS","title":"Version","value":"1.2"}]})", "", "",
                   false, ""},
        BannerCase{"ToolOutput",
                   "# dmidecode 3.4\nGetting SMBIOS data from sysfs.\n\n"
                   "Handle 0x0000, DMI type 0, 26 bytes\nBIOS Information\n\tVendor: Acme\n"
                   "\tVersion: 1.2\n\n",
                   "", "", false, ""}),
    rowName);

TEST(OpenedReport, BackToThisComputerScansAndClearsTheBanner)
{
    ScannedModel s({item(Cat::cpu, "Model", "This CPU")});
    QTemporaryDir dir;
    const QString path =
        writeFile(dir, "r.json",
                  JsonExport::document({item(Cat::bios, "Version", "1.2")}, {}, {}, header(true)));
    ASSERT_TRUE(s.model->openReport(QUrl::fromLocalFile(path)));

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

TEST(OpenedReport, AFailedOpenKeepsTheReportShown)
{
    ScannedModel s;
    FakeAlerts alerts;
    s.model->setAlertPresenter(&alerts);
    QTemporaryDir dir;
    const QString good =
        writeFile(dir, "good.json",
                  JsonExport::document({item(Cat::bios, "Version", "1.2")}, {}, {}, header(true)));
    const QString bad = writeFile(dir, "bad.json", "{\"items\":[");
    ASSERT_TRUE(s.model->openReport(QUrl::fromLocalFile(good)));

    QSignalSpy changed(s.model.get(), &BrowserModel::reportChanged);
    EXPECT_FALSE(s.model->openReport(QUrl::fromLocalFile(bad)));
    EXPECT_EQ(alerts.messages.size(), 1);
    EXPECT_EQ(changed.size(), 0);
    EXPECT_EQ(s.model->reportFileName(), u"good.json");
    EXPECT_TRUE(s.model->reportIdentifiersHidden());
}

// A report saved with identifiers hidden: the masks of serial "ABCD1234EF", of
// the MAC address 00:1a:2b:3c:4d:5e and of a short serial, and a UUID the file
// holds in clear.
QByteArray maskedReport()
{
    const QList<HardwareItem> items = {
        item(Cat::platform, "Serial Number", DOTS "EF"),
        item(Cat::network, "eth0 \xe2\x80\xa2 MAC Address", DOTS "5e"),
        item(Cat::memory, "Serial Number", DOTS),
        item(Cat::platform, "Note", "board 4c4c4544-0042-3510-8052-b4c04f4e3332"),
        item(Cat::bios, "Version", "1.2"),
    };
    return JsonExport::document(items, {u8("disk " DOTS "EF: no SMART data")},
                                u8("Serial Number: " DOTS "EF\n\tMAC Address: " DOTS "5e\n"),
                                header(true));
}

struct MaskedCase {
    const char *name;
    bool hideIdentifiers;
    Cat category;
    const char *title;
    const char *expected;
};

class SavedMasked : public ::testing::TestWithParam<MaskedCase> {};

TEST_P(SavedMasked, ShowsWhatTheFileHoldsNeverLess)
{
    const MaskedCase &c = GetParam();
    ScannedModel s;
    QTemporaryDir dir;
    ASSERT_TRUE(s.model->openReport(QUrl::fromLocalFile(writeFile(dir, "m.json", maskedReport()))));
    s.model->setHideIdentifiers(c.hideIdentifiers);
    const QString title = u8(c.title);
    const QList<HardwareItem> &shown = s.model->shownItems();
    const auto found = std::find_if(shown.begin(), shown.end(), [&](const HardwareItem &i) {
        return i.category == c.category && i.title == title;
    });
    ASSERT_NE(found, shown.end());
    EXPECT_EQ(found->value, u8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    OpenedReport, SavedMasked,
    ::testing::Values(
        MaskedCase{"SerialOff", false, Cat::platform, "Serial Number", DOTS "EF"},
        MaskedCase{"SerialOn", true, Cat::platform, "Serial Number", DOTS "EF"},
        MaskedCase{"MacOff", false, Cat::network, "eth0 \xe2\x80\xa2 MAC Address", DOTS "5e"},
        MaskedCase{"MacOn", true, Cat::network, "eth0 \xe2\x80\xa2 MAC Address", DOTS "5e"},
        MaskedCase{"ShortSerialOn", true, Cat::memory, "Serial Number", DOTS},
        // What the file holds in clear, the mask may still hide.
        MaskedCase{"ClearUuidOff", false, Cat::platform, "Note",
                   "board 4c4c4544-0042-3510-8052-b4c04f4e3332"},
        MaskedCase{"ClearUuidOn", true, Cat::platform, "Note", "board " DOTS "32"},
        MaskedCase{"PlainOn", true, Cat::bios, "Version", "1.2"}),
    rowName);

TEST(OpenedReport, SavedMaskedRawOutputAndWarningsStayAsSaved)
{
    ScannedModel s;
    QTemporaryDir dir;
    ASSERT_TRUE(s.model->openReport(QUrl::fromLocalFile(writeFile(dir, "m.json", maskedReport()))));
    for (const bool hide : {true, false}) {
        s.model->setHideIdentifiers(hide);
        EXPECT_EQ(s.model->rawOutput(),
                  u8("Serial Number: " DOTS "EF\n\tMAC Address: " DOTS "5e\n"))
            << hide;
        EXPECT_EQ(s.model->warnings(), QStringList{u8("disk " DOTS "EF: no SMART data")}) << hide;
    }
}

} // namespace
