#include "tool/devicelisting.h"

#include "tool/listing.h"
#include "tool/sections/audio.h"
#include "tool/sections/bluetooth.h"
#include "tool/sections/cameras.h"
#include "tool/sections/cpu.h"
#include "tool/sections/displays.h"
#include "tool/sections/firmware.h"
#include "tool/sections/graphics.h"
#include "tool/sections/input.h"
#include "tool/sections/memory.h"
#include "tool/sections/network.h"
#include "tool/sections/pci.h"
#include "tool/sections/platform.h"
#include "tool/sections/power.h"
#include "tool/sections/sectionhelpers.h"
#include "tool/sections/storage.h"
#include "tool/sections/usb.h"

#include <vector>

const std::vector<const devices::Section *> &deviceSections()
{
    static const devices::PlatformSection platform;
    static const devices::CpuSection cpu;
    static const devices::MemorySection memory;
    static const devices::GraphicsSection graphics;
    static const devices::DisplaysSection displays;
    static const devices::NetworkSection network;
    static const devices::BluetoothSection bluetooth;
    static const devices::StorageSection storage;
    static const devices::AudioSection audio;
    static const devices::UsbSection usb;
    static const devices::InputSection input;
    static const devices::CamerasSection cameras;
    static const devices::PowerSection power;
    // After every section that lists PCI functions of its own class.
    static const devices::PciSection pci;
    static const devices::FirmwareSection firmware;
    static const std::vector<const devices::Section *> sections = {
        &platform, &cpu, &memory, &graphics, &displays, &network, &bluetooth, &storage,
        &audio,    &usb, &input,  &cameras,  &power,    &pci,     &firmware,
    };
    return sections;
}

std::string deviceListing(const SysRoot &root, IdDatabase &ids)
{
    const std::vector<devices::PciFunction> pci = devices::readPciFunctions(root, ids);
    const devices::Context context{root, ids, pci};
    Listing out;
    for (const devices::Section *section : deviceSections()) {
        out.section(section->title());
        section->list(context, out);
    }
    return out.text();
}
