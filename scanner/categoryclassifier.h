#pragma once

#include "model/hardwarecategory.h"

#include <QStringView>

#include <cstdint>

// The single rule that files a parsed fact under a category. The line takes
// part, so a value containing a keyword moves its fact ("Serial Number: XRAM12"
// lands in Memory): that is the documented behaviour, not an accident.
[[nodiscard]] HardwareCategory categoryFor(QStringView section, QStringView line);

// The same rule, with the work that depends only on the section done once for
// all the facts of that section.
class SectionRules {
public:
    explicit SectionRules(QStringView section);

    // categoryFor(section, line) for this object's section.
    [[nodiscard]] HardwareCategory categoryFor(QStringView line) const;

private:
    // The first rule with a keyword inside the lower-cased section, or the
    // number of rules when none has.
    int m_firstRule = 0;
    // Keywords with a space can straddle the space between section and line:
    // bit i is set when the section ends with the part of keyword-split i
    // before that space.
    std::uint32_t m_straddling = 0;
};
