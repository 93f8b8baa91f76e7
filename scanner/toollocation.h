#pragma once

#include "scanner/scanerror.h"

#include <QString>

// Where the installed application keeps its tool, relative to the folder of
// the running program (<prefix>/bin). The build tree mirrors that layout.
inline constexpr char16_t bundledToolRelativePath[] = u"../libexec/kestrin/dmidecode";

// The tool that ships with the application, looked up next to the running
// executable (never through PATH), or error 1 when it is not there.
[[nodiscard]] Expected<QString> bundledToolURL();

// The same lookup for a program living in `executableDir`.
[[nodiscard]] Expected<QString> bundledToolURL(const QString &executableDir);

// The helper that reads the firmware tables as root, beside the tool. pkexec
// picks the polkit action by the exact path it is given, which the install
// writes without "..": so this is the helper's canonical path, or the plain
// one when it is missing (and pkexec's error names what was looked for).
[[nodiscard]] QString administratorHelperPath(const QString &executableDir);
[[nodiscard]] QString administratorHelperPath();

// Folder of the running executable; empty when it cannot be determined.
[[nodiscard]] QString runningExecutableDir();

// Gives the tool execute permission when the current user lacks it, by running
// /bin/chmod +x. Never fails: if the fix does not work, launching reports it.
void ensureToolExecutable(const QString &path);
