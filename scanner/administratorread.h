#pragma once

#include <QString>

class ActiveProcessRegistry;

// Reading the firmware tables through pkexec and the root helper installed
// beside the bundled tool. The helper runs dmidecode -q and nothing else, so
// its output stands in for the classic run's.
enum class AdministratorReadOutcome {
    Read,      // output holds dmidecode -q's text
    Cancelled, // the user dismissed the password dialog: change nothing, say nothing
    Refused,   // not authorised, or pkexec or the helper is missing: warning says so
    Failed,    // the helper or dmidecode failed: warning holds its message
};

struct AdministratorRead {
    AdministratorReadOutcome outcome = AdministratorReadOutcome::Failed;
    QString output;
    QString warning;
};

// The whole run includes the password dialog, so it may wait for the user far
// longer than a tool run may take.
inline constexpr double administratorReadTimeout = 120.0;

// Runs `pkexec helper` with the stop sequence of any tool run, with the child
// in `registry` while it runs. Blocks.
[[nodiscard]] AdministratorRead readFirmwareTablesAsAdministrator(const QString &pkexec,
                                                                  const QString &helper,
                                                                  double timeout,
                                                                  ActiveProcessRegistry &registry);

[[nodiscard]] const QString &defaultPkexecPath();
