#pragma once

#include "model/hardwarecategory.h"

#include <QStringView>

// The single rule that files a parsed fact under a category. The line takes
// part, so a value containing a keyword moves its fact ("Serial Number: XRAM12"
// lands in Memory): that is the documented behaviour, not an accident.
[[nodiscard]] HardwareCategory categoryFor(QStringView section, QStringView line);
