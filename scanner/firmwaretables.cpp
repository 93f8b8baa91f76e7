#include "scanner/firmwaretables.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

FirmwareTablesAccess firmwareTablesAccess(const QString &path)
{
    const QByteArray native = path.toLocal8Bit();
    // Opening, not access(2): the answer must be the one the effective user
    // gets, and an existing file with a refused open is the case to report.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        return FirmwareTablesAccess::Readable;
    }
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        return FirmwareTablesAccess::Missing;
    case EACCES:
    case EPERM:
        return FirmwareTablesAccess::NotPermitted;
    default:
        return FirmwareTablesAccess::Unreadable;
    }
}

const QString &defaultFirmwareTablesPath()
{
    static const QString path = QStringLiteral("/sys/firmware/dmi/tables/DMI");
    return path;
}

const QString &firmwareTablesNotPermittedWarning()
{
    static const QString text = QStringLiteral(
        "Only an administrator may read this computer's firmware tables, so memory devices, "
        "serial numbers and slots are missing: choose Read as Administrator to add them.");
    return text;
}
