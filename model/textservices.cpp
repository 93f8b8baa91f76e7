#include "model/textservices.h"

#include <QLocale>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace Text {

qsizetype nextNewline(const char16_t *data, qsizetype from, qsizetype size)
{
    // A lambda, not the function's address, so that the test is inlined.
    const char16_t *found =
        std::find_if(data + from, data + size, [](char16_t c) { return isNewline(c); });
    return found - data;
}

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

QString StringArena::add(QStringView first, QStringView second, QStringView third)
{
    QString result;
    result.reserve(first.size() + second.size() + third.size());
    result.append(first);
    result.append(second);
    result.append(third);
    return result;
}

QString joined(QStringView left, QStringView right)
{
    // One allocation of the exact size: items' titles are made this way by the
    // million.
    QString result(left.size() + joiner().size() + right.size(), Qt::Uninitialized);
    QChar *out = result.data();
    out = std::copy(left.begin(), left.end(), out);
    out = std::copy(joiner().begin(), joiner().end(), out);
    std::copy(right.begin(), right.end(), out);
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

} // namespace Text
