#include "browser/reporttext.h"

namespace ReportText {

QString generatedStamp(const QDateTime &when)
{
    // The format string is read with the C locale, so digits stay ASCII.
    return when.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000");
}

namespace {

qsizetype blockSize(const HardwareItem &item)
{
    return 40 + rawValue(item.category).size() + item.title.size() + item.value.size() +
           item.detail.size() + item.source.size();
}

} // namespace

void appendItemBlock(QString &text, const HardwareItem &item)
{
    text += u'[';
    text += rawValue(item.category);
    text += u"] ";
    text += item.title;
    text += u": ";
    text += item.value;
    text += u'\n';
    if (!item.detail.isEmpty()) {
        text += u"  Detail: ";
        text += item.detail;
        text += u'\n';
    }
    text += u"  Source: ";
    text += item.source;
    text += u'\n';
}

QString render(HardwareCategory category, const QList<HardwareItem> &items,
               const QDateTime &generatedAt)
{
    const QString &categoryTitle = rawValue(category);
    qsizetype size = 64 + categoryTitle.size();
    for (const HardwareItem &item : items) {
        size += blockSize(item);
    }
    QString text;
    text.reserve(size);
    text += u"Kestrin\nGenerated: ";
    text += generatedStamp(generatedAt);
    text += u"\nCategory: ";
    text += categoryTitle;
    text += u'\n';
    // Each block starts with the empty line that ends the one before it (or
    // the heading), so the last block leaves a single trailing line feed.
    for (const HardwareItem &item : items) {
        text += u'\n';
        appendItemBlock(text, item);
    }
    return text;
}

QString renderItems(const QList<HardwareItem> &items)
{
    qsizetype size = 0;
    for (const HardwareItem &item : items) {
        size += blockSize(item);
    }
    QString text;
    text.reserve(size);
    for (const HardwareItem &item : items) {
        if (!text.isEmpty()) {
            text += u'\n';
        }
        appendItemBlock(text, item);
    }
    return text;
}

} // namespace ReportText
