#pragma once

#include "tool/iddatabase.h"
#include "tool/listing.h"
#include "tool/sections/section.h"
#include "tool/sysroot.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What several sections of the device listing share: number and size
// formatting, finding the PCI function or USB device a device hangs under,
// naming PCI and USB devices, and the lines every PCI function is listed with.
namespace devices {

// "0x" and at least `digits` lower-case hex digits: hex(0x8086, 4) is "0x8086".
[[nodiscard]] std::string hex(unsigned long long value, int digits);
[[nodiscard]] std::string decimal(unsigned long long value);

// Binary units, for memory: "15.5 GiB".
[[nodiscard]] std::string binarySize(unsigned long long bytes);
// Decimal units, as drive makers label their drives: "1.02 TB".
[[nodiscard]] std::string decimalSize(unsigned long long bytes);
// `value` with `decimals` places and a unit: "57.0 Wh".
[[nodiscard]] std::string fixed(double value, int decimals, std::string_view unit);

// Only the digits 0 to 9, at least one.
[[nodiscard]] bool isDecimal(std::string_view text);

// The non-empty parts of a path between its slashes.
[[nodiscard]] std::vector<std::string_view> components(std::string_view path);
// The PCI function a device hangs under: the last PCI address in its path.
[[nodiscard]] std::optional<std::string> pciAncestor(std::string_view devicePath);
// The USB device a device hangs under ("1-2", "3-1.4"), not its interface.
[[nodiscard]] std::optional<std::string> usbAncestor(std::string_view devicePath);

// The section a PCI function is listed in, by its device class.
enum class PciHome { graphics, network, storage, audio, usb, other };
[[nodiscard]] PciHome homeOf(const PciFunction &function);

// Every PCI function the system shows, in bus order, named from the id database.
[[nodiscard]] std::vector<PciFunction> readPciFunctions(const SysRoot &root, IdDatabase &ids);
// The function at `address`; null if there is none.
[[nodiscard]] const PciFunction *findPciFunction(const std::vector<PciFunction> &functions,
                                                 std::string_view address);

// A PCI function as a device of its own: its "[pci: address] name" line and
// everything known about it.
void pciDevice(Listing &out, IdDatabase &ids, const PciFunction &function);
// The PCI numbers of a device shown under its own name (an interface, a card).
void pciIdentity(Listing &out, const PciFunction &function);
// "attached to: pci 0000:00:17.0" (or "usb 1-2") for a device hanging under one.
void parentProperty(Listing &out, std::string_view devicePath);

// The driver bound to the device behind a class entry ("/sys/class/net/eth0").
[[nodiscard]] std::optional<std::string> driverOf(const SysRoot &root, std::string_view classPath);
// The name of the USB device at `devicePath`: from the id database, else the
// device's own strings, else its numbers.
[[nodiscard]] std::string usbName(const SysRoot &root, IdDatabase &ids,
                                  const std::string &devicePath);

} // namespace devices
