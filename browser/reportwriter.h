#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ReportWriter {

// Writes `text` as UTF-8 to `path` atomically: the data goes to a temporary
// file beside the target that then replaces it, so a failure leaves an
// existing file as it was and no temporary file behind. Returns the error
// text on failure, nothing on success.
[[nodiscard]] std::optional<QString> writeUtf8Atomically(const QString &path, const QString &text);

// The same for bytes that are already encoded.
[[nodiscard]] std::optional<QString> writeAtomically(const QString &path, const QByteArray &bytes);

} // namespace ReportWriter
