#include "browser/reportreader.h"

#include "model/textservices.h"
#include "scanner/hardwarescanner.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace ReportReader {

namespace {

QString neitherMessage()
{
    return QStringLiteral("The file is neither a Kestrin report nor a saved dmidecode or "
                          "--mac-hardware output.");
}

Outcome tooLarge()
{
    return {std::nullopt, QStringLiteral("The file is larger than 64 MiB, more than any report or "
                                         "tool output.")};
}

Outcome failure(QString message)
{
    return {std::nullopt, std::move(message)};
}

std::optional<Kind> toolOutputKind(QStringView text)
{
    // A device line of the listing: two spaces, then "[kind: name] title".
    static const QRegularExpression macDevice(QStringLiteral(R"(^  \[[^\]\n]+\] )"),
                                              QRegularExpression::MultilineOption);
    // What only dmidecode's full output prints: its version banner and the
    // handle line above every table.
    static const QRegularExpression fullMarker(
        QStringLiteral(R"(^(# dmidecode \d|Handle 0x[0-9A-Fa-f]+, DMI type \d+))"),
        QRegularExpression::MultilineOption);
    // -q output: a table name at the start of a line, its first field indented by a tab.
    static const QRegularExpression quietTable(QStringLiteral(R"(^[A-Za-z0-9][^\n]*\n\t[^\t\n]+:)"),
                                               QRegularExpression::MultilineOption);
    if (macDevice.match(text).hasMatch()) {
        return Kind::macHardware;
    }
    if (fullMarker.match(text).hasMatch()) {
        return Kind::dmidecodeFull;
    }
    if (quietTable.match(text).hasMatch()) {
        return Kind::dmidecodeQuiet;
    }
    return std::nullopt;
}

Outcome readToolOutput(Kind kind, QString text)
{
    HardwareScanner scanner;
    QList<ScanPart> parts;
    parts.append(kind == Kind::macHardware ? HardwareScanner::macHardwarePart(std::move(text))
                                           : scanner.classicPart(std::move(text)));
    Report report;
    report.kind = kind;
    report.scan = scanner.assemble(std::move(parts));
    return {std::move(report), {}};
}

bool isString(const QJsonValue &value)
{
    return value.isString() || value.isUndefined();
}

Outcome readJson(const QByteArray &bytes)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        // Text that breaks off before its end (a copy stopped half-way) ends
        // the parse at the last bytes; anything else is not a report at all.
        const qsizetype end = bytes.trimmed().size();
        const bool truncated = parseError.offset >= end - 1 ||
                               parseError.error == QJsonParseError::UnterminatedObject ||
                               parseError.error == QJsonParseError::UnterminatedArray ||
                               parseError.error == QJsonParseError::UnterminatedString;
        if (truncated) {
            return failure(QStringLiteral("The report is incomplete: its JSON ends early, "
                                          "probably cut off while it was copied or saved."));
        }
        return failure(neitherMessage());
    }
    if (!document.isObject()) {
        return failure(neitherMessage());
    }
    const QJsonObject root = document.object();
    const QJsonValue format = root.value(u"format");
    if (!format.isUndefined() && format.toString() != ReportFormat::formatName()) {
        return failure(neitherMessage());
    }
    const QJsonValue version = root.value(u"formatVersion");
    if (!version.isUndefined()) {
        if (!version.isDouble()) {
            return failure(neitherMessage());
        }
        if (version.toDouble() > ReportFormat::formatVersion) {
            return failure(QStringLiteral("The report was saved by a newer version of Kestrin "
                                          "(report format %1); this version reads format %2. "
                                          "Update Kestrin to open it.")
                               .arg(version.toDouble())
                               .arg(ReportFormat::formatVersion));
        }
    }
    const QJsonValue items = root.value(u"items");
    if (!items.isArray() || !isString(root.value(u"rawOutput")) ||
        !(root.value(u"warnings").isArray() || root.value(u"warnings").isUndefined())) {
        return failure(neitherMessage());
    }

    Report report;
    const QJsonArray array = items.toArray();
    report.scan.items.reserve(array.size());
    for (const QJsonValue &value : array) {
        const QJsonObject item = value.toObject();
        if (!value.isObject() || !item.value(u"category").isString() ||
            !item.value(u"title").isString() || !isString(item.value(u"value")) ||
            !isString(item.value(u"detail")) || !isString(item.value(u"source"))) {
            return failure(neitherMessage());
        }
        // A category this version does not know goes to the catch-all, so
        // nothing in the file is lost.
        const HardwareCategory category = categoryFromRawValue(item.value(u"category").toString())
                                              .value_or(HardwareCategory::raw);
        report.scan.items.append(
            HardwareItem(category, item.value(u"title").toString(), item.value(u"value").toString(),
                         item.value(u"detail").toString(), item.value(u"source").toString()));
    }
    for (const QJsonValue &warning : root.value(u"warnings").toArray()) {
        if (!warning.isString()) {
            return failure(neitherMessage());
        }
        report.scan.warnings.append(warning.toString());
    }
    report.scan.rawOutput = root.value(u"rawOutput").toString();

    ReportFormat::Header &header = report.header;
    header.generated =
        QDateTime::fromString(root.value(u"generated").toString(), Qt::ISODate).toUTC();
    header.kestrinVersion = root.value(u"kestrinVersion").toString();
    header.hideIdentifiers = root.value(u"hideIdentifiers").toBool(false);
    if (root.value(u"category").isString()) {
        header.category = root.value(u"category").toString();
        header.search = root.value(u"search").toString();
    }
    if (root.value(u"scanItemCount").isDouble()) {
        header.scanItemCount = root.value(u"scanItemCount").toInteger();
    }
    if (header.category) {
        QString page =
            header.category->isEmpty() ? QStringLiteral("All categories") : *header.category;
        if (!header.search.isEmpty()) {
            page += QStringLiteral(" matching \u201c%1\u201d").arg(header.search);
        }
        page += header.scanItemCount ? QStringLiteral(", %1 of %2 items")
                                           .arg(report.scan.items.size())
                                           .arg(*header.scanItemCount)
                                     : QStringLiteral(", %1 items").arg(report.scan.items.size());
        report.pageNote = page;
    }
    return {std::move(report), {}};
}

} // namespace

