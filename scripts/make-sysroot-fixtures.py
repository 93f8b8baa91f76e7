#!/usr/bin/env python3
"""Writes the fixture machines tests/data/sysroot-laptop, sysroot-server and sysroot-desktop.

Usage: scripts/make-sysroot-fixtures.py

Each is the small part of a machine's /proc and /sys that the bundled dmidecode
reads, shaped as the kernel lays it out (relative symbolic links included),
plus the slices of pci.ids and usb.ids that name its devices, cut from the
databases installed on the machine that runs this script. Run it again only to
change a fixture; the expected listings beside the trees then need review.
"""
import os
import shutil
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "tests", "data")
FIXTURES = os.environ.get("KESTRIN_FIXTURES_DIR", os.path.join(os.path.dirname(ROOT), "shared", "fixtures"))


def blob(kind, name):
    # A monitor's EDID or a module's SPD, copied from the shared fixtures.
    with open(os.path.join(FIXTURES, kind, name), "rb") as f:
        return f.read()


class Tree:
    def __init__(self, name):
        self.root = os.path.join(DATA, name)
        # Everything but the reviewed expected outputs is written anew.
        os.makedirs(self.root, exist_ok=True)
        for entry in os.listdir(self.root):
            if entry != "expected":
                shutil.rmtree(os.path.join(self.root, entry))
        self.pci_ids = set()   # (vendor, device or None, subvendor, subdevice)
        self.pci_classes = set()
        self.usb_ids = set()
        self.pnp_ids = set()

    def path(self, rel):
        return os.path.join(self.root, rel.lstrip("/"))

    def write(self, rel, text, mode="w"):
        full = self.path(rel)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, mode) as f:
            f.write(text)

    def link(self, rel, target):
        full = self.path(rel)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        os.symlink(target, full)

    def attrs(self, rel, **values):
        for key, value in values.items():
            self.write(f"{rel}/{key}", f"{value}\n")

    def pci(self, address, vendor, device, cls, sub=None, rev=1, driver=None, parent="pci0000:00", extra=None):
        rel = f"/sys/devices/{parent}/{address}"
        self.attrs(rel, vendor=f"0x{vendor:04x}", device=f"0x{device:04x}", **{"class": f"0x{cls:06x}"},
                   revision=f"0x{rev:02x}")
        if sub:
            self.attrs(rel, subsystem_vendor=f"0x{sub[0]:04x}", subsystem_device=f"0x{sub[1]:04x}")
        for key, value in (extra or {}).items():
            self.write(f"{rel}/{key}", f"{value}\n")
        if driver:
            # From <rel>/driver up to /sys, then down to the driver.
            self.link(f"{rel}/driver", "../" * (rel.count("/") - 1) + f"bus/pci/drivers/{driver}")
        self.link(f"/sys/bus/pci/devices/{address}", f"../../../devices/{parent}/{address}")
        self.pci_ids.add((vendor, device, sub))
        self.pci_classes.add(cls >> 8)
        return rel

    def nvme(self, address, vendor, device, sub, parent, model, firmware, serial, sectors):
        """An NVMe controller with one namespace, nvme0n1; returns the controller's folder."""
        function = self.pci(address, vendor, device, 0x010802, sub, rev=0, driver="nvme", parent=parent)
        ctrl = f"{function}/nvme/nvme0"
        self.attrs(ctrl, model=model, firmware_rev=firmware, serial=serial)
        self.link(f"{ctrl}/device", f"../../../{address}")
        self.attrs(f"{ctrl}/nvme0n1", size=sectors, removable=0)
        self.attrs(f"{ctrl}/nvme0n1/queue", rotational=0, logical_block_size=512)
        self.link(f"{ctrl}/nvme0n1/device", "../../nvme0")
        self.link("/sys/block/nvme0n1", "../devices/" + f"{ctrl}/nvme0n1"[len("/sys/devices/"):])
        return ctrl

    def class_link(self, cls, name, device_rel):
        # /sys/class/<cls>/<name> -> ../../devices/...
        self.link(f"/sys/class/{cls}/{name}", "../.." + device_rel[len("/sys"):])

    def cpus(self, model_name, vendor, family, model, stepping, packages, cores, threads, flags,
             caches, max_khz=None, min_khz=None, mhz="1800.000"):
        blocks = []
        n = 0
        per_package = cores * threads
        for package in range(packages):
            for thread in range(threads):
                for core in range(cores):
                    blocks.append(
                        f"processor\t: {n}\nvendor_id\t: {vendor}\ncpu family\t: {family}\n"
                        f"model\t\t: {model}\nmodel name\t: {model_name}\nstepping\t: {stepping}\n"
                        f"microcode\t: 0x{0xa4 + family:x}\ncpu MHz\t\t: {mhz}\ncache size\t: 12288 KB\n"
                        f"physical id\t: {package}\nsiblings\t: {per_package}\ncore id\t\t: {core}\n"
                        f"cpu cores\t: {cores}\nflags\t\t: {flags}\n"
                        f"address sizes\t: 39 bits physical, 48 bits virtual\npower management:\n")
                    n += 1
        self.write("/proc/cpuinfo", "\n".join(blocks) + "\n")
        total = n
        for cpu in range(total):
            package = cpu // per_package
            core = cpu % cores
            for index, (level, kind, size, scope) in enumerate(caches):
                if scope == "core":
                    shared = ",".join(str(package * per_package + t * cores + core) for t in range(threads))
                else:
                    shared = f"{package * per_package}-{package * per_package + per_package - 1}"
                self.attrs(f"/sys/devices/system/cpu/cpu{cpu}/cache/index{index}", level=level, type=kind,
                           size=size, shared_cpu_list=shared)
        if max_khz:
            self.attrs("/sys/devices/system/cpu/cpu0/cpufreq", cpuinfo_max_freq=max_khz, cpuinfo_min_freq=min_khz)

    def usb(self, controller_rel, name, vendor, product, speed, version, strings=None, interfaces=()):
        # name: "usb1" or "1-4"; devices nest under their hub.
        if name.startswith("usb"):
            rel = f"{controller_rel}/{name}"
        else:
            bus = name.split("-")[0]
            rel = f"{controller_rel}/usb{bus}/{name}"
        self.attrs(rel, idVendor=f"{vendor:04x}", idProduct=f"{product:04x}", speed=speed, version=f" {version}")
        for key, value in (strings or {}).items():
            self.write(f"{rel}/{key}", f"{value}\n")
        self.link(f"/sys/bus/usb/devices/{name}", "../../.." + rel[len("/sys"):])
        for number, driver in enumerate(interfaces):
            iface = f"{name}:1.{number}"
            irel = f"{rel}/{iface}"
            self.attrs(irel, bInterfaceNumber=f"{number:02x}")
            self.link(f"{irel}/driver", "../" * (irel.count("/") - 1) + f"bus/usb/drivers/{driver}")
            self.link(f"/sys/bus/usb/devices/{iface}", "../../.." + irel[len("/sys"):])
        self.usb_ids.add((vendor, product))

    def spd(self, adapter_rel, bus, address, driver, eeprom, name=None):
        """A memory module's SPD EEPROM at `address` on i2c bus `bus`, bound to `driver`."""
        dev = f"{bus}-{address:04x}"
        rel = f"{adapter_rel}/i2c-{bus}/{dev}"
        self.write(f"{rel}/eeprom", eeprom, mode="wb")
        self.attrs(rel, name=name or driver)
        self.link(f"/sys/bus/i2c/devices/{dev}", "../../.." + rel[len("/sys"):])
        self.link(f"/sys/bus/i2c/drivers/{driver}/{dev}", "../../../.." + rel[len("/sys"):])
        return rel

    def jc42(self, adapter_rel, bus, address, hwmon, millidegrees):
        dev = f"{bus}-{address:04x}"
        rel = f"{adapter_rel}/i2c-{bus}/{dev}"
        self.attrs(rel, name="jc42")
        self.attrs(f"{rel}/hwmon/{hwmon}", name="jc42", temp1_input=millidegrees, temp1_max=85000,
                   temp1_crit=95000)
        self.link(f"/sys/bus/i2c/devices/{dev}", "../../.." + rel[len("/sys"):])
        self.class_link("hwmon", hwmon, f"{rel}/hwmon/{hwmon}")

    def monitor(self, card_rel, card, connector, status, edid=b""):
        rel = f"{card_rel}/{card}-{connector}"
        self.attrs(rel, status=status)
        if edid or status == "connected":
            self.write(f"{rel}/edid", edid, mode="wb")
        self.class_link("drm", f"{card}-{connector}", rel)
        if edid:
            self.pnp_ids.add(self._pnp_code(edid))

    @staticmethod
    def _pnp_code(edid):
        value = (edid[8] << 8) | edid[9]
        return "".join(chr(ord("A") + ((value >> shift) & 0x1F) - 1) for shift in (10, 5, 0))

    def databases(self):
        self._slice_pci("/usr/share/misc/pci.ids", "/usr/share/misc/pci.ids")
        self._slice_usb("/usr/share/misc/usb.ids", "/usr/share/misc/usb.ids")
        if self.pnp_ids:
            lines = []
            with open("/usr/share/hwdata/pnp.ids", encoding="utf-8", errors="replace") as f:
                for line in f:
                    if line[:3] in self.pnp_ids and line[3:4] == "\t":
                        lines.append(line)
            self.write("/usr/share/hwdata/pnp.ids", "".join(lines))

    def _slice_pci(self, source, rel):
        vendors = {v for v, _, _ in self.pci_ids} | {s[0] for _, _, s in self.pci_ids if s}
        devices = {(v, d) for v, d, _ in self.pci_ids}
        subsystems = {(v, d, s[0], s[1]) for v, d, s in self.pci_ids if s}
        out = ["# Slice of pci.ids (The PCI ID Repository) naming this fixture's devices.\n"]
        vendor = device = None
        in_class = None
        with open(source, encoding="utf-8", errors="replace") as f:
            for line in f:
                if line.startswith("#") or not line.strip():
                    continue
                if line.startswith("C "):
                    in_class = int(line[2:4], 16)
                    vendor = None
                    if any(c >> 8 == in_class for c in self.pci_classes):
                        out.append(line)
                    continue
                if in_class is not None:
                    if line.startswith("\t\t"):
                        continue
                    if line.startswith("\t"):
                        if (in_class << 8 | int(line[1:3], 16)) in self.pci_classes:
                            out.append(line)
                    continue
                if not line.startswith("\t"):
                    vendor = int(line[:4], 16)
                    device = None
                    if vendor in vendors:
                        out.append(line)
                elif not line.startswith("\t\t"):
                    device = int(line[1:5], 16)
                    if (vendor, device) in devices:
                        out.append(line)
                else:
                    sv, sd = int(line[2:6], 16), int(line[7:11], 16)
                    if (vendor, device, sv, sd) in subsystems:
                        out.append(line)
        self.write(rel, "".join(out))

    def _slice_usb(self, source, rel):
        vendors = {v for v, _ in self.usb_ids}
        out = ["# Slice of usb.ids (The USB ID Repository) naming this fixture's devices.\n"]
        vendor = None
        with open(source, encoding="utf-8", errors="replace") as f:
            for line in f:
                if line.startswith("#") or not line.strip():
                    continue
                if line.startswith("C "):
                    break
                if not line.startswith("\t"):
                    vendor = int(line[:4], 16)
                    if vendor in vendors:
                        out.append(line)
                elif not line.startswith("\t\t"):
                    if (vendor, int(line[1:5], 16)) in self.usb_ids:
                        out.append(line)
        self.write(rel, "".join(out))


