// The dmidecode that ships with Kestrin on Linux.
//
// `dmidecode --mac-hardware` prints a listing of this machine's devices, read
// from /proc and /sys, which every user may read. Any other argument list goes
// to the system's own dmidecode unchanged; when that is missing or cannot read
// the firmware tables (it needs root, and virtual machines often have none),
// a plain `-q` run gets the records that /sys/class/dmi/id shows every user
// instead, and a clear message when there is nothing at all.
//
// `--sysroot DIR`, given first, reads /proc, /sys and the system dmidecode
// under DIR: the tests' fixture machines.
#include "tool/devicelisting.h"
#include "tool/firmwarerecords.h"
#include "tool/iddatabase.h"
#include "tool/sysroot.h"
#include "tool/systemdmidecode.h"
#include "tool/text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

bool writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool hasVisibleText(std::string_view text)
{
    return !tooltext::trimAscii(text).empty();
}

std::string withNewline(std::string text)
{
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
    }
    return text;
}

// Only the plain listing has a stand-in; other requests (a type, a keyword,
// a dump) need the real tables.
bool asksForFullListing(const std::vector<std::string> &arguments)
{
    for (const std::string &argument : arguments) {
        if (argument != "-q" && argument != "--quiet") {
            return false;
        }
    }
    return true;
}

int macHardware(const SysRoot &root)
{
    IdDatabase ids(root);
    const std::string listing = deviceListing(root, ids);
    if (!writeAll(STDOUT_FILENO, listing)) {
        writeAll(STDERR_FILENO, "dmidecode: cannot write the listing\n");
        return exitFailure;
    }
    return 0;
}

int classic(const SysRoot &root, const std::vector<std::string> &arguments)
{
    std::optional<std::string> program;
    if (std::getenv(nestedRunVariable) == nullptr) {
        program = findSystemDmidecode(root);
    }
    ProgramRun run;
    if (program) {
        run = runProgram(*program, arguments);
        // The system tool's output is passed on as it is, except that bytes
        // which are not UTF-8 (firmware strings in a legacy code page) are
        // replaced: a reader expecting UTF-8 would otherwise lose all of it.
        if (run.started && hasVisibleText(run.standardOutput)) {
            const bool ok = writeAll(STDOUT_FILENO, tooltext::repairUtf8(run.standardOutput)) &&
                            writeAll(STDERR_FILENO, tooltext::repairUtf8(run.standardError));
            return ok ? run.status : exitFailure;
        }
    }
    if (!asksForFullListing(arguments)) {
        if (program && run.started) {
            writeAll(STDERR_FILENO, tooltext::repairUtf8(run.standardError));
            return run.status != 0 ? run.status : exitFailure;
        }
        writeAll(STDERR_FILENO, "dmidecode: the system's dmidecode is not installed, and without "
                                "it only -q and --mac-hardware are available\n");
        return exitFailure;
    }

    std::string complaint;
    if (program && run.started) {
        complaint = tooltext::repairUtf8(tooltext::trimAscii(run.standardError));
    } else if (program) {
        complaint = "cannot run " + *program + ": " + run.failure;
    }

    std::size_t unreadable = 0;
    const std::string records = firmwareRecords(root, &unreadable);
    if (!records.empty()) {
        // Said on standard error, so the records stay clean and the reason
        // still shows wherever the output is kept.
        std::string note = withNewline(complaint);
        note += program ? "The system's dmidecode could not read the firmware tables, so these "
                          "records come from /sys/class/dmi/id"
                        : "dmidecode is not installed, so these records come from "
                          "/sys/class/dmi/id";
        if (unreadable > 0) {
            note += ", without the " + std::to_string(unreadable) +
                    (unreadable == 1 ? " entry" : " entries") +
                    " that only root may read (such as serial numbers and the UUID)";
        }
        note += ".\n";
        const bool ok = writeAll(STDOUT_FILENO, records) && writeAll(STDERR_FILENO, note);
        return ok ? 0 : exitFailure;
    }

    if (complaint.empty()) {
        // What dmidecode itself says when it finds no tables.
        complaint = "# No SMBIOS nor DMI entry point found, sorry.";
    }
    std::string message = withNewline(complaint);
    message += "This machine exposes no firmware tables (SMBIOS/DMI) to this user, so no BIOS, "
               "system, board or chassis details can be shown.\n";
    writeAll(STDERR_FILENO, message);
    return program && run.started && run.status != 0 ? run.status : exitFailure;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string rootDirectory;
    if (!arguments.empty() && arguments.front() == "--sysroot") {
        if (arguments.size() < 2 || arguments[1].empty()) {
            writeAll(STDERR_FILENO, "dmidecode: --sysroot needs a directory\n");
            return exitUsage;
        }
        rootDirectory = arguments[1];
        arguments.erase(arguments.begin(), arguments.begin() + 2);
    }
    const SysRoot root(rootDirectory);
    if (arguments.size() == 1 && arguments.front() == "--mac-hardware") {
        return macHardware(root);
    }
    return classic(root, arguments);
}
