#include "browser/reportdiff.h"

#include <QRegularExpression>

#include <algorithm>

namespace ReportDiff {

namespace {

const QChar separator(u'\x1f');
const QString bullet = QStringLiteral(" \u2022 ");

// One fact as part of a record: a firmware table's instance or a listed device.
struct Fact {
    QString record; // within one report: which facts belong together
    QString type;   // the table's name or the device's kind
    QString title;  // the fact's own title within its record
    QString device; // a listed device's address ("nvme0n1", "1-3") and name
    QString name;
    bool listed = false;
};

// A device listing's facts read "[disk: nvme0n1] Samsung SSD • size" and its
// device rows "Device" = "[disk: nvme0n1] Samsung SSD"; a firmware table's
// facts carry the table in their detail, one instance per handle.
Fact factOf(const HardwareItem &item)
{
    Fact fact;
    const QString category = QString::number(static_cast<int>(item.category)) + separator;
    QString head;
    if (item.title.startsWith(u'[')) {
        const qsizetype cut = item.title.lastIndexOf(bullet);
        if (cut > 0) {
            head = item.title.left(cut);
            fact.title = item.title.mid(cut + bullet.size());
        }
    } else if (item.title == u"Device" && item.value.startsWith(u'[')) {
        head = item.value;
        fact.title = item.title;
    }
    const qsizetype colon = head.indexOf(u':');
    const qsizetype close = head.indexOf(u']');
    if (colon > 1 && close > colon) {
        fact.listed = true;
        fact.type = head.mid(1, colon - 1).trimmed();
        fact.device = head.mid(colon + 1, close - colon - 1).trimmed();
        fact.name = head.mid(close + 1).trimmed();
        fact.record = category + head;
        return fact;
    }
    fact.type = stableDetail(item);
    fact.title = item.title;
    fact.record = category + item.detail;
    return fact;
}

// The facts that tell one instance of a table apart from the others, as the
// firmware names them; tables not listed here have no such facts.
QStringList tableIdentity(const QString &table)
{
    static const QHash<QString, QStringList> titles{
        {QStringLiteral("Memory Device"),
         {QStringLiteral("Locator"), QStringLiteral("Bank Locator")}},
        {QStringLiteral("System Slot Information"), {QStringLiteral("Designation")}},
        {QStringLiteral("Cache Information"), {QStringLiteral("Socket Designation")}},
        {QStringLiteral("Processor Information"), {QStringLiteral("Socket Designation")}},
        {QStringLiteral("Memory Module Information"), {QStringLiteral("Socket Designation")}},
        {QStringLiteral("Port Connector Information"),
         {QStringLiteral("Internal Reference Designator"),
          QStringLiteral("External Reference Designator")}},
        {QStringLiteral("Onboard Device"), {QStringLiteral("Reference Designation")}},
        {QStringLiteral("Cooling Device"), {QStringLiteral("Description")}},
    };
    return titles.value(table);
}

struct Record {
    QString type;
    QString identity;
    QString label;
};

// A record's identity from its own facts (title -> values). A -q output
// repeats no handles, so there one "record" can hold several devices' facts:
// two locators mean no identity, and the record is told apart by its order.
Record identify(const Fact &first, const QHash<QString, QStringList> &values)
{
    Record record{first.type, {}, {}};
    const auto one = [&values](const QString &title) {
        const QStringList found = values.value(title);
        return found.size() == 1 ? found.first() : QString();
    };
    if (!first.listed) {
        QStringList parts;
        for (const QString &title : tableIdentity(first.type)) {
            if (values.value(title).size() > 1)
                return record;
            if (const QString value = one(title); !value.isEmpty())
                parts.append(value);
        }
        if (first.type == u"System Slot Information" && parts.isEmpty())
            parts.append(one(QStringLiteral("ID")));
        record.identity = parts.join(separator);
        record.label = parts.join(QStringLiteral(", "));
        return record;
    }
    // Disks by what they are, so a renamed one is the same disk and a swapped
    // one is another; USB devices by port and product; devices whose number is
    // only the kernel's count (event3, video0, card0, hci0) by their name;
    // everything else (slots, PCI addresses, connectors, interfaces) by address.
    const QString &kind = first.type;
    if (kind == u"disk") {
        const QString what =
            one(QStringLiteral("model")) + separator + one(QStringLiteral("serial number"));
        record.identity = what.size() > 1 ? what : first.device;
    } else if (kind == u"usb") {
        record.identity = first.device + separator + one(QStringLiteral("vendor-id")) + u':' +
                          one(QStringLiteral("product-id"));
    } else if (kind == u"input" || kind == u"camera" || kind == u"sound" || kind == u"bluetooth") {
        record.identity = first.name;
    } else {
        record.identity = first.device;
    }
    return record;
}

} // namespace

Keys keysOf(const QList<HardwareItem> &report)
{
    QList<Fact> facts;
    facts.reserve(report.size());
    // Each record's first fact, in report order.
    QList<qsizetype> firstFacts;
    QHash<QString, QHash<QString, QStringList>> valuesByRecord;
    for (const HardwareItem &item : report) {
        facts.append(factOf(item));
        const Fact &fact = facts.last();
        auto found = valuesByRecord.find(fact.record);
        if (found == valuesByRecord.end()) {
            firstFacts.append(facts.size() - 1);
            found = valuesByRecord.insert(fact.record, {});
        }
        QStringList &values = (*found)[fact.title];
        if (!values.contains(item.value))
            values.append(item.value);
    }

    // Records with the same type and identity (or none) are told apart by
    // their order in the report, never by a handle number.
    QHash<QString, Record> records;
    QHash<QString, QString> recordKeys;
    QHash<QString, int> seen;
    for (const qsizetype i : firstFacts) {
        const QString &name = facts[i].record;
        Record record = identify(facts[i], valuesByRecord.value(name));
        const QString base = QString::number(static_cast<int>(report[i].category)) + separator +
                             record.type + separator + record.identity;
        const int count = seen[base]++;
        recordKeys.insert(name, count == 0 ? base : base + u'#' + QString::number(count));
        records.insert(name, std::move(record));
    }

    Keys keys;
    keys.key.reserve(report.size());
    for (qsizetype i = 0; i < report.size(); ++i) {
        const Fact &fact = facts[i];
        keys.key.insert(report[i].id, recordKeys.value(fact.record) + separator + fact.title);
        if (const QString &label = records.value(fact.record).label; !label.isEmpty())
            keys.label.insert(report[i].id, label);
    }
    return keys;
}

QString matchKey(const HardwareItem &item)
{
    return keysOf({item}).key.value(item.id);
}

QString stableDetail(const HardwareItem &item)
{
    // A dmidecode record's detail is "Memory Device • Handle 0x0012, DMI type
    // 17, 40 bytes" in a full output and "Memory Device" in a -q output of
    // the same machine: after a section title the handle line goes whole (the
    // title names the table). A bare handle line keeps only its type: the
    // handle number and the structure's length change with a firmware update.
    static const QRegularExpression joinedHandle(
        QStringLiteral("\\s*\u2022\\s*Handle 0x[0-9A-Fa-f]+,\\s*DMI type \\d+,\\s*\\d+ bytes"));
    static const QRegularExpression handle(QStringLiteral(R"(\bHandle 0x[0-9A-Fa-f]+,?\s*)"));
    static const QRegularExpression length(QStringLiteral(R"((DMI type \d+),\s*\d+ bytes)"));
    QString detail = item.detail;
    detail.remove(joinedHandle);
    detail.remove(handle);
    detail.replace(length, QStringLiteral("\\1"));
    return detail.simplified();
}

QString shownDetail(const Result &result, const HardwareItem &item)
{
    const auto found = result.labels.constFind(item.id);
    return found != result.labels.cend() ? *found : stableDetail(item);
}

Result compare(const QList<HardwareItem> &before, const QList<HardwareItem> &after)
{
    return compare(before, after, keysOf(before), keysOf(after));
}

Result compare(const QList<HardwareItem> &before, const QList<HardwareItem> &after,
               const Keys &beforeKeys, const Keys &afterKeys)
{
    const auto keyOf = [](const Keys &keys, const HardwareItem &item) {
        const auto found = keys.key.constFind(item.id);
        return found != keys.key.cend() ? *found : matchKey(item);
    };
    const auto counted = [](const HardwareItem &item) {
        return item.category != HardwareCategory::summary;
    };

    QHash<QString, QList<qsizetype>> unmatchedAfter;
    QList<bool> afterUsed(after.size(), true);
    for (qsizetype i = 0; i < after.size(); ++i) {
        if (counted(after[i])) {
            afterUsed[i] = false;
            unmatchedAfter[keyOf(afterKeys, after[i])].append(i);
        }
    }

    QList<std::pair<qsizetype, QString>> beforeLeft;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (!counted(before[i]))
            continue;
        QString key = keyOf(beforeKeys, before[i]);
        auto &candidates = unmatchedAfter[key];
        const auto same = std::find_if(candidates.begin(), candidates.end(), [&](qsizetype j) {
            return after[j].value == before[i].value;
        });
        if (same != candidates.end()) {
            afterUsed[*same] = true;
            candidates.erase(same);
        } else {
            beforeLeft.append({i, std::move(key)});
        }
    }

    Result result;
    const auto keepLabel = [&result](const Keys &keys, const HardwareItem &item) {
        if (const auto found = keys.label.constFind(item.id); found != keys.label.cend())
            result.labels.insert(item.id, *found);
    };
    for (const auto &[i, key] : beforeLeft) {
        auto &candidates = unmatchedAfter[key];
        keepLabel(beforeKeys, before[i]);
        if (candidates.isEmpty()) {
            result.removed.append(before[i]);
            continue;
        }
        const qsizetype j = candidates.takeFirst();
        afterUsed[j] = true;
        keepLabel(afterKeys, after[j]);
        result.changed.append({before[i], after[j]});
    }
    for (qsizetype j = 0; j < after.size(); ++j) {
        if (!afterUsed[j]) {
            keepLabel(afterKeys, after[j]);
            result.added.append(after[j]);
        }
    }
    return result;
}

} // namespace ReportDiff
