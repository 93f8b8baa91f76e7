#pragma once

#include "model/hardwareitem.h"
#include "model/textservices.h"
#include "scanner/macparser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>

using namespace Qt::Literals::StringLiterals;

namespace tooltest {

struct ToolRun {
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;
};

inline ToolRun runTool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KESTRIN_TOOL_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(20000)) << "the tool did not finish";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

inline QString fixture(const char *name)
{
    return QStringLiteral(KESTRIN_TOOL_FIXTURES_DIR "/") + QString::fromUtf8(name);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// Creates the folders on the way; a fixture attribute may be a relative
// symbolic link: replaced, not followed.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// A writable copy of a fixture machine (symbolic links kept as links).
inline void copyTree(const QString &from, const QString &to)
{
    namespace fs = std::filesystem;
    fs::create_directories(std::filesystem::path(to.toStdString()).parent_path());
    fs::copy(from.toStdString(), to.toStdString(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

// Reads the listing by the shapes the tool writes (a section title at the left
// margin, device lines indented by two spaces, properties by four, "key: value"
// split at the first ": "), which the parser ignores, and checks that the
// application's parser makes exactly the section, device or property of every
// line out of it: nothing turned into a header, no split moved, nothing lost.
inline void expectRoundTrip(const QByteArray &bytes)
{
    bool valid = false;
    const QString text = Text::decodeUtf8Strict(bytes, &valid);
    ASSERT_TRUE(valid) << "the listing is not valid UTF-8";
    ASSERT_FALSE(text.isEmpty());
    const QList<HardwareItem> items = parseMacHardware(text);
    qsizetype next = 0;
    QString section;
    QString device;
    const QStringList lines = text.split(u'\n');
    for (const QString &line : lines) {
        if (line.isEmpty()) {
            continue;
        }
        SCOPED_TRACE(line.toStdString());
        const QString trimmed = line.trimmed();
        if (!line.startsWith(u' ')) {
            ASSERT_TRUE(line.endsWith(u':'));
            section = line.chopped(1);
            EXPECT_TRUE(
                QStringLiteral("Platform|CPU|Memory|Graphics|Displays|Network|Storage|Audio|USB|"
                               "Battery|PCI Devices|Firmware")
                    .split(u'|')
                    .contains(section));
            EXPECT_TRUE(isMacSectionHeader(trimmed));
            device.clear();
            continue;
        }
        EXPECT_FALSE(isMacSectionHeader(trimmed)) << "a content line reads as a section header";
        ASSERT_LT(next, items.size()) << "the parser made fewer items than there are lines";
        const HardwareItem &item = items[next++];
        EXPECT_EQ(item.detail, section);
        if (line.startsWith(u"  ["_s)) {
            EXPECT_EQ(item.title, u"Device"_s);
            EXPECT_EQ(item.value, trimmed);
            device = trimmed;
        } else {
            ASSERT_TRUE(line.startsWith(u"    "_s));
            const qsizetype split = trimmed.indexOf(u": "_s);
            ASSERT_GT(split, 0);
            EXPECT_EQ(item.title, Text::joined(device, trimmed.left(split)));
            EXPECT_EQ(item.value, trimmed.mid(split + 2));
        }
    }
    EXPECT_EQ(next, items.size()) << "the parser made more items than there are lines";
}

// A machine built file by file in a scratch folder, and the tool's listing of it.
class ScratchMachine : public testing::Test {
protected:
    void set(const QString &path, const QByteArray &bytes) { writeFile(m_root + path, bytes); }

    // Files of one folder, each written "name=content".
    void files(const QString &folder, std::initializer_list<QByteArray> entries)
    {
        for (const QByteArray &entry : entries) {
            const qsizetype split = entry.indexOf('=');
            set(folder + u'/' + QString::fromUtf8(entry.left(split)), entry.mid(split + 1));
        }
    }

    void link(const QString &target, const QString &path)
    {
        QDir().mkpath(QFileInfo(m_root + path).path());
        ASSERT_TRUE(QFile::link(target, m_root + path)) << path.toStdString();
    }

    // A relative link, as sysfs makes them, to a path inside the machine.
    void linkTo(const QString &target, const QString &path)
    {
        link(QDir(QFileInfo(m_root + path).path()).relativeFilePath(m_root + target), path);
    }

    void mkdir(const QString &path) { QDir().mkpath(m_root + path); }

    // The --mac-hardware listing, checked to succeed quietly and to read back
    // line by line.
    QByteArray runListing()
    {
        const ToolRun run = runTool({u"--sysroot"_s, m_root, u"--mac-hardware"_s});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.standardError.isEmpty()) << run.standardError.toStdString();
        expectRoundTrip(run.standardOutput);
        return run.standardOutput;
    }

    QTemporaryDir m_dir;
    QString m_root = m_dir.path() + u"/root"_s;
};

} // namespace tooltest