# /proc/bus/input/devices of the laptop as its kernel writes it: the platform's
# buttons and switches, the keyboard on the i8042 controller, the I2C touchpad
# (with its legacy mouse collection), the sound card's jacks, the USB mouse and
# a mouse paired over Bluetooth.
LAPTOP_INPUT = [
    ("0019", "0000", "0001", "0000", "Power Button", "PNP0C0C/button/input0",
     "/devices/LNXSYSTM:00/LNXSYBUS:00/PNP0C0C:00/input/input0", "", "kbd event0",
     [("PROP", "0"), ("EV", "3"), ("KEY", "10000000000000 0")]),
    ("0019", "0000", "0005", "0000", "Lid Switch", "PNP0C0D/button/input0",
     "/devices/LNXSYSTM:00/LNXSYBUS:00/PNP0C0D:00/input/input1", "", "event1",
     [("PROP", "0"), ("EV", "21"), ("SW", "1")]),
    ("0011", "0001", "0001", "ab83", "AT Translated Set 2 keyboard", "isa0060/serio0/input0",
     "/devices/platform/i8042/serio0/input/input3", "", "sysrq kbd leds event3",
     [("PROP", "0"), ("EV", "120013"), ("KEY", "402000000 3803078f800d001 feffffdfffefffff fffffffffffffffe"),
      ("MSC", "10"), ("LED", "7")]),
    ("0019", "0000", "0006", "0000", "Video Bus", "LNXVIDEO/video/input0",
     "/devices/LNXSYSTM:00/LNXSYBUS:00/PNP0A08:00/LNXVIDEO:00/input/input4", "", "kbd event4",
     [("PROP", "0"), ("EV", "3"), ("KEY", "3e000b00000000 0 0 0")]),
    ("0018", "04f3", "3140", "0100", "ELAN0672:00 04F3:3140 Mouse", "i2c-ELAN0672:00",
     "/devices/pci0000:00/0000:00:15.0/i2c_designware.0/i2c-0/i2c-ELAN0672:00/0018:04F3:3140.0001/input/input14",
     "", "mouse0 event5", [("PROP", "0"), ("EV", "17"), ("KEY", "30000 0 0 0 0"), ("REL", "3"), ("MSC", "10")]),
    ("0018", "04f3", "3140", "0100", "ELAN0672:00 04F3:3140 Touchpad", "i2c-ELAN0672:00",
     "/devices/pci0000:00/0000:00:15.0/i2c_designware.0/i2c-0/i2c-ELAN0672:00/0018:04F3:3140.0001/input/input15",
     "", "mouse1 event6", [("PROP", "5"), ("EV", "1b"), ("KEY", "e520 10000 0 0 0 0"), ("ABS", "2e0800000000003"),
                           ("MSC", "20")]),
    ("0000", "0000", "0000", "0000", "HDA Intel PCH Mic", "ALSA",
     "/devices/pci0000:00/0000:00:1f.3/sound/card0/input16", "", "event7",
     [("PROP", "0"), ("EV", "21"), ("SW", "10")]),
    ("0000", "0000", "0000", "0000", "HDA Intel PCH Headphone", "ALSA",
     "/devices/pci0000:00/0000:00:1f.3/sound/card0/input17", "", "event8",
     [("PROP", "0"), ("EV", "21"), ("SW", "4")]),
    ("0003", "046d", "c077", "0111", "Logitech USB Optical Mouse", "usb-0000:00:14.0-1/input0",
     "/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/0003:046D:C077.0002/input/input20", "", "mouse2 event9",
     [("PROP", "0"), ("EV", "17"), ("KEY", "70000 0 0 0 0"), ("REL", "903"), ("MSC", "10")]),
    ("0005", "046d", "b023", "0012", "MX Master 3 Mouse", "8c:c6:81:2a:5b:18",
     "/devices/pci0000:00/0000:00:14.0/usb1/1-10/1-10:1.0/bluetooth/hci0/hci0:3585/0005:046D:B023.0003/input/input22",
     "d4:41:5e:7a:90:11", "mouse3 event10",
     [("PROP", "0"), ("EV", "17"), ("KEY", "ffff0000 0 0 0 0"), ("REL", "1943"), ("MSC", "10")]),
]


