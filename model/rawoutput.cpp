#include "model/rawoutput.h"

#include <QByteArray>

RawOutput::RawOutput(QString text) : m_text(std::move(text)) {}

void RawOutput::appendRun(QString header, QString output)
{
    m_runs.append(Run{std::move(header), std::move(output)});
}

qsizetype RawOutput::size() const
{
    qsizetype size = 0;
    forEachPiece([&size](QStringView piece) { size += piece.size(); });
    return size;
}

QString RawOutput::text() const
{
    if (m_runs.isEmpty()) {
        return m_text;
    }
    QString text;
    text.reserve(size());
    forEachPiece([&text](QStringView piece) { text += piece; });
    return text;
}

QByteArray RawOutput::toUtf8() const
{
    // No piece ends inside a surrogate pair that the next one completes (the
    // framing is ASCII), so converting piece by piece equals converting the
    // joined text.
    QByteArray bytes;
    forEachPiece([&bytes](QStringView piece) { bytes += piece.toUtf8(); });
    return bytes;
}

bool RawOutput::equals(QStringView text) const
{
    qsizetype at = 0;
    bool equal = true;
    forEachPiece([&](QStringView piece) {
        equal = equal && at + piece.size() <= text.size() && text.sliced(at, piece.size()) == piece;
        at += piece.size();
    });
    return equal && at == text.size();
}
