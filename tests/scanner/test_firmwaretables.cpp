#include "scanner/firmwaretables.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Root is never refused, so as root the question is asked as nobody: the
// answer the window's user would get.
FirmwareTablesAccess accessAsUnprivilegedUser(const QString &path)
{
    const bool root = ::geteuid() == 0;
    if (root && ::seteuid(65534) != 0)
        return FirmwareTablesAccess::Unreadable; // fails the case, whichever it is
    const FirmwareTablesAccess access = firmwareTablesAccess(path);
    if (root && ::seteuid(0) != 0)
        std::abort(); // the rest of the run would test the wrong user
    return access;
}

// The mode of /sys/firmware/dmi/tables/DMI on a normal desktop is 0400, root's.
TEST(FirmwareTablesAccess, ReportsWhatTheUserMayDo)
{
    const struct {
        const char *relativePath;
        bool create;
        mode_t mode;
        FirmwareTablesAccess expected;
    } cases[] = {
        {"DMI", true, 0444, FirmwareTablesAccess::Readable},
        {"DMI", true, 0000, FirmwareTablesAccess::NotPermitted},
        {"DMI", false, 0, FirmwareTablesAccess::Missing},
        {"DMI/entry", true, 0444, FirmwareTablesAccess::Missing}, // the parent is a file
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.relativePath << " mode " << c.mode);
        QTemporaryDir dir;
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        const QString tables = dir.filePath(QStringLiteral("DMI"));
        if (c.create) {
            QFile file(tables);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("_SM3_", 5) == 5);
            ASSERT_EQ(::chmod(QFile::encodeName(tables).constData(), c.mode), 0);
        }
        EXPECT_EQ(accessAsUnprivilegedUser(dir.filePath(QString::fromLatin1(c.relativePath))),
                  c.expected);
    }
}

} // namespace
