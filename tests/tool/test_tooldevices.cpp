// Device classes read from small machines built per test: each checks what a
// user reads, and that one odd file costs only its own line.
#include "tests/tool/tooltesthelpers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class SmallMachine : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        set(QStringLiteral("/proc/cpuinfo"),
            "processor\t: 0\nvendor_id\t: AuthenticAMD\nmodel name\t: Test CPU 8-Core\n"
            "physical id\t: 0\ncore id\t: 0\n\n");
    }

    void set(const QString &path, const QByteArray &bytes)
    {
        tooltest::writeFile(m_root + path, bytes);
    }

    void link(const QString &target, const QString &path)
    {
        QDir().mkpath(QFileInfo(m_root + path).path());
        ASSERT_TRUE(QFile::link(target, m_root + path)) << path.toStdString();
    }

    void mkdir(const QString &path) { QDir().mkpath(m_root + path); }

    std::string listing()
    {
        const tooltest::ToolRun run = tooltest::runTool(
            {QStringLiteral("--sysroot"), m_root, QStringLiteral("--mac-hardware")});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.standardError.isEmpty()) << run.standardError.toStdString();
        tooltest::expectRoundTrip(run.standardOutput);
        return run.standardOutput.toStdString();
    }

    QTemporaryDir m_dir;
    QString m_root = m_dir.path() + QStringLiteral("/root");
};

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(SmallMachine, CpuShowsPolicyAndEveryVulnerabilityVerdict)
{
    const QString cpu = QStringLiteral("/sys/devices/system/cpu");
    set(cpu + QStringLiteral("/cpu0/cpufreq/scaling_driver"), "amd-pstate-epp\n");
    set(cpu + QStringLiteral("/cpu0/cpufreq/scaling_governor"), "powersave\n");
    set(cpu + QStringLiteral("/smt/control"), "on\n");
    const QString v = cpu + QStringLiteral("/vulnerabilities/");
    set(v + QStringLiteral("spectre_v2"),
        "Mitigation: Retpolines; IBPB: conditional; STIBP: always-on\n");
    set(v + QStringLiteral("meltdown"), "Not affected\n");
    set(v + QStringLiteral("spec_store_bypass"),
        "Mitigation: Speculative Store Bypass disabled via prctl\n");
    set(v + QStringLiteral("empty"), "");
    set(v + QStringLiteral("unknown"), "-1\n");
    set(v + QStringLiteral("two_lines"), "a\nb\n");
    set(v + QStringLiteral("huge"), QByteArray(100000, 'x'));
    mkdir(v + QStringLiteral("folder"));
    link(QStringLiteral("nowhere"), v + QStringLiteral("dangling"));
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    frequency driver: amd-pstate-epp\n    governor: powersave\n"
                               "    smt: on\n    meltdown: Not affected\n"
                               "    spec store bypass: Mitigation: Speculative Store Bypass "
                               "disabled via prctl\n"
                               "    spectre v2: Mitigation: Retpolines; IBPB: conditional; "
                               "STIBP: always-on\n"))
        << text;
    for (const char *odd : {"empty", "unknown", "two lines", "huge", "folder", "dangling"}) {
        EXPECT_FALSE(contains(text, std::string("    ") + odd + ":")) << odd;
    }
}

TEST_F(SmallMachine, CpuWithoutPolicyFilesListsNoPolicy)
{
    set(QStringLiteral("/sys/devices/system/cpu/smt/control"), "");
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "[cpu: package 0] Test CPU 8-Core")) << text;
    EXPECT_FALSE(contains(text, "governor"));
    EXPECT_FALSE(contains(text, "smt:"));
}

} // namespace
