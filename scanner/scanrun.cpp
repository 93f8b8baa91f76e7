// Running the tool for a scan: locating it, the two concurrent runs, and the
// asynchronous entry point.
#include "scanner/activeprocessregistry.h"
#include "scanner/administratorread.h"
#include "scanner/firmwaretables.h"
#include "scanner/hardwarescanner.h"
#include "scanner/processrunner.h"
#include "scanner/toollocation.h"

#include <QPromise>

#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct RunDescriptor {
    std::int64_t order;
    QString header;
    QStringList arguments;
    std::function<ScanPart(const HardwareScanner &, QString)> parse;
};

std::vector<RunDescriptor> runDescriptors()
{
    return {
        {HardwareScanner::macHardwareOrder,
         HardwareScanner::macHardwareHeader(),
         {QStringLiteral("--mac-hardware")},
         [](const HardwareScanner &, QString text) {
             return HardwareScanner::macHardwarePart(std::move(text));
         }},
        {HardwareScanner::classicOrder,
         HardwareScanner::classicHeader(),
         {QStringLiteral("-q")},
         [](const HardwareScanner &scanner, QString text) {
             return scanner.classicPart(std::move(text));
         }},
    };
}

} // namespace

HardwareScanResult HardwareScanner::performScan() const
{
    const Expected<QString> tool =
        m_toolOverride ? Expected<QString>(*m_toolOverride) : bundledToolURL();
    if (!tool) {
        HardwareScanResult result;
        result.warnings.append(QStringLiteral("Bundled dmidecode tool is not available: ") +
                               tool.error().description);
        return result;
    }
    ensureToolExecutable(*tool);

    std::mutex partsMutex;
    QList<ScanPart> parts;
    const double timeout = m_runTimeout;
    std::optional<QString> administratorWarning;
    bool readAsAdministrator = false;
    bool administratorReadDismissed = false;
    auto run = [&](const RunDescriptor &descriptor) {
        ScanPart part{descriptor.order, descriptor.header, {}, {}, std::nullopt};
        if (descriptor.order == classicOrder && m_administratorReader) {
            const AdministratorRead read =
                m_administratorReadCancelled->load()
                    ? AdministratorRead{AdministratorReadOutcome::Cancelled, {}, {}}
                    : readFirmwareTablesAsAdministrator(m_administratorReader->pkexec,
                                                        m_administratorReader->helper,
                                                        m_administratorReader->timeout);
            if (read.outcome == AdministratorReadOutcome::Read) {
                part = descriptor.parse(*this, read.output);
                // The header line stays the one every scan frames this run with.
                part.output = QStringLiteral("(read as administrator)\n") + part.output;
                std::lock_guard lock(partsMutex);
                parts.append(std::move(part));
                readAsAdministrator = true;
                return;
            }
            std::lock_guard lock(partsMutex);
            // A run stopped on request failed only because it was asked to.
            if (read.outcome == AdministratorReadOutcome::Cancelled ||
                m_administratorReadCancelled->load()) {
                administratorReadDismissed = true;
            } else {
                administratorWarning = read.warning;
            }
        }
        const Expected<QString> output =
            runDMIDecode(*tool, descriptor.arguments, timeout, HardwareScanner::activeProcesses());
        if (output) {
            part = descriptor.parse(*this, *output);
        } else {
            part.warning = QStringLiteral("Could not run ") + descriptor.header +
                           QStringLiteral(": ") + output.error().description;
        }
        std::lock_guard lock(partsMutex);
        parts.append(std::move(part));
    };

    const std::vector<RunDescriptor> descriptors = runDescriptors();
    std::vector<std::thread> workers;
    for (const RunDescriptor &descriptor : descriptors) {
        try {
            workers.emplace_back(run, std::cref(descriptor));
        } catch (const std::system_error &) {
            // No thread to spare: run it here; the result is the same, only later.
            run(descriptor);
        }
    }
    for (std::thread &worker : workers) {
        worker.join();
    }
    HardwareScanResult result = assemble(std::move(parts));
    result.administratorReadDismissed = administratorReadDismissed;
    if (administratorWarning) {
        result.warnings.append(*administratorWarning);
    }
    // Root is never refused, and running as root is where elevating is moot.
    if (!readAsAdministrator && ::geteuid() != 0 &&
        firmwareTablesAccess(m_firmwareTablesPath) == FirmwareTablesAccess::NotPermitted) {
        result.canReadAsAdministrator = true;
        result.warnings.append(firmwareTablesNotPermittedWarning());
    }
    return result;
}

void HardwareScanner::setReadAsAdministrator(bool on)
{
    if (!on) {
        m_administratorReader.reset();
        return;
    }
    m_administratorReader =
        m_administratorCommand
            ? *m_administratorCommand
            : AdministratorReader{defaultPkexecPath(),
                                  runningExecutableDir() + QStringLiteral("/../libexec/kestrin/"
                                                                          "kestrin-read-firmware"),
                                  administratorReadTimeout};
}

void HardwareScanner::cancelAdministratorRead()
{
    m_administratorReadCancelled->store(true);
    if (m_administratorReader) {
        (void)activeProcesses().stop(m_administratorReader->pkexec);
    }
}

QFuture<HardwareScanResult> HardwareScanner::scan()
{
    auto promise = std::make_shared<QPromise<HardwareScanResult>>();
    QFuture<HardwareScanResult> future = promise->future();
    promise->start();
    m_administratorReadCancelled = std::make_shared<std::atomic<bool>>(false);
    // The scan blocks for up to half a minute, so it gets its own thread rather
    // than one of the few of the shared pool. It works on a copy of the scanner,
    // which may be gone before the scan ends.
    try {
        std::thread([scanner = *this, promise] {
            promise->addResult(scanner.performScan());
            promise->finish();
        }).detach();
    } catch (const std::system_error &error) {
        HardwareScanResult result;
        result.warnings.append(QStringLiteral("Could not start the scan: ") +
                               QString::fromStdString(error.code().message()));
        promise->addResult(std::move(result));
        promise->finish();
    }
    return future;
}