def input_devices(t, devices):
    blocks = []
    for bus, vendor, product, version, name, phys, sysfs, uniq, handlers, bitmaps in devices:
        lines = [f"I: Bus={bus} Vendor={vendor} Product={product} Version={version}", f'N: Name="{name}"',
                 f"P: Phys={phys}", f"S: Sysfs={sysfs}", f"U: Uniq={uniq}", f"H: Handlers={handlers} "]
        lines += [f"B: {key}={value}" for key, value in bitmaps]
        blocks.append("\n".join(lines) + "\n\n")
    t.write("/proc/bus/input/devices", "".join(blocks))


def dmi(t, **values):
    t.attrs("/sys/class/dmi/id", **values)


def laptop():
    t = Tree("sysroot-laptop")
    t.write("/proc/sys/kernel/arch", "x86_64\n")
    dmi(t, bios_vendor="LENOVO", bios_version="N32ET86W (1.62 )", bios_date="11/09/2023", bios_release="1.62",
        ec_firmware_release="1.32", sys_vendor="LENOVO", product_name="20XW003FUS",
        product_version="ThinkPad X1 Carbon Gen 9", product_family="ThinkPad X1 Carbon Gen 9",
        product_sku="LENOVO_MT_20XW_BU_Think_FM_ThinkPad X1 Carbon Gen 9", board_vendor="LENOVO",
        board_name="20XW003FUS", board_version="SDK0J40697 WIN", board_asset_tag="Not Available",
        chassis_vendor="LENOVO", chassis_type="10", chassis_version="None",
        chassis_asset_tag="No Asset Information")
    t.cpus("11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz", "GenuineIntel", 6, 140, 1, 1, 4, 2,
           "fpu vme de pse tsc msr pae mce cx8 apic sep mtrr pge mca cmov ht tm pbe syscall nx lm vmx est tm2 "
           "ssse3 sse4_1 sse4_2 aes avx avx2",
           [(1, "Data", "48K", "core"), (1, "Instruction", "32K", "core"), (2, "Unified", "1280K", "core"),
            (3, "Unified", "12288K", "package")], max_khz=4700000, min_khz=400000)
    t.write("/proc/meminfo", "MemTotal:       16088212 kB\nMemFree:         9125300 kB\n"
                             "MemAvailable:   12650024 kB\nSwapTotal:       2097148 kB\n")
    t.write("/sys/devices/system/node/node0/meminfo", "Node 0 MemTotal:       16088212 kB\n")
    lenovo = (0x17aa, 0x22d8)
    t.pci("0000:00:00.0", 0x8086, 0x9a14, 0x060000, lenovo, driver=None)
    gpu = t.pci("0000:00:02.0", 0x8086, 0x9a49, 0x030000, lenovo, driver="i915", extra={"boot_vga": 1})
    t.attrs(f"{gpu}/drm/card0", dev="226:0")
    t.link(f"{gpu}/drm/card0/device", "../../../0000:00:02.0")
    t.class_link("drm", "card0", f"{gpu}/drm/card0")
    # The built-in panel and a monitor on HDMI; DP-1 is empty (the kernel then
    # gives an empty edid file).
    t.monitor(f"{gpu}/drm/card0", "card0", "eDP-1", "connected",
              blob("edid", "edp-au-optronics-b140uan02.1-00d4a6168df8.bin"))
    t.monitor(f"{gpu}/drm/card0", "card0", "HDMI-A-1", "connected", blob("edid", "hdmi-dell-g3223q-8cfcd7a8fee9.bin"))
    t.monitor(f"{gpu}/drm/card0", "card0", "DP-1", "disconnected")
    t.pci("0000:00:04.0", 0x8086, 0x9a03, 0x118000, lenovo, driver="proc_thermal")
    xhci = t.pci("0000:00:14.0", 0x8086, 0xa0ed, 0x0c0330, lenovo, rev=0x20, driver="xhci_hcd")
    wifi = t.pci("0000:00:14.3", 0x8086, 0xa0f0, 0x028000, (0x8086, 0x0244), rev=0x20, driver="iwlwifi")
    t.attrs(f"{wifi}/net/wlp0s20f3", address="8c:c6:81:2a:5b:17", operstate="up", mtu=1500, type=1,
            speed="-1", duplex="unknown")
    t.attrs(f"{wifi}/net/wlp0s20f3/wireless", link="0")
    t.link(f"{wifi}/net/wlp0s20f3/device", "../../../0000:00:14.3")
    t.class_link("net", "wlp0s20f3", f"{wifi}/net/wlp0s20f3")
    t.pci("0000:00:1d.0", 0x8086, 0xa0b0, 0x060400, lenovo, rev=0x20, driver="pcieport")
    t.pci("0000:00:1f.0", 0x8086, 0xa082, 0x060100, lenovo, rev=0x20)
    hda = t.pci("0000:00:1f.3", 0x8086, 0xa0c8, 0x040380, lenovo, rev=0x20, driver="snd_hda_intel")
    t.pci("0000:00:1f.4", 0x8086, 0xa0a3, 0x0c0500, lenovo, rev=0x20, driver="i801_smbus")
    ctrl = t.nvme("0000:04:00.0", 0x144d, 0xa80a, (0x144d, 0xa801), "pci0000:00/0000:00:1d.0",
                  "SAMSUNG MZVL2512HCJQ-00BL7", "GXA7801Q", "S64KNF0R512345", 1000215216)
    eth = t.pci("0000:2c:00.0", 0x10ec, 0x8168, 0x020000, lenovo, rev=0x15, driver="r8169",
                parent="pci0000:00/0000:00:1d.0")
    t.attrs(f"{eth}/net/enp44s0", address="00:2b:67:4e:91:c0", operstate="up", mtu=1500, type=1,
            speed=1000, duplex="full")
    t.link(f"{eth}/net/enp44s0/device", "../../../0000:2c:00.0")
    t.class_link("net", "enp44s0", f"{eth}/net/enp44s0")
    # Software interfaces: not hardware, left out of the listing.
    t.attrs("/sys/devices/virtual/net/lo", address="00:00:00:00:00:00", operstate="unknown", type=772)
    t.class_link("net", "lo", "/sys/devices/virtual/net/lo")
    t.attrs("/sys/devices/virtual/block/loop0", size=0, removable=0)
    t.link("/sys/block/loop0", "../devices/virtual/block/loop0")
    # Sound: card 0 with the HD Audio codecs on its link.
    card = f"{hda}/sound/card0"
    t.attrs(card, id="PCH", number=0)
    t.link(f"{card}/device", "../../../0000:00:1f.3")
    t.class_link("sound", "card0", card)
    for codec, vendor_name, chip, vendor_id in (("hwC0D0", "Realtek", "ALC257", "0x10ec0257"),
                                                ("hwC0D2", "Intel", "Tigerlake HDMI", "0x80862812")):
        t.attrs(f"{card}/{codec}", vendor_name=vendor_name, chip_name=chip, vendor_id=vendor_id)
        t.class_link("sound", codec, f"{card}/{codec}")
    t.write("/proc/asound/cards",
            " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
            "                      HDA Intel PCH at 0x6001190000 irq 147\n")
    # USB: root hubs, a mouse, a webcam and the Bluetooth part of the Wi-Fi card.
    t.usb(xhci, "usb1", 0x1d6b, 0x0002, "480", "2.00",
          {"manufacturer": "Linux 6.1.0-28-amd64 xhci-hcd", "product": "xHCI Host Controller"}, ["hub"])
    t.usb(xhci, "usb2", 0x1d6b, 0x0003, "10000", "3.10",
          {"manufacturer": "Linux 6.1.0-28-amd64 xhci-hcd", "product": "xHCI Host Controller"}, ["hub"])
    t.usb(xhci, "1-1", 0x046d, 0xc077, "1.5", "2.00",
          {"manufacturer": "Logitech", "product": "USB Optical Mouse"}, ["usbhid"])
    t.usb(xhci, "1-4", 0x04f2, 0xb6cb, "480", "2.01",
          {"manufacturer": "Chicony Electronics Co.,Ltd.", "product": "Integrated Camera"},
          ["uvcvideo", "uvcvideo"])
    t.usb(xhci, "1-10", 0x8087, 0x0026, "12", "2.01", None, ["btusb", "btusb"])
    # Input devices, the webcam's nodes and the Bluetooth controller.
    input_devices(t, LAPTOP_INPUT)
    i2c = t.pci("0000:00:15.0", 0x8086, 0xa0e8, 0x0c8000, lenovo, rev=0x20, driver="intel-lpss")
    t.attrs(f"{i2c}/i2c_designware.0/i2c-0/i2c-ELAN0672:00", name="ELAN0672:00")
    usb1 = f"{xhci}/usb1"
    for node, index in (("video0", 0), ("video1", 1)):
        rel = f"{usb1}/1-4/1-4:1.0/video4linux/{node}"
        t.attrs(rel, name="Integrated Camera: Integrated C", index=index, dev=f"81:{index}")
        t.link(f"{rel}/device", "../../../1-4:1.0")
        t.class_link("video4linux", node, rel)
    hci = f"{usb1}/1-10/1-10:1.0/bluetooth/hci0"
    t.attrs(hci, type="BR/EDR")
    t.link(f"{hci}/device", "../../../1-10:1.0")
    t.class_link("bluetooth", "hci0", hci)
    # Power.
    t.attrs("/sys/class/power_supply/BAT0", type="Battery", manufacturer="SMP", model_name="5B10W13975",
            technology="Li-poly", status="Discharging", capacity=87, energy_full=50120000,
            energy_full_design=57000000, cycle_count=142, voltage_now=12280000, scope="System")
    t.attrs("/sys/class/power_supply/AC", type="Mains", online=0)
    t.attrs("/sys/class/power_supply/hidpp_battery_0", type="Battery", scope="Device", model_name="MX Master 3",
            capacity=60)
    # Firmware.
    t.write("/sys/firmware/efi/fw_platform_size", "64\n")
    t.write("/sys/firmware/efi/efivars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c", b"\x06\x00\x00\x00\x01",
            mode="wb")
    t.write("/sys/firmware/dmi/tables/DMI", "")
    for table in ("APIC", "BGRT", "DSDT", "FACP", "HPET", "SSDT1", "SSDT2", "TPM2"):
        t.write(f"/sys/firmware/acpi/tables/{table}", "")
    laptop_firmware_and_sensors(t)
    laptop_processor_and_links(t)
    t.databases()


