#include "tool/iddatabase.h"

#include "tool/text.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <libudev.h>

extern "C" {
#include <pci/pci.h>
}

namespace {

// libpci reports a damaged pci.ids (or no memory) through an error callback
// that must not return. Jumping back to the lookup that was running lets the
// listing go on with numbers instead of dying over a bad database. Only C frames
// of libpci lie between the jump and its target.
std::jmp_buf *pciEscape = nullptr;

// libpci declares the callback's pointer type noreturn; clang checks that the
// function assigned to it is of that type, which the standard attribute is not.
__attribute__((noreturn)) void pciFatal(char * /*message*/, ...)
{
    if (pciEscape != nullptr) {
        std::longjmp(*pciEscape, 1);
    }
    std::_Exit(70);
}

void pciQuiet(char * /*message*/, ...) {}

constexpr std::array<const char *, 3> pciIdsFiles = {
    "/usr/share/misc/pci.ids",
    "/usr/share/hwdata/pci.ids",
    "/usr/share/pci.ids",
};

constexpr std::array<const char *, 4> usbIdsFiles = {
    "/usr/share/misc/usb.ids",
    "/usr/share/hwdata/usb.ids",
    "/var/lib/usbutils/usb.ids",
    "/usr/share/usb.ids",
};

constexpr std::array<const char *, 2> pnpIdsFiles = {
    "/usr/share/hwdata/pnp.ids",
    "/usr/share/misc/pnp.ids",
};

// The first of `files` that can be read, whole up to `maxBytes`.
template <std::size_t N>
std::optional<std::string> readFirst(const SysRoot &root, const std::array<const char *, N> &files,
                                     std::size_t maxBytes)
{
    for (const char *candidate : files) {
        if (auto text = root.readAll(candidate, maxBytes)) {
            return text;
        }
    }
    return std::nullopt;
}

std::optional<std::string> nonEmpty(const char *text)
{
    if (text == nullptr) {
        return std::nullopt;
    }
    std::string value = tooltext::cleanValue(text);
    if (value.empty()) {
        return std::nullopt;
    }
    return value;
}

unsigned hexValue(std::string_view text, bool &ok)
{
    unsigned value = 0;
    ok = !text.empty();
    for (char c : text) {
        value <<= 4;
        if (c >= '0' && c <= '9') {
            value |= static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            value |= static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            value |= static_cast<unsigned>(c - 'A' + 10);
        } else {
            ok = false;
        }
    }
    return value;
}

} // namespace

IdDatabase::IdDatabase(const SysRoot &root) : m_root(root) {}

IdDatabase::~IdDatabase()
{
    if (m_pci != nullptr) {
        pci_cleanup(m_pci);
    }
    if (m_hwdb != nullptr) {
        udev_hwdb_unref(m_hwdb);
    }
    if (m_udev != nullptr) {
        udev_unref(m_udev);
    }
}

pci_access *IdDatabase::pci()
{
    if (m_pciBroken) {
        return nullptr;
    }
    if (m_pciTried) {
        return m_pci;
    }
    m_pciTried = true;
    for (const char *candidate : pciIdsFiles) {
        // libpci also reads a compressed copy next to the plain one.
        const std::string path = m_root.hostPath(candidate);
        if (!m_root.exists(candidate) && !m_root.exists(std::string(candidate) + ".gz")) {
            continue;
        }
        m_pci = pci_alloc();
        if (m_pci == nullptr) {
            return nullptr;
        }
        m_pci->error = pciFatal;
        m_pci->warning = pciQuiet;
        m_pci->debug = pciQuiet;
        // pci.ids only: never the network, and not udev's database either, whose
        // PCI names come from pci.ids anyway and whose lookup, when the database
        // is absent, retries (and leaks) on every name.
        m_pci->id_lookup_mode = PCI_LOOKUP_NO_HWDB;
        char *owned = static_cast<char *>(std::malloc(path.size() + 1));
        if (owned == nullptr) {
            return m_pci;
        }
        std::copy(path.c_str(), path.c_str() + path.size() + 1, owned);
        pci_set_name_list_path(m_pci, owned, 1);
        return m_pci;
    }
    return nullptr;
}

std::optional<std::string> IdDatabase::pciLookup(pci_access *access, int flags, unsigned first,
                                                 unsigned second, unsigned third, unsigned fourth)
{
    char buffer[256];
    std::jmp_buf escape;
    pciEscape = &escape;
    if (setjmp(escape) != 0) {
        pciEscape = nullptr;
        m_pciBroken = true;
        return std::nullopt;
    }
    const char *name = pci_lookup_name(access, buffer, sizeof buffer, flags | PCI_LOOKUP_NO_NUMBERS,
                                       first, second, third, fourth);
    pciEscape = nullptr;
    return nonEmpty(name);
}

std::optional<std::string> IdDatabase::pciVendor(unsigned vendor)
{
    pci_access *access = pci();
    if (access == nullptr) {
        return std::nullopt;
    }
    return pciLookup(access, PCI_LOOKUP_VENDOR, vendor, 0, 0, 0);
}

