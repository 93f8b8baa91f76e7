#pragma once

#include "scanner/scanerror.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class ActiveProcessRegistry;

// Error code of a run that was stopped because it exceeded its time limit.
inline constexpr std::int64_t runTimeoutErrorCode = 124;

// Runs the tool at `toolURL` with exactly `arguments`, draining its standard
// output and standard error, and waits at most `timeout` seconds for it to end
// (then SIGTERM, 2 s later SIGKILL). The child inherits standard input,
// environment and working directory. Returns standard output, followed by a
// line feed and standard error when the latter is not empty; fails on launch
// errors, on time-out (code 124) and on a non-zero status with blank standard
// output (code = status). Output that is not valid UTF-8 counts as empty text.
// Blocks the calling thread; safe to call from several threads at once. The
// child is in `registry` while it runs, so a quit can end it.
[[nodiscard]] Expected<QString> runDMIDecode(const QString &toolURL, const QStringList &arguments,
                                             double timeout, ActiveProcessRegistry &registry);
