#include "scanner/toollocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

QString runningExecutableDir()
{
    // Asked first because it works without a QCoreApplication and from any
    // thread (scans run off the main thread; Qt's own answer is cached without
    // a lock).
    std::array<char, 4096> buffer{};
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length > 0) {
        return QFileInfo(QFile::decodeName(QByteArray(buffer.data(), length))).absolutePath();
    }
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    return {};
}

Expected<QString> bundledToolURL(const QString &executableDir)
{
    if (!executableDir.isEmpty()) {
        const QString path = QDir::cleanPath(executableDir + QLatin1Char('/') +
                                             QString::fromUtf16(bundledToolRelativePath));
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return ScanError::make(1, QStringLiteral("Bundled dmidecode tool was not found."));
}

Expected<QString> bundledToolURL()
{
    return bundledToolURL(runningExecutableDir());
}

QString administratorHelperPath(const QString &executableDir)
{
    const QString path =
        executableDir + QStringLiteral("/../libexec/kestrin/kestrin-read-firmware");
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QString administratorHelperPath()
{
    return administratorHelperPath(runningExecutableDir());
}

void ensureToolExecutable(const QString &path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    if (::access(nativePath.constData(), X_OK) == 0) {
        return;
    }
    char chmodPath[] = "/bin/chmod";
    char plusX[] = "+x";
    char *const argv[] = {chmodPath, plusX, const_cast<char *>(nativePath.constData()), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, chmodPath, nullptr, nullptr, argv, environ) != 0) {
        return;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}