def pcie_link(t, rel, speed, width, max_speed, max_width):
    t.attrs(rel, current_link_speed=f"{speed} GT/s PCIe", current_link_width=width,
            max_link_speed=f"{max_speed} GT/s PCIe", max_link_width=max_width)


def laptop_processor_and_links(t):
    # What the kernel says of the processor's mitigations and frequency control.
    vulnerabilities = "/sys/devices/system/cpu/vulnerabilities"
    t.write(f"{vulnerabilities}/meltdown", "Not affected\n")
    t.write(f"{vulnerabilities}/spectre_v1",
            "Mitigation: usercopy/swapgs barriers and __user pointer sanitization\n")
    t.write(f"{vulnerabilities}/spectre_v2",
            "Mitigation: Enhanced / Automatic IBRS; IBPB: conditional; RSB filling; "
            "PBRSB-eIBRS: SW sequence; BHI: SW loop, KVM: SW loop\n")
    t.write(f"{vulnerabilities}/retbleed", "Not affected\n")
    t.attrs("/sys/devices/system/cpu/cpu0/cpufreq", scaling_driver="intel_pstate",
            scaling_governor="powersave")
    t.attrs("/sys/devices/system/cpu/smt", control="on", active=1)
    # A PCIe 4.0 SSD behind the chipset's PCIe 3.0 port: it runs at the port's
    # speed, which is no fault of either.
    pcie_link(t, "/sys/devices/pci0000:00/0000:00:1d.0", "8.0", 4, "8.0", 4)
    pcie_link(t, "/sys/devices/pci0000:00/0000:00:1d.0/0000:04:00.0", "8.0", 4, "16.0", 4)


