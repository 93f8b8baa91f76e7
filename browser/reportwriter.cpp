#include "browser/reportwriter.h"

#include <QSaveFile>

namespace ReportWriter {

std::optional<QString> writeUtf8Atomically(const QString &path, const QString &text)
{
    QSaveFile file(path);
    // Writing in place would give up atomicity; fail instead.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    // commit() flushes, syncs and renames; any failure there discards the
    // temporary file.
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

} // namespace ReportWriter
