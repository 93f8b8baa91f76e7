#pragma once

#include "model/hardwarescanresult.h"

#include <QFuture>

// Something that can produce a scan result asynchronously. The browsing model
// depends on this, so tests can drive it with results on demand.
class ScanSource {
public:
    virtual ~ScanSource() = default;

    // Never fails: every problem arrives as a warning of the result. The future
    // finishes on a background thread; attach continuations with a context object
    // to get back to the caller's thread.
    [[nodiscard]] virtual QFuture<HardwareScanResult> scan() = 0;

    // From the next scan on, read the firmware tables as administrator (or
    // stop doing so). A source without such a reading ignores it.
    virtual void setReadAsAdministrator(bool on) { static_cast<void>(on); }

    // Stops the reading as administrator of the scan under way, if any: that
    // scan then reads the tables as any user would and says nothing about it.
    virtual void cancelAdministratorRead() {}
};
