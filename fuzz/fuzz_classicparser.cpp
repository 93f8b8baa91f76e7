// Any bytes, decoded like tool output, must parse without crashing.
#include "model/textservices.h"
#include "scanner/classicparser.h"
#include "scanner/hardwarescanner.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const HardwareScanner scanner;
    const QString text = Text::decodeUtf8Strict(
        QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    const QList<HardwareItem> items = parseClassicDMIDecode(text, scanner.usefulKeys());
    for (const HardwareItem &item : items) {
        if (item.title.isEmpty() || item.value.isEmpty()) {
            __builtin_trap();
        }
    }
    return 0;
}
