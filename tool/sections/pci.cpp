#include "tool/sections/pci.h"

#include "tool/sections/sectionhelpers.h"

namespace devices {

void PciSection::list(const Context &context, Listing &out) const
{
    for (const PciFunction &function : context.pci) {
        if (homeOf(function) == PciHome::other) {
            pciDevice(out, context.ids, function);
        }
    }
}

} // namespace devices
