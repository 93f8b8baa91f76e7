#include "browser/reportwriter.h"

#include <QSaveFile>

namespace ReportWriter {

std::optional<QString> writeUtf8Atomically(const QString &path, const QString &text)
{
    return writeAtomically(path, text.toUtf8());
}

std::optional<QString> writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Writing in place would give up atomicity; fail instead.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that every failure shows up in write(): a failure while
    // QSaveFile flushes its buffer inside commit() goes unnoticed in Qt 6.4,
    // and a truncated temporary file would replace the target.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return file.errorString();
    }
    qint64 written = 0;
    while (written < bytes.size()) {
        // A short write is followed by one that fails and says why (disk
        // full, file too large, ...).
        const qint64 chunk = file.write(bytes.constData() + written, bytes.size() - written);
        if (chunk <= 0) {
            const QString error = file.errorString();
            file.cancelWriting();
            return error;
        }
        written += chunk;
    }
    // commit() syncs and renames; a failure there discards the temporary file.
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

} // namespace ReportWriter
