#include "scanner/administratorread.h"

#include "scanner/processrunner.h"

#include <QFileInfo>

namespace {

// pkexec's own statuses: the dialog was dismissed, or polkit said no.
constexpr std::int64_t pkexecDismissed = 126;
constexpr std::int64_t pkexecNotAuthorised = 127;

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

AdministratorRead refused(QString warning)
{
    return AdministratorRead{AdministratorReadOutcome::Refused, {}, std::move(warning)};
}

} // namespace

const QString &defaultPkexecPath()
{
    static const QString path = QStringLiteral("/usr/bin/pkexec");
    return path;
}

AdministratorRead readFirmwareTablesAsAdministrator(const QString &pkexec, const QString &helper,
                                                    double timeout, ActiveProcessRegistry &registry)
{
    if (!isExecutableFile(pkexec)) {
        return refused(QStringLiteral(
            "Could not read the firmware tables as administrator: pkexec is not installed."));
    }
    // pkexec would ask for the password first and only then find nothing to run.
    if (!isExecutableFile(helper)) {
        return refused(QStringLiteral("Could not read the firmware tables as administrator: "
                                      "the helper is not installed at ") +
                       helper + QStringLiteral("."));
    }
    const Expected<QString> output = runDMIDecode(pkexec, QStringList{helper}, timeout, registry);
    if (output) {
        return AdministratorRead{AdministratorReadOutcome::Read, *output, {}};
    }
    switch (output.error().code) {
    case pkexecDismissed:
        return AdministratorRead{AdministratorReadOutcome::Cancelled, {}, {}};
    case pkexecNotAuthorised:
        return refused(
            QStringLiteral("Could not read the firmware tables as administrator: not authorised."));
    default:
        return AdministratorRead{AdministratorReadOutcome::Failed,
                                 {},
                                 QStringLiteral("Could not read the firmware tables as "
                                                "administrator: ") +
                                     output.error().description.trimmed()};
    }
}