Outcome readBytes(const QByteArray &bytes)
{
    if (bytes.size() > maxFileSize) {
        return tooLarge();
    }
    bool valid = true;
    QString text = Text::decodeUtf8Strict(bytes, &valid);
    if (!valid || bytes.contains('\0')) {
        return failure(QStringLiteral("The file holds binary data, not a report or a tool's "
                                      "text output."));
    }
    if (text.trimmed().startsWith(u'{')) {
        return readJson(bytes);
    }
    if (const std::optional<Kind> kind = toolOutputKind(text)) {
        return readToolOutput(*kind, std::move(text));
    }
    return failure(neitherMessage());
}

Outcome readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(QStringLiteral("The file cannot be read: %1.").arg(file.errorString()));
    }
    // The size is known before reading for a plain file; reading one byte more
    // than the limit also stops a file that grows or reports no size.
    if (file.size() > maxFileSize) {
        return tooLarge();
    }
    const QByteArray bytes = file.read(maxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return failure(QStringLiteral("The file cannot be read: %1.").arg(file.errorString()));
    }
    return readBytes(bytes);
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::kestrinReport:
        return QStringLiteral("Kestrin report");
    case Kind::dmidecodeFull:
        return QStringLiteral("dmidecode output");
    case Kind::dmidecodeQuiet:
        return QStringLiteral("dmidecode -q output");
    case Kind::macHardware:
        return QStringLiteral("--mac-hardware listing");
    }
    return {};
}

} // namespace ReportReader
