#include "browser/reportcompare.h"

#include "browser/itemfilter.h"
#include "browser/jsonwriter.h"
#include "browser/reportformat.h"
#include "model/identifiermask.h"

#include <QHash>
#include <QSet>

namespace ReportCompare {

namespace {

struct View {
    // What is compared and what is shown, item for item (same ids).
    QList<HardwareItem> compared;
    QHash<QUuid, HardwareItem> shownById;
    // Taken on the whole report, before filtering: a fact found by a search
    // still belongs to its device. Labels as shown, keys as compared.
    ReportDiff::Keys keys;
};

View viewOf(const Side &side, bool maskForComparison, const Filters &filters)
{
    const bool mask = !side.savedMasked && (filters.hideIdentifiers || maskForComparison);
    QList<HardwareItem> shown = side.scan.items;
    if (mask) {
        const IdentifierMasker masker(side.scan.items, side.scan.rawOutput);
        shown = masker.maskItems(side.scan.items);
    }
    // Filtered as shown, so a hidden value cannot be searched for.
    const QList<HardwareItem> kept =
        ItemFilter::filterItems(shown, filters.category, filters.search);
    QSet<QUuid> keptIds;
    View view;
    for (const HardwareItem &item : kept) {
        keptIds.insert(item.id);
        view.shownById.insert(item.id, item);
    }
    const QList<HardwareItem> &source =
        (side.savedMasked || maskForComparison) ? shown : side.scan.items;
    view.keys = ReportDiff::keysOf(source);
    if (mask && &source != &shown) {
        view.keys.label = ReportDiff::keysOf(shown).label;
    }
    for (const HardwareItem &item : source) {
        if (keptIds.contains(item.id)) {
            view.compared.append(item);
        }
    }
    return view;
}

QString line(const ReportDiff::Result &result, QChar mark, const HardwareItem &item,
             const QString &value)
{
    QString out = QString(mark) + QStringLiteral(" [") + rawValue(item.category) +
                  QStringLiteral("] ") + item.title + QStringLiteral(": ") + value;
    const QString detail = ReportDiff::shownDetail(result, item);
    if (!detail.isEmpty()) {
        out += QStringLiteral(" (") + detail + QLatin1Char(')');
    }
    return out + QLatin1Char('\n');
}

} // namespace

ReportDiff::Result compare(const Side &before, const Side &after, const Filters &filters)
{
    const bool anySavedMasked = before.savedMasked || after.savedMasked;
    const View old = viewOf(before, anySavedMasked, filters);
    const View now = viewOf(after, anySavedMasked, filters);
    ReportDiff::Result result = ReportDiff::compare(old.compared, now.compared, old.keys, now.keys);
    for (HardwareItem &item : result.removed) {
        item = old.shownById.value(item.id, item);
    }
    for (HardwareItem &item : result.added) {
        item = now.shownById.value(item.id, item);
    }
    for (ReportDiff::Change &change : result.changed) {
        change.before = old.shownById.value(change.before.id, change.before);
        change.after = now.shownById.value(change.after.id, change.after);
    }
    return result;
}

QByteArray text(const ReportDiff::Result &result)
{
    QString out;
    for (const HardwareItem &item : result.removed) {
        out += line(result, u'-', item, item.value);
    }
    for (const HardwareItem &item : result.added) {
        out += line(result, u'+', item, item.value);
    }
    for (const ReportDiff::Change &change : result.changed) {
        out += line(result, u'~', change.after,
                    change.before.value + QStringLiteral(" \u2192 ") + change.after.value);
    }
    return out.toUtf8();
}

QByteArray json(const ReportDiff::Result &result)
{
    QByteArray out;
    JsonWriter writer(out);
    const auto writeItems = [&writer](QStringView key, const QList<HardwareItem> &items) {
        writer.key(key);
        writer.beginArray();
        for (const HardwareItem &item : items) {
            ReportFormat::writeItem(writer, item);
        }
        writer.endArray();
    };
    // Keys in sorted order, as the comparisons written before this writer had them.
    writer.beginObject();
    writeItems(u"added", result.added);
    writer.key(u"changed");
    writer.beginArray();
    for (const ReportDiff::Change &change : result.changed) {
        writer.beginObject();
        writer.key(u"after");
        ReportFormat::writeItem(writer, change.after);
        writer.key(u"before");
        ReportFormat::writeItem(writer, change.before);
        writer.endObject();
    }
    writer.endArray();
    writeItems(u"removed", result.removed);
    writer.endObject();
    out.append('\n');
    return out;
}

} // namespace ReportCompare