def laptop_firmware_and_sensors(t):
    # A firmware TPM 2.0 on the command-response interface, behind its ACPI node.
    tpm = "/sys/devices/platform/MSFT0101:00"
    acpi = "/sys/devices/LNXSYSTM:00/LNXSYBUS:00/MSFT0101:00"
    t.attrs(acpi, hid="MSFT0101", modalias="acpi:MSFT0101:")
    t.attrs(tpm, modalias="acpi:MSFT0101:")
    t.link(f"{tpm}/firmware_node", "../../LNXSYSTM:00/LNXSYBUS:00/MSFT0101:00")
    t.write("/sys/bus/platform/drivers/tpm_crb/uevent", "")
    t.link(f"{tpm}/driver", "../../../bus/platform/drivers/tpm_crb")
    t.attrs(f"{tpm}/tpm/tpm0", tpm_version_major=2)
    t.link(f"{tpm}/tpm/tpm0/device", "../../../MSFT0101:00")
    t.class_link("tpm", "tpm0", f"{tpm}/tpm/tpm0")
    # Secure Boot on, a platform key enrolled.
    t.write("/sys/firmware/efi/efivars/SetupMode-8be4df61-93ca-11d2-aa0d-00e098032b8c", b"\x06\x00\x00\x00\x00",
            mode="wb")
    # Sensors: the package and its four cores, the firmware's thermal zone,
    # and the Wi-Fi card's zone (which the kernel does not link to the card).
    coretemp = "/sys/devices/platform/coretemp.0/hwmon/hwmon4"
    t.attrs(coretemp, name="coretemp", temp1_input=52000, temp1_label="Package id 0", temp1_max=100000,
            temp1_crit=100000)
    for core, millidegrees in enumerate((51000, 49000, 52000, 48000)):
        t.attrs(coretemp, **{f"temp{core + 2}_input": millidegrees, f"temp{core + 2}_label": f"Core {core}",
                             f"temp{core + 2}_max": 100000, f"temp{core + 2}_crit": 100000})
    t.link(f"{coretemp}/device", "../../../coretemp.0")
    t.class_link("hwmon", "hwmon4", coretemp)
    acpitz = "/sys/devices/virtual/thermal/thermal_zone0/hwmon1"
    t.attrs(acpitz, name="acpitz", temp1_input=48000, temp1_crit=128000)
    t.class_link("hwmon", "hwmon1", acpitz)
    wifi_zone = "/sys/devices/virtual/thermal/thermal_zone7/hwmon6"
    t.attrs(wifi_zone, name="iwlwifi_1", temp1_input=41000)
    t.class_link("hwmon", "hwmon6", wifi_zone)


