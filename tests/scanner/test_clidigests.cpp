// The command-line front end must print, for every real output in the fixture
// folder, exactly the JSON that the reference build printed (item ids aside).
// The reference digests live in tests/data/cli-json-digests.txt and are made by
// scripts/pin-cli-digests.sh on the reference build.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <map>

namespace {

struct Pinned {
    QString mode; // classic, mac or both
    QString file; // relative to the fixture folder
    QByteArray digest;
};

std::vector<Pinned> readManifest()
{
    QFile manifest(QStringLiteral(KESTRIN_TEST_DATA_DIR "/cli-json-digests.txt"));
    EXPECT_TRUE(manifest.open(QIODevice::ReadOnly)) << "missing tests/data/cli-json-digests.txt";
    std::vector<Pinned> pinned;
    for (const QByteArray &line : manifest.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        const QList<QByteArray> fields = line.split(' ');
        EXPECT_EQ(fields.size(), 3) << "malformed manifest line: " << line.toStdString();
        if (fields.size() == 3) {
            pinned.push_back(
                {QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2]), fields[0]});
        }
    }
    return pinned;
}

// Every `"id":"<UUID>"` becomes `"id":"<id>"`, as the manifest script's sed
// expression does. The JSON is UTF-8 throughout, so the round trip keeps its bytes.
QByteArray withoutIds(const QByteArray &json)
{
    static const QRegularExpression id(QStringLiteral("\"id\":\"[0-9a-f-]{36}\""));
    return QString::fromUtf8(json).replace(id, QStringLiteral("\"id\":\"<id>\"")).toUtf8();
}

TEST(CliDigests, EveryFixtureGivesTheReferenceJson)
{
    const QDir fixtures(QStringLiteral(KESTRIN_FIXTURES_DIR));
    if (!fixtures.exists(QStringLiteral("dmidecode"))) {
        GTEST_SKIP() << "fixture folder not found at " KESTRIN_FIXTURES_DIR;
    }
    const std::vector<Pinned> pinned = readManifest();
    ASSERT_FALSE(pinned.empty());

    // Every fixture must be pinned in all three modes, so none is silently skipped.
    std::map<QString, int> modesPerFile;
    for (const Pinned &entry : pinned) {
        ++modesPerFile[entry.file];
    }
    for (const char *folder : {"dmidecode", "dmi-bin"}) {
        const QDir dir(fixtures.filePath(QString::fromUtf8(folder)));
        for (const QString &name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            const QString file = QString::fromUtf8(folder) + QLatin1Char('/') + name;
            EXPECT_EQ(modesPerFile[file], 3)
                << file.toStdString()
                << ": not pinned in every mode; regenerate tests/data/cli-json-digests.txt with "
                   "scripts/pin-cli-digests.sh on the reference build";
        }
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    // The time scripts/pin-cli-digests.sh stamps into the pinned reports.
    environment.insert(QStringLiteral("KESTRIN_REPORT_TIME"),
                       QStringLiteral("2026-01-01T00:00:00Z"));
    for (const Pinned &entry : pinned) {
        const QString path = fixtures.filePath(entry.file);
        QStringList arguments{QStringLiteral("--json")};
        if (entry.mode == u"classic" || entry.mode == u"both") {
            arguments << QStringLiteral("--classic") << path;
        }
        if (entry.mode == u"mac" || entry.mode == u"both") {
            arguments << QStringLiteral("--mac") << path;
        }
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KESTRIN_CLI_PATH), arguments);
        const bool finished = process.waitForFinished(60000);
        const QByteArray out = process.readAllStandardOutput();
        if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            ADD_FAILURE() << entry.mode.toStdString() << ' ' << entry.file.toStdString()
                          << ": kestrin-cli failed: "
                          << process.readAllStandardError().toStdString();
            continue;
        }
        const QByteArray digest =
            QCryptographicHash::hash(withoutIds(out), QCryptographicHash::Sha256).toHex();
        EXPECT_EQ(digest.toStdString(), entry.digest.toStdString())
            << entry.mode.toStdString() << ' ' << entry.file.toStdString()
            << ": the JSON differs from the reference build's";
    }
}

} // namespace
