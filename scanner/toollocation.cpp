#include "scanner/toollocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

QString runningExecutableDir()
{
    // QCoreApplication knows the answer when it exists; helpers and tests may run
    // without one, and asking it then only produces a warning.
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    const QString target = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (target.isEmpty()) {
        return {};
    }
    return QFileInfo(target).absolutePath();
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