def server():
    t = Tree("sysroot-server")
    t.write("/proc/sys/kernel/arch", "x86_64\n")
    dmi(t, bios_vendor="American Megatrends Inc.", bios_version="3.1", bios_date="05/21/2019",
        bios_release="5.14", sys_vendor="Supermicro", product_name="SYS-2049U-TR4",
        product_version="0123456789", product_family="SMC X11", board_vendor="Supermicro",
        board_name="X11QPH+", board_version="1.01", chassis_vendor="Supermicro", chassis_type="17",
        chassis_version="0123456789", chassis_asset_tag="To be filled by O.E.M.")
    t.cpus("Intel(R) Xeon(R) Gold 6130 CPU @ 2.10GHz", "GenuineIntel", 6, 85, 4, 2, 2, 2,
           "fpu vme de pse tsc msr pae mce cx8 apic sep ht syscall nx lm vmx est avx avx2 avx512f",
           [(1, "Data", "32K", "core"), (1, "Instruction", "32K", "core"), (2, "Unified", "1024K", "core"),
            (3, "Unified", "22528K", "package")], mhz="2100.000")
    t.write("/proc/meminfo", "MemTotal:       395965440 kB\nMemFree:        380000000 kB\n")
    for node in (0, 1):
        t.write(f"/sys/devices/system/node/node{node}/meminfo", f"Node {node} MemTotal: 197982720 kB\n")
    for mc, socket in (("mc0", 0), ("mc1", 1)):
        for dimm in ("dimm0", "dimm1"):
            chan = dimm[-1]
            t.attrs(f"/sys/devices/system/edac/mc/{mc}/{dimm}", size=32768, dimm_mem_type="Registered-DDR4",
                    dimm_edac_mode="S4ECD4ED", dimm_label=f"CPU_SrcID#{socket}_MC#0_Chan#{chan}_DIMM#0",
                    dimm_location=f"channel {chan} slot 0")
    smc = (0x15d9, 0x095d)
    t.pci("0000:00:00.0", 0x8086, 0x2020, 0x060000, smc, rev=4)
    xhci = t.pci("0000:00:14.0", 0x8086, 0xa1af, 0x0c0330, smc, rev=9, driver="xhci_hcd")
    # Two registered DDR4 modules whose SPD the ee1004 driver exposes, each
    # with the JC-42.4 temperature sensor of its module.
    smbus = t.pci("0000:00:1f.4", 0x8086, 0xa1a3, 0x0c0500, smc, rev=9, driver="i801_smbus")
    t.spd(smbus, 0, 0x50, "ee1004", blob("spd", "ddr4-samsung-m393a1g40eb1-crc-21d86240.bin"))
    t.spd(smbus, 0, 0x51, "ee1004", blob("spd", "ddr4-samsung-m393a1g40eb1-cpb-3520c50e.bin"))
    t.jc42(smbus, 0, 0x18, "hwmon2", 38500)
    t.jc42(smbus, 0, 0x19, "hwmon3", 40250)
    sata = t.pci("0000:00:17.0", 0x8086, 0xa182, 0x010601, smc, rev=9, driver="ahci")
    for port, (disk, model, rev, size, rotational) in enumerate(
            (("sda", "SAMSUNG MZ7LH960HAJR-00005", "HXT7404Q", 1875385008, 0),
             ("sdb", "ST4000NM0035-1V4107", "TN03", 7814037168, 1))):
        scsi = f"{sata}/ata{port + 1}/host{port}/target{port}:0:0/{port}:0:0:0"
        t.attrs(scsi, model=model, vendor="ATA     ", rev=rev)
        t.link(f"{scsi}/driver", "../../../../../../../bus/scsi/drivers/sd")
        t.attrs(f"{scsi}/block/{disk}", size=size, removable=0)
        t.attrs(f"{scsi}/block/{disk}/queue", rotational=rotational, logical_block_size=512)
        t.link(f"{scsi}/block/{disk}/device", "../../../" + f"{port}:0:0:0")
        t.link(f"/sys/block/{disk}", "../devices/" + f"{scsi}/block/{disk}"[len("/sys/devices/"):])
    vga = t.pci("0000:03:00.0", 0x1a03, 0x2000, 0x030000, smc, rev=0x41, driver="ast",
                parent="pci0000:00/0000:00:1c.0/0000:02:00.0", extra={"boot_vga": 1})
    for address, iface, mac, state, speed, bus in (
            ("0000:3d:00.0", "eno1", "ac:1f:6b:4a:10:2e", "up", 10000, "pci0000:3a/0000:3a:00.0"),
            ("0000:3d:00.1", "eno2", "ac:1f:6b:4a:10:2f", "down", -1, "pci0000:3a/0000:3a:00.0")):
        rel = t.pci(address, 0x8086, 0x37d2, 0x020000, smc, rev=9, driver="i40e", parent=bus)
        t.attrs(f"{rel}/net/{iface}", address=mac, operstate=state, mtu=1500, type=1, speed=speed,
                duplex="full" if state == "up" else "unknown")
        t.link(f"{rel}/net/{iface}/device", f"../../../{address}")
        t.class_link("net", iface, f"{rel}/net/{iface}")
    for address, iface, mac, state in (("0000:18:00.0", "ens1f0np0", "b8:59:9f:c2:7e:10", "up"),
                                       ("0000:18:00.1", "ens1f1np1", "b8:59:9f:c2:7e:11", "down")):
        rel = t.pci(address, 0x15b3, 0x1017, 0x020000, (0x15b3, 0x0007), rev=0, driver="mlx5_core",
                    parent="pci0000:17/0000:17:00.0")
        t.attrs(f"{rel}/net/{iface}", address=mac, operstate=state, mtu=9000, type=1,
                speed=25000 if state == "up" else -1, duplex="full" if state == "up" else "unknown")
        t.link(f"{rel}/net/{iface}/device", f"../../../{address}")
        t.class_link("net", iface, f"{rel}/net/{iface}")
    # A network controller without a driver: shown as a PCI function.
    t.pci("0000:af:00.0", 0x8086, 0x1572, 0x020000, (0x8086, 0x0000), rev=2, parent="pci0000:ae/0000:ae:00.0")
    ctrl = t.nvme("0000:5e:00.0", 0x8086, 0x0a54, (0x8086, 0x4802), "pci0000:5d/0000:5d:00.0",
                  "INTEL SSDPE2KX020T8", "VDV10170", "PHLJ9123004A2P0BGN", 3907029168)
    t.attrs("/sys/devices/virtual/net/lo", address="00:00:00:00:00:00", operstate="unknown", type=772)
    t.class_link("net", "lo", "/sys/devices/virtual/net/lo")
    t.attrs("/sys/devices/virtual/net/br0", address="ac:1f:6b:4a:10:2e", operstate="up", type=1)
    t.class_link("net", "br0", "/sys/devices/virtual/net/br0")
    t.usb(xhci, "usb1", 0x1d6b, 0x0002, "480", "2.00",
          {"manufacturer": "Linux 5.10.0-23-amd64 xhci-hcd", "product": "xHCI Host Controller"}, ["hub"])
    t.usb(xhci, "1-1", 0x046b, 0xff10, "480", "2.00",
          {"manufacturer": "American Megatrends Inc.", "product": "Virtual Keyboard and Mouse"},
          ["usbhid", "usbhid"])
    t.write("/sys/firmware/efi/fw_platform_size", "64\n")
    t.write("/sys/firmware/dmi/tables/DMI", "")
    for table in ("APIC", "DMAR", "DSDT", "FACP", "HPET", "MCFG", "SLIT", "SRAT"):
        t.write(f"/sys/firmware/acpi/tables/{table}", "")
    t.databases()


