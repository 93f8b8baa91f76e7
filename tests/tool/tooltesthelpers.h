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
#include <string>

using namespace Qt::Literals::StringLiterals;

namespace tooltest {

struct ToolRun {
    int exitCode = -1;
    QByteArray standardOutput, standardError;
};

inline ToolRun runTool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KESTRIN_TOOL_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(20000)) << "the tool did not finish";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

inline bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
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

// A fixture attribute may be a relative link: replaced, not followed.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

inline void copyTree(const QString &from, const QString &to)
{
    namespace fs = std::filesystem;
    fs::create_directories(fs::path(to.toStdString()).parent_path());
    fs::copy(from.toStdString(), to.toStdString(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

// Every line of the listing, by the shape the tool writes it in (section at the
// margin, device at two spaces, "key: value" at four), must come back from the
// application's parser as exactly that section, device or property.
inline void expectRoundTrip(const QByteArray &bytes)
{
    bool valid = false;
    const QString text = Text::decodeUtf8Strict(bytes, &valid);
    ASSERT_TRUE(valid && !text.isEmpty()) << "the listing is empty or not UTF-8";
    const QList<HardwareItem> items = parseMacHardware(text);
    qsizetype next = 0;
    QString section, device;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        SCOPED_TRACE(line.toStdString());
        const QString trimmed = line.trimmed();
        EXPECT_EQ(isMacSectionHeader(trimmed), !line.startsWith(u' '));
        if (!line.startsWith(u' ')) {
            section = line.chopped(1);
            continue;
        }
        ASSERT_LT(next, items.size()) << "the parser made fewer items than there are lines";
        const HardwareItem &item = items[next++];
        EXPECT_EQ(item.detail, section);
        if (line.startsWith(u"  ["_s)) {
            EXPECT_EQ(std::pair(item.title, item.value), std::pair(u"Device"_s, trimmed));
            device = trimmed;
        } else {
            const qsizetype split = trimmed.indexOf(u": "_s);
            ASSERT_TRUE(line.startsWith(u"    "_s) && split > 0);
            EXPECT_EQ(item.title, Text::joined(device, trimmed.left(split)));
            EXPECT_EQ(item.value, trimmed.mid(split + 2));
        }
    }
    EXPECT_EQ(next, items.size()) << "the parser made more items than there are lines";
}

// A --mac-hardware run of `root`, checked to succeed quietly and to read back
// line by line.
inline QByteArray checkedListing(const QString &root)
{
    const ToolRun run = runTool({u"--sysroot"_s, root, u"--mac-hardware"_s});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.standardError.isEmpty()) << run.standardError.toStdString();
    expectRoundTrip(run.standardOutput);
    return run.standardOutput;
}

// A machine with nothing but its processor, rebuilt by restart().
class ScratchMachine : public testing::Test {
protected:
    void SetUp() override { restart(); }
    void restart()
    {
        QDir(m_root).removeRecursively();
        set(u"/proc/cpuinfo"_s, "processor\t: 0\nvendor_id\t: AuthenticAMD\nmodel name\t: Test "
                                "CPU 8-Core\nphysical id\t: 0\ncore id\t: 0\n\n");
    }
    void set(const QString &path, const QByteArray &bytes) { writeFile(m_root + path, bytes); }

    // "name=content" entries under one folder.
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

    // Relative, as sysfs makes them.
    void linkTo(const QString &target, const QString &path)
    {
        link(QDir(QFileInfo(m_root + path).path()).relativeFilePath(m_root + target), path);
    }

    void mkdir(const QString &path) { QDir().mkpath(m_root + path); }

    QByteArray runListing() { return checkedListing(m_root); }
    std::string listing() { return runListing().toStdString(); }

    QTemporaryDir m_dir;
    QString m_root = m_dir.path() + u"/root"_s;
};

} // namespace tooltest
