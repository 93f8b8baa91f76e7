#pragma once

#include "tool/sysroot.h"

#include <optional>
#include <string>
#include <vector>

// The dmidecode the system installed, at its fixed places; never looked up
// through PATH, and never this very program (it may be installed under the
// same name). Nothing when there is none.
[[nodiscard]] std::optional<std::string> findSystemDmidecode(const SysRoot &root);

struct ProgramRun {
    bool started = false;
    // The exit status, or 128 + the signal that ended the program.
    int status = 0;
    std::string standardOutput;
    std::string standardError;
    // Why it could not be started, when it could not.
    std::string failure;
};

// Runs `program` with `arguments` and collects both outputs. The child is
// killed if this process dies first, so a stopped scan leaves nothing behind.
[[nodiscard]] ProgramRun runProgram(const std::string &program,
                                    const std::vector<std::string> &arguments);

// Set in the environment of the system dmidecode: if that turns out to lead back
// here (a wrapper script, a symbolic link under another name), the nested run
// does not start it again.
inline constexpr const char *nestedRunVariable = "KESTRIN_DMIDECODE_NESTED";