# The desktop's keyboard (and its media-key interface) and mouse, both on USB.
DESKTOP_INPUT = [
    ("0019", "0000", "0001", "0000", "Power Button", "PNP0C0C/button/input0",
     "/devices/LNXSYSTM:00/LNXSYBUS:00/PNP0C0C:00/input/input0", "", "kbd event0",
     [("PROP", "0"), ("EV", "3"), ("KEY", "10000000000000 0")]),
    ("0019", "0000", "0001", "0000", "Power Button", "LNXPWRBN/button/input0",
     "/devices/LNXSYSTM:00/LNXPWRBN:00/input/input1", "", "kbd event1",
     [("PROP", "0"), ("EV", "3"), ("KEY", "10000000000000 0")]),
    ("0003", "046d", "c31c", "0110", "Logitech USB Keyboard", "usb-0000:0e:00.3-3/input0",
     "/devices/pci0000:00/0000:00:08.1/0000:0e:00.3/usb1/1-3/1-3:1.0/0003:046D:C31C.0001/input/input2", "",
     "sysrq kbd leds event2",
     [("PROP", "0"), ("EV", "120013"),
      ("KEY", "1000000000007 ff800000000007ff febeffdff3cfffff fffffffffffffffe"), ("MSC", "10"), ("LED", "1f")]),
    ("0003", "046d", "c31c", "0110", "Logitech USB Keyboard Consumer Control", "usb-0000:0e:00.3-3/input1",
     "/devices/pci0000:00/0000:00:08.1/0000:0e:00.3/usb1/1-3/1-3:1.1/0003:046D:C31C.0002/input/input3", "",
     "kbd event3",
     [("PROP", "0"), ("EV", "1f"),
      ("KEY", "306ff 0 0 483ffff17aff32d bfd4444600000000 1 130ff38b17c000 677bfad9415fed 9ed68000004400 10000002"),
      ("REL", "1040"), ("ABS", "100000000"), ("MSC", "10")]),
    ("0003", "046d", "c077", "0111", "Logitech USB Optical Mouse", "usb-0000:0e:00.3-4/input0",
     "/devices/pci0000:00/0000:00:08.1/0000:0e:00.3/usb1/1-4/1-4:1.0/0003:046D:C077.0003/input/input5", "",
     "mouse0 event4", [("PROP", "0"), ("EV", "17"), ("KEY", "70000 0 0 0 0"), ("REL", "903"), ("MSC", "10")]),
    ("0000", "0000", "0000", "0000", "HD-Audio Generic Front Headphone", "ALSA",
     "/devices/pci0000:00/0000:00:08.1/0000:0e:00.6/sound/card1/input8", "", "event5",
     [("PROP", "0"), ("EV", "21"), ("SW", "4")]),
]