std::optional<std::string> IdDatabase::pciDevice(unsigned vendor, unsigned device)
{
    pci_access *access = pci();
    if (access == nullptr) {
        return std::nullopt;
    }
    return pciLookup(access, PCI_LOOKUP_DEVICE, vendor, device, 0, 0);
}

std::optional<std::string> IdDatabase::pciSubsystem(unsigned vendor, unsigned device,
                                                    unsigned subVendor, unsigned subDevice)
{
    pci_access *access = pci();
    if (access == nullptr) {
        return std::nullopt;
    }
    return pciLookup(access, PCI_LOOKUP_SUBSYSTEM | PCI_LOOKUP_DEVICE, vendor, device, subVendor,
                     subDevice);
}

std::optional<std::string> IdDatabase::pciClass(unsigned classAndSubclass)
{
    pci_access *access = pci();
    if (access == nullptr) {
        return std::nullopt;
    }
    return pciLookup(access, PCI_LOOKUP_CLASS, classAndSubclass, 0, 0, 0);
}

std::optional<std::string> IdDatabase::usbVendor(unsigned vendor)
{
    return usbLookup(vendor, 0x10000).vendor;
}

std::optional<std::string> IdDatabase::usbProduct(unsigned vendor, unsigned product)
{
    return usbLookup(vendor, product).product;
}

IdDatabase::UsbNames IdDatabase::usbLookup(unsigned vendor, unsigned product)
{
    if (m_root.isRealRoot()) {
        if (!m_hwdbTried) {
            m_hwdbTried = true;
            m_udev = udev_new();
            if (m_udev != nullptr) {
                m_hwdb = udev_hwdb_new(m_udev);
            }
        }
        if (m_hwdb != nullptr) {
            char modalias[64];
            if (product <= 0xFFFF) {
                std::snprintf(modalias, sizeof modalias, "usb:v%04Xp%04X", vendor, product);
            } else {
                std::snprintf(modalias, sizeof modalias, "usb:v%04X", vendor);
            }
            UsbNames names;
            udev_list_entry *entry = nullptr;
            udev_list_entry_foreach(entry, udev_hwdb_get_properties_list_entry(m_hwdb, modalias, 0))
            {
                const std::string_view name = udev_list_entry_get_name(entry);
                if (name == "ID_VENDOR_FROM_DATABASE") {
                    names.vendor = nonEmpty(udev_list_entry_get_value(entry));
                } else if (name == "ID_MODEL_FROM_DATABASE") {
                    names.product = nonEmpty(udev_list_entry_get_value(entry));
                }
            }
            if (names.vendor || names.product) {
                return names;
            }
        }
    }
    return usbIdsLookup(vendor, product);
}

IdDatabase::UsbNames IdDatabase::usbIdsLookup(unsigned vendor, unsigned product)
{
    if (!m_usbIdsTried) {
        m_usbIdsTried = true;
        m_usbIdsText = readFirst(m_root, usbIdsFiles, 8 << 20);
    }
    UsbNames names;
    if (!m_usbIdsText) {
        return names;
    }
    // usb.ids: "vvvv  Vendor name" at the start of a line, then its products as
    // "\tpppp  Product name"; other lists (classes, languages...) start with a
    // keyword and come after the vendors.
    const std::string_view text = *m_usbIdsText;
    bool inVendor = false;
    tooltext::LineReader lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.size() > 2 && line[0] == 'C' && line[1] == ' ') {
            break; // the device classes follow the vendors
        }
        const bool indented = line[0] == '\t';
        const std::string_view body = indented ? line.substr(1) : line;
        if (body.size() < 6 || body[4] != ' ' || body[5] != ' ' || (indented && body[0] == '\t')) {
            if (!indented) {
                inVendor = false;
            }
            continue;
        }
        bool ok = false;
        const unsigned id = hexValue(body.substr(0, 4), ok);
        if (!ok) {
            if (!indented) {
                inVendor = false;
            }
            continue;
        }
        if (!indented) {
            if (inVendor) {
                break; // past the vendor, so its product list is over
            }
            inVendor = id == vendor;
            if (inVendor) {
                names.vendor = nonEmpty(std::string(body.substr(6)).c_str());
                if (product > 0xFFFF) {
                    break;
                }
            }
        } else if (inVendor && id == product) {
            names.product = nonEmpty(std::string(body.substr(6)).c_str());
            break;
        }
    }
    return names;
}

std::optional<std::string> IdDatabase::pnpName(std::string_view code)
{
    if (!m_pnpIdsTried) {
        m_pnpIdsTried = true;
        m_pnpIdsText = readFirst(m_root, pnpIdsFiles, 1 << 20);
    }
    if (!m_pnpIdsText || code.size() != 3) {
        return std::nullopt;
    }
    // pnp.ids: "DEL<tab>Dell Inc." per line.
    tooltext::LineReader lines(*m_pnpIdsText);
    std::string_view line;
    while (lines.next(line)) {
        if (line.size() > 4 && line.substr(0, 3) == code && line[3] == '\t') {
            return nonEmpty(std::string(line.substr(4)).c_str());
        }
    }
    return std::nullopt;
}
