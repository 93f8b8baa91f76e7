#include "scanner/categoryclassifier.h"

#include <QString>

#include <array>
#include <initializer_list>

namespace {

struct Rule {
    std::initializer_list<const char16_t *> keywords;
    HardwareCategory category;
};

// Order matters: device classes win over the generic ones.
const std::array<Rule, 13> &rules()
{
    static const std::array<Rule, 13> table = {{
        {{u"gpu", u"vga", u"display", u"radeon", u"nvidia", u"graphics"}, HardwareCategory::gpu},
        {{u"network", u"ethernet", u"wi-fi", u"wifi", u"wireless", u"mac address"},
         HardwareCategory::network},
        {{u"storage", u"nvme", u"sata", u"ahci", u"disk"}, HardwareCategory::storage},
        {{u"audio", u"hda", u"codec"}, HardwareCategory::audio},
        {{u"usb", u"xhci"}, HardwareCategory::usb},
        {{u"processor", u"cpu", u"core count", u"thread count"}, HardwareCategory::cpu},
        {{u"memory", u"dimm", u"ram"}, HardwareCategory::memory},
        {{u"bios"}, HardwareCategory::bios},
        {{u"base board", u"baseboard", u"motherboard"}, HardwareCategory::baseboard},
        {{u"platform", u"system information", u"board-id"}, HardwareCategory::platform},
        {{u"firmware", u"rom"}, HardwareCategory::firmware},
        {{u"battery"}, HardwareCategory::battery},
        {{u"pci", u"vendor-id", u"device-id", u"class-code"}, HardwareCategory::pci},
    }};
    return table;
}

} // namespace

HardwareCategory categoryFor(QStringView section, QStringView line)
{
    QString probe;
    probe.reserve(section.size() + line.size() + 1);
    probe += section;
    probe += QLatin1Char(' ');
    probe += line;
    probe = std::move(probe).toLower();
    const QStringView view(probe);
    for (const Rule &rule : rules()) {
        for (const char16_t *keyword : rule.keywords) {
            if (view.contains(QStringView(keyword), Qt::CaseSensitive)) {
                return rule.category;
            }
        }
    }
    return HardwareCategory::raw;
}
