// Placeholder until the process runner lands: a scan reports the missing tool.
#include "scanner/hardwarescanner.h"

#include <QPromise>

HardwareScanResult HardwareScanner::performScan() const
{
    HardwareScanResult result;
    result.warnings.append(QStringLiteral(
        "Bundled dmidecode tool is not available: Bundled dmidecode tool was not found."));
    return result;
}

QFuture<HardwareScanResult> HardwareScanner::scan()
{
    QPromise<HardwareScanResult> promise;
    promise.start();
    promise.addResult(performScan());
    promise.finish();
    return promise.future();
}
