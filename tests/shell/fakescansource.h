#pragma once

#include "scanner/scansource.h"

#include <QFuture>
#include <QPromise>

#include <memory>
#include <vector>

// A scan source the test finishes by hand: every scan() stays pending until
// finish() hands it a result.
class ManualScanSource : public ScanSource {
public:
    QFuture<HardwareScanResult> scan() override
    {
        auto promise = std::make_shared<QPromise<HardwareScanResult>>();
        promise->start();
        m_pending.push_back(promise);
        return promise->future();
    }

    [[nodiscard]] std::size_t pendingCount() const { return m_pending.size(); }

    // Finishes the oldest pending scan with `result`; false when none is pending.
    bool finish(const HardwareScanResult &result)
    {
        if (m_pending.empty())
            return false;
        auto promise = m_pending.front();
        m_pending.erase(m_pending.begin());
        promise->addResult(result);
        promise->finish();
        return true;
    }

    // Pending scans end empty so no future is left dangling.
    ~ManualScanSource() override
    {
        while (finish({})) {
        }
    }

private:
    std::vector<std::shared_ptr<QPromise<HardwareScanResult>>> m_pending;
};
