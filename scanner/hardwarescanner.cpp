#include "scanner/hardwarescanner.h"

#include "scanner/activeprocessregistry.h"
#include "scanner/administratorread.h"
#include "scanner/classicparser.h"
#include "scanner/cleaner.h"
#include "scanner/firmwaretables.h"
#include "scanner/macparser.h"
#include "scanner/processrunner.h"
#include "scanner/toollocation.h"

#include <QPromise>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

HardwareScanner::HardwareScanner()
{
    const char16_t *const keys[] = {
        u"manufacturer",
        u"product name",
        u"version",
        u"serial number",
        u"uuid",
        u"sku number",
        u"family",
        u"vendor",
        u"bios vendor",
        u"bios version",
        u"release date",
        u"rom size",
        u"bios revision",
        u"board-id",
        u"model",
        u"target-type",
        u"platform uuid",
        u"platform serial",
        u"asset tag",
        u"socket designation",
        u"processor family",
        u"processor manufacturer",
        u"processor version",
        u"current speed",
        u"max speed",
        u"core count",
        u"thread count",
        u"core enabled",
        u"signature",
        u"flags",
        u"features",
        u"size",
        u"type",
        u"speed",
        u"configured memory speed",
        u"locator",
        u"bank locator",
        u"part number",
        u"rank",
        u"form factor",
        u"total width",
        u"data width",
        u"vendor-id",
        u"device-id",
        u"subsystem-vendor-id",
        u"subsystem-id",
        u"revision-id",
        u"class-code",
        u"compatible",
        u"built-in",
        u"slot",
        u"acpi path",
        u"ioservice path",
        u"name",
        u"mac address",
        u"up",
        u"running",
        u"product",
        u"revision",
    };
    for (const char16_t *key : keys) {
        m_usefulKeys.insert(QString::fromUtf16(key));
    }
    const char16_t *const bad[] = {
        u"not specified",
        u"not provided",
        u"unknown",
        u"none",
        u"default string",
        u"to be filled by o.e.m.",
        u"to be filled by oem",
        u"system product name",
        u"system manufacturer",
        u"system version",
        u"base board",
        u"chassis",
        u"o.e.m.",
        u"00000000-0000-0000-0000-000000000000",
        u"ffffffff-ffff-ffff-ffff-ffffffffffff",
        u"ffffffffffff",
    };
    for (const char16_t *value : bad) {
        m_badValues.append(QString::fromUtf16(value));
    }
}

const QString &HardwareScanner::macHardwareHeader()
{
    static const QString header = QStringLiteral("dmidecode --mac-hardware");
    return header;
}

const QString &HardwareScanner::classicHeader()
{
    static const QString header = QStringLiteral("dmidecode -q");
    return header;
}

ScanPart HardwareScanner::macHardwarePart(QString output)
{
    RunFacts facts = parseMacFacts(output);
    return ScanPart{macHardwareOrder, macHardwareHeader(), std::move(output), std::move(facts),
                    std::nullopt};
}

ScanPart HardwareScanner::classicPart(QString output) const
{
    RunFacts facts = parseClassicFacts(output, m_usefulKeys);
    return ScanPart{classicOrder, classicHeader(), std::move(output), std::move(facts),
                    std::nullopt};
}

HardwareScanResult HardwareScanner::assemble(QList<ScanPart> parts) const
{
    std::stable_sort(parts.begin(), parts.end(),
                     [](const ScanPart &a, const ScanPart &b) { return a.order < b.order; });
    HardwareScanResult result;
    std::vector<const RunFacts *> runs;
    for (const ScanPart &part : parts) {
        result.rawOutput.appendRun(part.header, part.output);
        runs.push_back(&part.facts);
        if (part.warning) {
            result.warnings.append(*part.warning);
        }
    }
    result.items = cleanFacts(runs, m_badValues, true);
    return result;
}

// The two runs of a scan: their order, header, arguments and parser.
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
                    : readFirmwareTablesAsAdministrator(
                          m_administratorReader->pkexec, m_administratorReader->helper,
                          m_administratorReader->timeout, activeProcesses());
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
            runDMIDecode(*tool, descriptor.arguments, timeout, activeProcesses());
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
    result.readAsAdministrator = readAsAdministrator;
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
        m_administratorCommand ? *m_administratorCommand
                               : AdministratorReader{defaultPkexecPath(), administratorHelperPath(),
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

ActiveProcessRegistry &HardwareScanner::activeProcesses()
{
    // Never destroyed: a scan thread may still remove its process while the
    // program is shutting down.
    static ActiveProcessRegistry *const registry = new ActiveProcessRegistry;
    return *registry;
}
