#pragma once

#include "tool/iddatabase.h"
#include "tool/listing.h"
#include "tool/sysroot.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devices {

// One PCI function as sysfs describes it, with the name the id database gives it.
struct PciFunction {
    std::string address;
    unsigned vendor = 0;
    unsigned device = 0;
    unsigned classCode = 0;
    std::optional<unsigned> subVendor;
    std::optional<unsigned> subDevice;
    std::optional<unsigned> revision;
    std::optional<std::string> driver;
    std::string name;
    // The PCIe link as it runs, and a plain remark when it is narrower than
    // both ends allow.
    std::optional<std::string> link;
    std::optional<std::string> linkNote;

    [[nodiscard]] unsigned baseClass() const { return classCode >> 16; }
    [[nodiscard]] unsigned subClass() const { return (classCode >> 8) & 0xFF; }
};

// Everything a section reads: the machine's /proc and /sys, the id databases,
// and the PCI functions in bus order. Those are read once for all sections,
// because most sections list the functions of their own device class.
struct Context {
    const SysRoot &root;
    IdDatabase &ids;
    const std::vector<PciFunction> &pci;
};

// One section of the device listing: a title, and the devices and properties
// listed under it. A section that finds nothing adds nothing, and then its
// title is not printed either (see Listing::section).
class Section {
public:
    Section() = default;
    Section(const Section &) = delete;
    Section &operator=(const Section &) = delete;
    virtual ~Section() = default;

    // Holds the word of the category the application files the section under.
    [[nodiscard]] virtual std::string_view title() const = 0;
    // Adds the section's devices to `out`, whose current section is this one.
    virtual void list(const Context &context, Listing &out) const = 0;
};

} // namespace devices