def desktop():
    t = Tree("sysroot-desktop")
    t.write("/proc/sys/kernel/arch", "x86_64\n")
    dmi(t, bios_vendor="American Megatrends International, LLC.", bios_version="1813", bios_date="10/13/2023",
        bios_release="5.27", sys_vendor="ASUS", product_name="System Product Name",
        product_version="System Version", board_vendor="ASUSTeK COMPUTER INC.", board_name="PRIME X670-P",
        board_version="Rev 1.xx", chassis_vendor="Default string", chassis_type="3",
        chassis_version="Default string", chassis_asset_tag="Default string")
    t.cpus("AMD Ryzen 7 7700X 8-Core Processor", "AuthenticAMD", 25, 97, 2, 1, 8, 2,
           "fpu vme de pse tsc msr pae mce cx8 apic sep mtrr pge mca cmov ht syscall nx lm svm avx avx2 avx512f",
           [(1, "Data", "32K", "core"), (1, "Instruction", "32K", "core"), (2, "Unified", "1024K", "core"),
            (3, "Unified", "32768K", "package")], max_khz=5573000, min_khz=545000, mhz="4500.000")
    t.write("/proc/meminfo", "MemTotal:       32053572 kB\nMemFree:        28112040 kB\n")
    t.write("/sys/devices/system/node/node0/meminfo", "Node 0 MemTotal:       32053572 kB\n")
    asus = (0x1043, 0x8877)
    t.pci("0000:00:00.0", 0x1022, 0x14d8, 0x060000, asus)
    t.pci("0000:00:01.1", 0x1022, 0x14db, 0x060400, None, driver="pcieport")
    gpu = t.pci("0000:03:00.0", 0x1002, 0x7480, 0x030000, (0x1da2, 0x477e), rev=0xcf, driver="amdgpu",
                parent="pci0000:00/0000:00:01.1", extra={"boot_vga": 1})
    # Idle: the card drops its link to 2.5 GT/s to save power, and its x8 is
    # all the card has; the port is an x16 slot.
    pcie_link(t, "/sys/devices/pci0000:00/0000:00:01.1", "16.0", 16, "16.0", 16)
    pcie_link(t, gpu, "2.5", 8, "16.0", 8)
    t.attrs(f"{gpu}/drm/card0", dev="226:0")
    t.link(f"{gpu}/drm/card0/device", "../../../0000:03:00.0")
    t.class_link("drm", "card0", f"{gpu}/drm/card0")
    for connector, monitor in (("DP-1", "dp-dell-u2515h-012cc00c4665.bin"),
                               ("HDMI-A-1", "hdmi-dell-g3223q-8cfcd7a8fee9.bin"), ("DP-2", None)):
        rel = f"{gpu}/drm/card0/card0-{connector}"
        t.attrs(rel, status="connected" if monitor else "disconnected", enabled="enabled" if monitor else "disabled")
        t.write(f"{rel}/edid", blob("edid", monitor) if monitor else b"", mode="wb")
        t.class_link("drm", f"card0-{connector}", rel)
    t.pci("0000:00:02.1", 0x1022, 0x14db, 0x060400, None, driver="pcieport")
    ctrl = t.nvme("0000:04:00.0", 0x144d, 0xa80c, (0x144d, 0xa801), "pci0000:00/0000:00:02.1",
                  "Samsung SSD 990 PRO 2TB", "4B2QJXD7", "S73WNJ0W612345X", 3907029168)
    eth = t.pci("0000:05:00.0", 0x10ec, 0x8125, 0x020000, asus, rev=5, driver="r8169",
                parent="pci0000:00/0000:00:02.1")
    t.attrs(f"{eth}/net/enp5s0", address="c8:7f:54:0a:3b:21", operstate="up", mtu=1500, type=1, speed=2500,
            duplex="full")
    t.link(f"{eth}/net/enp5s0/device", "../../../0000:05:00.0")
    t.class_link("net", "enp5s0", f"{eth}/net/enp5s0")
    xhci = t.pci("0000:0e:00.3", 0x1022, 0x15b6, 0x0c0330, asus, driver="xhci_hcd", parent="pci0000:00/0000:00:08.1")
    sata = t.pci("0000:0f:00.0", 0x1022, 0x7901, 0x010601, asus, rev=0x91, driver="ahci",
                 parent="pci0000:00/0000:00:08.2")
    scsi = f"{sata}/ata1/host0/target0:0:0/0:0:0:0"
    t.attrs(scsi, model="ST2000DM008-2FR1", vendor="ATA     ", rev="0001")
    t.link(f"{scsi}/driver", "../../../../../../../../bus/scsi/drivers/sd")
    t.attrs(f"{scsi}/block/sda", size=3907029168, removable=0)
    t.attrs(f"{scsi}/block/sda/queue", rotational=1, logical_block_size=512)
    t.link(f"{scsi}/block/sda/device", "../../../0:0:0:0")
    t.link("/sys/block/sda", "../devices/" + f"{scsi}/block/sda"[len("/sys/devices/"):])
    # The disk's SATA link, its card's video memory and both one's own sensors.
    ata_link = f"{sata}/ata1/link1/ata_link/link1"
    t.attrs(ata_link, sata_spd="6.0 Gbps")
    t.class_link("ata_link", "link1", ata_link)
    t.attrs(gpu, mem_info_vram_total=8573157376)
    t.attrs(f"{gpu}/hwmon/hwmon2", name="amdgpu", temp1_input=41000, temp1_label="edge",
            temp1_crit=100000)
    t.link(f"{gpu}/hwmon/hwmon2/device", "../../../0000:03:00.0")
    t.class_link("hwmon", "hwmon2", f"{gpu}/hwmon/hwmon2")
    t.attrs(f"{ctrl}/hwmon0", name="nvme", temp1_input=38850, temp1_label="Composite",
            temp1_max=81850, temp1_crit=84850)
    t.class_link("hwmon", "hwmon0", f"{ctrl}/hwmon0")
    smbus = t.pci("0000:00:14.0", 0x1022, 0x790b, 0x0c0500, asus, rev=0x71, driver="piix4_smbus")
    # Two DDR5 modules with their own temperature sensors.
    for address, image, hwmon in (("0-0051", "ddr5-teamgroup-ud5-6000-0104eef6.bin", 3),
                                  ("0-0053", "ddr5-teamgroup-ud5-6000-0104eeff.bin", 4)):
        rel = f"{smbus}/i2c-0/{address}"
        t.attrs(rel, name="spd5118")
        t.write(f"{rel}/eeprom", blob("spd", image), mode="wb")
        t.attrs(f"{rel}/hwmon/hwmon{hwmon}", name="spd5118", temp1_input=36250)
        t.link(f"/sys/bus/i2c/drivers/spd5118/{address}", "../../../../devices/pci0000:00/0000:00:14.0/i2c-0/"
               + address)
        t.class_link("hwmon", f"hwmon{hwmon}", f"{rel}/hwmon/hwmon{hwmon}")
    # Sensors of the processor and of the board's Super I/O chip.
    k10 = t.pci("0000:00:18.3", 0x1022, 0x14e3, 0x060000, None, driver="k10temp")
    t.attrs(f"{k10}/hwmon/hwmon1", name="k10temp", temp1_input=48625, temp1_label="Tctl")
    t.class_link("hwmon", "hwmon1", f"{k10}/hwmon/hwmon1")
    sio = "/sys/devices/platform/nct6775.656/hwmon/hwmon5"
    t.attrs(sio, name="nct6799", temp1_input=33000, temp1_label="SYSTIN", fan1_input=0, fan2_input=1066,
            in0_input=1040)
    t.class_link("hwmon", "hwmon5", sio)
    # USB: the keyboard, the mouse, a Bluetooth dongle and a webcam.
    t.usb(xhci, "usb1", 0x1d6b, 0x0002, "480", "2.00",
          {"manufacturer": "Linux 6.1.0-28-amd64 xhci-hcd", "product": "xHCI Host Controller"}, ["hub"])
    t.usb(xhci, "1-3", 0x046d, 0xc31c, "1.5", "1.10", {"manufacturer": "Logitech", "product": "USB Keyboard"},
          ["usbhid", "usbhid"])
    t.usb(xhci, "1-4", 0x046d, 0xc077, "1.5", "2.00",
          {"manufacturer": "Logitech", "product": "USB Optical Mouse"}, ["usbhid"])
    t.usb(xhci, "1-5", 0x0a12, 0x0001, "12", "2.00", None, ["btusb", "btusb"])
    t.usb(xhci, "1-6", 0x046d, 0x0825, "480", "2.00", {"product": "C270 HD WEBCAM"},
          ["uvcvideo", "uvcvideo", "snd-usb-audio", "snd-usb-audio"])
    usb1 = f"{xhci}/usb1"
    input_devices(t, DESKTOP_INPUT)
    for node, index in (("video0", 0), ("video1", 1)):
        rel = f"{usb1}/1-6/1-6:1.0/video4linux/{node}"
        t.attrs(rel, name="C270 HD WEBCAM", index=index, dev=f"81:{index}")
        t.link(f"{rel}/device", "../../../1-6:1.0")
        t.class_link("video4linux", node, rel)
    hci = f"{usb1}/1-5/1-5:1.0/bluetooth/hci0"
    t.attrs(hci, type="BR/EDR")
    t.link(f"{hci}/device", "../../../1-5:1.0")
    t.class_link("bluetooth", "hci0", hci)
    # Firmware: UEFI with Secure Boot on and a firmware TPM.
    t.write("/sys/firmware/efi/fw_platform_size", "64\n")
    t.write("/sys/firmware/efi/efivars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c", b"\x06\x00\x00\x00\x01",
            mode="wb")
    t.write("/sys/firmware/dmi/tables/DMI", "")
    for table in ("APIC", "DSDT", "FACP", "FPDT", "HPET", "MCFG", "SSDT1", "TPM2"):
        t.write(f"/sys/firmware/acpi/tables/{table}", "")
    t.attrs("/sys/class/tpm/tpm0", tpm_version_major=2)
    t.databases()


if __name__ == "__main__":
    laptop()
    server()
    desktop()
    sys.exit(0)
