#include "browser/jsonexport.h"
#include "browsertesthelpers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

QList<HardwareItem> machine()
{
    return {item(Cat::summary, "Memory", "2 useful items"), item(Cat::bios, "Version", "1.2"),
            item(Cat::memory, "Size", "8 GB", "DIMM A"),
            item(Cat::memory, "Size", "8 GB", "DIMM B"), item(Cat::usb, "Device", "Keyboard")};
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
    const QString path = dir.filePath(QStringLiteral("full.json"));
    s.model->exportFullReport();
    ASSERT_TRUE(dialog.pending);
    dialog.close(path);

    const QJsonObject root = QJsonDocument::fromJson(readAll(path)).object();
    EXPECT_EQ(root.value(u"items").toArray().size(), 5);
    EXPECT_EQ(root.value(u"format").toString(), u"kestrin-report");
    EXPECT_FALSE(root.contains(u"category")) << "a full report is no page";
    EXPECT_EQ(root.value(u"warnings").toArray().first().toString(), u"dmidecode -q: denied");
    EXPECT_EQ(root.value(u"rawOutput").toString(), u"raw text");
    EXPECT_FALSE(root.value(u"hideIdentifiers").toBool(true));
}

TEST(FullReport, OpensAsAScanAndABadFileChangesNothing)
{
    ScannedModel s({item(Cat::cpu, "Model", "Old CPU")});
    FakeAlerts alerts;
    s.model->setAlertPresenter(&alerts);
    QTemporaryDir dir;

    const QString bad = dir.filePath(QStringLiteral("bad.json"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"({"format":"kestrin-report","formatVersion":1,"items":[{"cat)");
    }
    EXPECT_FALSE(s.model->openReport(QUrl::fromLocalFile(bad)));
    ASSERT_EQ(alerts.messages.size(), 1);
    EXPECT_TRUE(alerts.messages.first().contains(u"incomplete"));
    ASSERT_EQ(s.model->itemCount(), 1);
    EXPECT_EQ(s.model->items().first().value, u"Old CPU");

    const QString good = dir.filePath(QStringLiteral("good.json"));
    {
        QFile file(good);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(JsonExport::document(machine(), {}, QStringLiteral("raw"),
                                        ReportFormat::currentHeader(false)));
    }
    s.model->setHideIdentifiers(false);
    EXPECT_TRUE(s.model->openReport(QUrl::fromLocalFile(good)));
    EXPECT_EQ(s.model->itemCount(), 5);
    EXPECT_EQ(s.model->totalUsefulItems(), 4);
    EXPECT_EQ(s.model->categoryCounts().value(Cat::memory), 2);
    s.model->setSelectedCategory(Cat::memory);
    EXPECT_EQ(s.shownValues(), (QStringList{QStringLiteral("8 GB"), QStringLiteral("8 GB")}));
    EXPECT_EQ(s.model->rawOutput(), u"raw");
}

} // namespace
