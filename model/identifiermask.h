#pragma once

#include "model/hardwareitem.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstddef>
#include <vector>

class RawOutput;

// Hiding the values that tell one machine from another (serial numbers, UUIDs,
// asset and service tags, MAC addresses) before a report is pasted somewhere
// public. Every rule that decides what is an identifier lives in this file and
// its .cpp; the window and the command line only ask it.
//
// Masking is a view: it changes texts, never ids, categories, sources, counts
// or order. It is also a pure function of the text, so the same value always
// gets the same mask and two disks with different serials stay apart.
//
// Rules, in short (the reasons are beside each rule in the .cpp):
// 1. Identifier keys. A fact is an identifier when its key (the title after its
//    last " • ", trimmed, case ignored; words split at spaces, '-' and '_')
//    - ends with the word serial, uuid, wwn, wwid, eui, eui64, nguid or hostname
//      (or the run-together serialnumber, assettag, servicetag, macaddress, hwaddr),
//    - or ends with the words serial number, asset tag, service tag, mac address,
//      permanent address, hardware address or host name.
//    Model names stay visible: Part Number, SKU Number, Model Part Number; so do
//    Serial Port A, Virtual Serial Port and other keys that only mention a word.
//    The whole value of an identifier fact is masked.
// 2. Patterns, masked wherever they occur (titles, values, details, raw lines):
//    MAC addresses (six pairs of hex digits, one consistent ':' or '-'
//    separator, either case) and UUIDs (8-4-4-4-12 hex digits), each standing
//    on its own: a longer run of hex digits or groups is left whole.
// 3. Repeats. A value of an identifier fact that is distinctive (at least six
//    non-space characters, at least one digit, not one character repeated, at
//    most 128 code units) is masked wherever else it occurs in the same scan as
//    a whole word (case ignored): a serial number copied into an OEM string or
//    a device name does not leak.
// 4. The mask: "•••••" (five U+2022) followed by the value's last two
//    user-perceived characters when it has more than eight of them, else
//    "•••••" alone. An empty value stays empty: there is nothing to hide. A
//    value that starts with "•••••" is a mask already and stays as it is.
namespace IdentifierMask {

// The mask of one value (rule 4).
[[nodiscard]] QString maskValue(QStringView value);

// Rule 1 on a bare key ("Serial Number", "mac address").
[[nodiscard]] bool isIdentifierKey(QStringView key);

// Rule 1 on an item title: classic titles are keys, mac-hardware titles are
// "device • key".
[[nodiscard]] bool isIdentifierTitle(QStringView title);

// Rule 3: whether a value of an identifier fact is masked wherever it occurs.
[[nodiscard]] bool isDistinctiveValue(QStringView value);

} // namespace IdentifierMask

// The mask of one scan: knows the scan's identifier values (rule 3) and applies
// all the rules to its items and texts. Build it once per scan result; it is a
// plain value and can be built on any thread.
class IdentifierMasker {
public:
    IdentifierMasker() = default;
    // Learns the identifier values of a scan from its items and raw output.
    IdentifierMasker(const QList<HardwareItem> &items, const RawOutput &rawOutput);

    // Learns the values of the identifier items among `items`.
    void learnItems(const QList<HardwareItem> &items);
    // Learns the values of the identifier "key: value" lines of `text`.
    void learnText(QStringView text);

    // Rules 2 and 3 on free text (a title, a detail, a warning).
    [[nodiscard]] QString maskText(QStringView text) const;
    // An identifier item's value is masked whole; title, value and detail get
    // rules 2 and 3; id, category and source are kept.
    [[nodiscard]] HardwareItem maskItem(const HardwareItem &item) const;
    [[nodiscard]] QList<HardwareItem> maskItems(const QList<HardwareItem> &items) const;
    [[nodiscard]] QStringList maskTexts(const QStringList &texts) const;
    // Tool output, line by line: the value of a "key: value" line whose key is
    // an identifier is masked in place (indentation, key, spacing and line
    // breaks kept); every line then gets rules 2 and 3.
    [[nodiscard]] QString maskRawText(QStringView text) const;

    // The distinctive identifier values learned so far.
    [[nodiscard]] QStringList knownValues() const;

private:
    void learnValue(QStringView value);
    // Length of the known value, MAC or UUID that starts at `at`, or 0.
    [[nodiscard]] qsizetype matchAt(QStringView text, qsizetype at) const;
    [[nodiscard]] qsizetype knownValueAt(QStringView text, qsizetype at) const;
    // Rules 2 and 3 on `text`; true, with the result in `out`, when anything
    // was masked (otherwise `out` is left alone, so callers keep sharing the
    // original string).
    bool maskInto(QStringView text, QString &out) const;

    // Known values by a hash of their case-folded text: at a word start, the
    // candidates of every length are looked up while one hash grows over the
    // text, so a scan with thousands of serial numbers costs no more than one
    // with a few.
    QMultiHash<std::size_t, QString> m_valuesByHash;
    // hasLength[n]: some known value is n code units long.
    std::vector<bool> m_hasLength;
    // firstChars[c]: some known value starts with c (case folded).
    std::vector<bool> m_firstChars;
};
