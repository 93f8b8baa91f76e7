#include "scanner/hardwarescanner.h"

#include "scanner/activeprocessregistry.h"
#include "scanner/classicparser.h"
#include "scanner/cleaner.h"
#include "scanner/macparser.h"
#include "scanner/processrunner.h"
#include "scanner/summarybuilder.h"

#include <algorithm>

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

QList<HardwareItem> HardwareScanner::parseClassicDMIDecode(QStringView output) const
{
    return ::parseClassicDMIDecode(output, m_usefulKeys);
}

QList<HardwareItem> HardwareScanner::parseMacHardware(QStringView output)
{
    return ::parseMacHardware(output);
}

QList<HardwareItem> HardwareScanner::cleanAndDeduplicate(const QList<HardwareItem> &items) const
{
    return ::cleanAndDeduplicate(items, m_badValues);
}

QList<HardwareItem> HardwareScanner::makeSummaryItems(const QList<HardwareItem> &items)
{
    return ::makeSummaryItems(items);
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

ActiveProcessRegistry &HardwareScanner::activeProcesses()
{
    // Never destroyed: a scan thread may still remove its process while the
    // program is shutting down.
    static ActiveProcessRegistry *const registry = new ActiveProcessRegistry;
    return *registry;
}

Expected<QString> runDMIDecode(const QString &toolURL, const QStringList &arguments, double timeout)
{
    return runDMIDecode(toolURL, arguments, timeout, HardwareScanner::activeProcesses());
}
