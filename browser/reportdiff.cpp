#include "browser/reportdiff.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace ReportDiff {

QString matchKey(const HardwareItem &item)
{
    return QString::number(static_cast<int>(item.category)) + QChar(u'\x1f') + item.title +
           QChar(u'\x1f') + stableDetail(item);
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

Result compare(const QList<HardwareItem> &before, const QList<HardwareItem> &after)
{
    QHash<QString, QList<qsizetype>> unmatchedAfter;
    QList<QString> afterKeys;
    afterKeys.reserve(after.size());
    for (qsizetype i = 0; i < after.size(); ++i) {
        afterKeys.append(matchKey(after[i]));
        unmatchedAfter[afterKeys.last()].append(i);
    }

    QList<bool> afterUsed(after.size(), false);
    QList<qsizetype> beforeLeft;
    QList<QString> beforeKeys;
    beforeKeys.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        beforeKeys.append(matchKey(before[i]));
        auto &candidates = unmatchedAfter[beforeKeys.last()];
        const auto same = std::find_if(candidates.begin(), candidates.end(), [&](qsizetype j) {
            return after[j].value == before[i].value;
        });
        if (same != candidates.end()) {
            afterUsed[*same] = true;
            candidates.erase(same);
        } else {
            beforeLeft.append(i);
        }
    }

    Result result;
    for (const qsizetype i : beforeLeft) {
        auto &candidates = unmatchedAfter[beforeKeys[i]];
        if (candidates.isEmpty()) {
            result.removed.append(before[i]);
            continue;
        }
        const qsizetype j = candidates.takeFirst();
        afterUsed[j] = true;
        result.changed.append({before[i], after[j]});
    }
    for (qsizetype j = 0; j < after.size(); ++j) {
        if (!afterUsed[j])
            result.added.append(after[j]);
    }
    return result;
}

} // namespace ReportDiff
