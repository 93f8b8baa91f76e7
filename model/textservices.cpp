#include "model/textservices.h"

#include <QLocale>
#include <QSet>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace Text {

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    forEachLine(text, [&lines](QStringView line) { lines.append(line); });
    return lines;
}

QString decodeUtf8Strict(QByteArrayView bytes, bool *valid)
{
    const bool ok = QUtf8StringView(bytes.data(), bytes.size()).isValidUtf8();
    if (valid) {
        *valid = ok;
    }
    return ok ? QString::fromUtf8(bytes) : QString();
}

QString lowered(const QString &text)
{
    bool upper = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80) {
            return text.toLower();
        }
        upper = upper || (u >= u'A' && u <= u'Z');
    }
    if (!upper) {
        return text;
    }
    QString result = text;
    for (QChar &c : result) {
        if (c >= u'A' && c <= u'Z') {
            c = QChar(static_cast<char16_t>(c.unicode() + 32));
        }
    }
    return result;
}

QString joined(QStringView left, QStringView right)
{
    QString result;
    result.reserve(left.size() + right.size() + 3);
    result += left;
    result += joiner();
    result += right;
    return result;
}

qsizetype graphemeCountUpTo(QStringView text, qsizetype limit)
{
    if (text.isEmpty() || limit <= 0) {
        return 0;
    }
    // Two ASCII code units in front are two clusters unless they are CR LF.
    if (limit <= 2 && text.size() >= 2 && text[0].unicode() < 0x80 && text[1].unicode() < 0x80 &&
        !(text[0] == u'\r' && text[1] == u'\n')) {
        return 2;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype count = 0;
    while (count < limit && finder.toNextBoundary() > 0) {
        ++count;
    }
    return count;
}

QLocale collationLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C || system.name() == QLatin1String("C")) {
        return QLocale(QLocale::English, QLocale::UnitedStates);
    }
    return system;
}

StandardComparator::StandardComparator()
    : m_collator(std::make_shared<QCollator>(collationLocale()))
{
    m_collator->setNumericMode(true);
    // Case-insensitive maps to ICU's secondary strength, which also ignores width.
    m_collator->setCaseSensitivity(Qt::CaseInsensitive);
    m_collator->setIgnorePunctuation(false);
}

int StandardComparator::compare(QStringView left, QStringView right) const
{
    const int collated = m_collator->compare(left, right);
    if (collated != 0) {
        return collated;
    }
    return left.compare(right, Qt::CaseSensitive);
}

QHash<QString, int> StandardComparator::ranks(QList<QString> strings) const
{
    QSet<QString> distinct;
    distinct.reserve(strings.size());
    for (QString &string : strings) {
        distinct.insert(std::move(string));
    }
    strings = QList<QString>(distinct.cbegin(), distinct.cend());
    std::sort(strings.begin(), strings.end(),
              [this](const QString &a, const QString &b) { return lessThan(a, b); });
    QHash<QString, int> result;
    result.reserve(strings.size());
    for (qsizetype i = 0; i < strings.size(); ++i) {
        result.insert(strings[i], static_cast<int>(i));
    }
    return result;
}

} // namespace Text
