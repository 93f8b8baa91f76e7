#pragma once

#include "tool/sysroot.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct pci_access;
struct udev;
struct udev_hwdb;

// Names for numeric PCI and USB ids, from the hardware databases the system has
// installed: pci.ids through libpci, USB names from udev's hardware database or
// a usb.ids file. Every lookup may find nothing (no database, unknown id); the
// caller then shows the numbers. Databases are opened on first use only.
//
// Under a fixture root the databases are read from inside that root and udev's
// database (which cannot be pointed elsewhere) is not used, so results do not
// depend on what the machine running the tests has installed.
class IdDatabase {
public:
    explicit IdDatabase(const SysRoot &root);
    ~IdDatabase();
    IdDatabase(const IdDatabase &) = delete;
    IdDatabase &operator=(const IdDatabase &) = delete;

    [[nodiscard]] std::optional<std::string> pciVendor(unsigned vendor);
    [[nodiscard]] std::optional<std::string> pciDevice(unsigned vendor, unsigned device);
    [[nodiscard]] std::optional<std::string> pciSubsystem(unsigned vendor, unsigned device,
                                                          unsigned subVendor, unsigned subDevice);
    // Class and subclass: the upper 16 bits of the 24-bit class code.
    [[nodiscard]] std::optional<std::string> pciClass(unsigned classAndSubclass);

    [[nodiscard]] std::optional<std::string> usbVendor(unsigned vendor);
    [[nodiscard]] std::optional<std::string> usbProduct(unsigned vendor, unsigned product);

    // The maker behind a monitor's three-letter PNP id, from hwdata's pnp.ids.
    [[nodiscard]] std::optional<std::string> pnpName(std::string_view code);

private:
    struct UsbNames {
        std::optional<std::string> vendor;
        std::optional<std::string> product;
    };
    [[nodiscard]] pci_access *pci();
    [[nodiscard]] std::optional<std::string> pciLookup(pci_access *access, int flags,
                                                       unsigned first, unsigned second,
                                                       unsigned third, unsigned fourth);
    [[nodiscard]] UsbNames usbLookup(unsigned vendor, unsigned product);
    [[nodiscard]] UsbNames usbIdsLookup(unsigned vendor, unsigned product);

    const SysRoot &m_root;
    pci_access *m_pci = nullptr;
    bool m_pciTried = false;
    // The database was damaged: libpci gave up on it, so do not ask again.
    bool m_pciBroken = false;
    udev *m_udev = nullptr;
    udev_hwdb *m_hwdb = nullptr;
    bool m_hwdbTried = false;
    std::optional<std::string> m_usbIdsText;
    bool m_usbIdsTried = false;
    std::optional<std::string> m_pnpIdsText;
    bool m_pnpIdsTried = false;
};
