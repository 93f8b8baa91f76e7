// The command-line front end must print, for every real output in the fixture
// folder, exactly the JSON that the reference build printed (item ids aside).
// The reference digests live in tests/data/cli-json-digests.txt and are made by
// scripts/pin-cli-digests.sh on the reference build.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

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
    const QList<QByteArray> lines = manifest.readAll().split('\n');
    for (const QByteArray &line : lines) {
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

// Every `"id":"<36 characters of a UUID>"` becomes `"id":"<id>"`, scanning
// left to right exactly as the manifest script's sed expression does.
QByteArray withoutIds(const QByteArray &json)
{
    static const QByteArray marker = QByteArrayLiteral("\"id\":\"");
    constexpr qsizetype uuidLength = 36;
    QByteArray out;
    out.reserve(json.size());
    qsizetype from = 0;
    for (qsizetype at = json.indexOf(marker); at >= 0; at = json.indexOf(marker, at + 1)) {
        const qsizetype start = at + marker.size();
        if (start + uuidLength >= json.size() || json[start + uuidLength] != '"') {
            continue;
        }
        bool uuid = true;
        for (qsizetype i = start; i < start + uuidLength && uuid; ++i) {
            const char c = json[i];
            uuid = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == '-';
        }
        if (!uuid) {
            continue;
        }
        out.append(json.constData() + from, start - from);
        out.append("<id>");
        from = start + uuidLength;
        at = from;
    }
    out.append(json.constData() + from, json.size() - from);
    return out;
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
