#include "model/textservices.h"
#include "scanner/macparser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = Text::decodeUtf8Strict(
        QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    const QList<HardwareItem> items = parseMacHardware(text);
    for (const HardwareItem &item : items) {
        if (item.title.isEmpty() || item.value.isEmpty() ||
            item.category == HardwareCategory::summary) {
            __builtin_trap();
        }
    }
    return 0;
}
