#include "ui/savedialogcontroller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <QVariantMap>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// ".txt" of "Plain text (*.txt)"; empty when the filter names no single suffix.
QString suffixOf(const QString &nameFilter)
{
    static const QRegularExpression pattern(QStringLiteral(R"(\*\.([A-Za-z0-9]+)\b)"));
    const QRegularExpressionMatch match = pattern.match(nameFilter);
    return match.hasMatch() ? QStringLiteral(".") + match.captured(1) : QString();
}

bool hasSuffix(const QString &fileName)
{
    // A leading dot names a hidden file, not a suffix.
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && dot < fileName.size() - 1;
}

} // namespace

SaveTarget resolveSaveTarget(const QString &folder, const QString &typed, const QString &nameFilter,
                             const QString &home)
{
    const QString name = typed.trimmed();
    if (name.isEmpty() || name.contains(QChar(u'\0'))) {
        return {};
    }
    QString path;
    if (name == u"~" || name.startsWith(u"~/")) {
        path = home + name.mid(1);
    } else if (QDir::isAbsolutePath(name)) {
        path = name;
    } else {
        path = folder + QLatin1Char('/') + name;
    }
    const bool namesFolder = name.endsWith(QLatin1Char('/')) || name == u"~";
    path = QDir::cleanPath(path);
    const QFileInfo info(path);
    if (namesFolder || info.isDir()) {
        return {SaveTarget::Kind::folder, path};
    }
    const QString fileName = info.fileName();
    if (fileName.isEmpty() || fileName == u"." || fileName == u"..") {
        return {};
    }
    if (!hasSuffix(fileName)) {
        path += suffixOf(nameFilter);
    }
    return {SaveTarget::Kind::file, path};
}

QString nameForFilter(const QString &name, const QStringList &nameFilters, int filterIndex)
{
    const QString wanted = suffixOf(nameFilters.value(filterIndex));
    if (wanted.isEmpty()) {
        return name;
    }
    for (const QString &filter : nameFilters) {
        const QString suffix = suffixOf(filter);
        if (!suffix.isEmpty() && name.endsWith(suffix, Qt::CaseInsensitive) &&
            name.size() > suffix.size()) {
            return name.left(name.size() - suffix.size()) + wanted;
        }
    }
    return name;
}

SaveDialogController::SaveDialogController(QObject *parent) : QObject(parent) {}

SaveDialogController::~SaveDialogController()
{
    // A question still open when the window goes away ends as cancelled.
    finish(std::nullopt);
}

void SaveDialogController::askSaveLocation(const QString &suggestedFileName,
                                           const QStringList &nameFilters,
                                           std::function<void(std::optional<SaveLocation>)> done)
{
    if (!done) {
        return;
    }
    if (!takeQuestion(tr("Save Report"), nameFilters)) {
        done(std::nullopt);
        return;
    }
    m_done = std::move(done);
    m_suggestedFileName = suggestedFileName;
    Q_EMIT activeChanged();
}

void SaveDialogController::askOpenLocation(const QString &title, const QStringList &nameFilters,
                                           std::function<void(std::optional<QString>)> done)
{
    if (!done) {
        return;
    }
    if (!takeQuestion(title, nameFilters)) {
        done(std::nullopt);
        return;
    }
    m_openDone = std::move(done);
    m_suggestedFileName.clear();
    Q_EMIT activeChanged();
}

bool SaveDialogController::takeQuestion(const QString &title, const QStringList &nameFilters)
{
    // The open dialog blocks the window, so a second request can only come
    // from code; it must not take over the question that is open.
    if (isActive()) {
        return false;
    }
    m_title = title;
    m_nameFilters = nameFilters;
    return true;
}

QString SaveDialogController::startFolder() const
{
    if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir()) {
        return m_lastFolder;
    }
    return homeFolder();
}

QString SaveDialogController::homeFolder() const
{
    return QDir::homePath();
}

void SaveDialogController::accept(const QString &path, int filterIndex)
{
    if (path.isEmpty()) {
        finish(std::nullopt);
        return;
    }
    const QString cleaned = QDir::cleanPath(path);
    m_lastFolder = QFileInfo(cleaned).absolutePath();
    finish(SaveLocation{cleaned, filterIndex});
}

void SaveDialogController::reject()
{
    finish(std::nullopt);
}

void SaveDialogController::finish(std::optional<SaveLocation> location)
{
    if (m_openDone) {
        auto done = std::exchange(m_openDone, {});
        Q_EMIT activeChanged();
        done(location ? std::optional<QString>(location->path) : std::nullopt);
        return;
    }
    if (!m_done) {
        return;
    }
    auto done = std::exchange(m_done, {});
    Q_EMIT activeChanged();
    done(std::move(location));
}

QVariantMap SaveDialogController::resolveOpen(const QString &folder, const QString &typed) const
{
    const SaveTarget target = resolveSaveTarget(folder, typed, {}, homeFolder());
    const auto refused = [](const QString &error) {
        return QVariantMap{{QStringLiteral("kind"), QStringLiteral("invalid")},
                           {QStringLiteral("error"), error}};
    };
    if (target.kind == SaveTarget::Kind::invalid) {
        return refused(tr("Choose a report to open."));
    }
    const QFileInfo info(target.path);
    if (target.kind == SaveTarget::Kind::folder) {
        if (!info.isDir()) {
            return refused(tr("The folder \u201c%1\u201d does not exist.").arg(info.fileName()));
        }
        return {{QStringLiteral("kind"), QStringLiteral("folder")},
                {QStringLiteral("path"), target.path}};
    }
    if (!info.exists()) {
        return refused(tr("\u201c%1\u201d does not exist.").arg(info.fileName()));
    }
    // Opening it is the only sure test that it can be read.
    QFile file(target.path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        return refused(tr("\u201c%1\u201d cannot be read.").arg(info.fileName()));
    }
    return {{QStringLiteral("kind"), QStringLiteral("file")},
            {QStringLiteral("path"), target.path}};
}

QVariantMap SaveDialogController::resolve(const QString &folder, const QString &typed,
                                          int filterIndex) const
{
    const QString filter = m_nameFilters.value(filterIndex);
    const SaveTarget target = resolveSaveTarget(folder, typed, filter, homeFolder());
    QString kind = QStringLiteral("invalid");
    if (target.kind == SaveTarget::Kind::folder) {
        kind = QStringLiteral("folder");
    } else if (target.kind == SaveTarget::Kind::file) {
        kind = QStringLiteral("file");
    }
    const QFileInfo info(target.path);
    return {
        {QStringLiteral("kind"), kind},
        {QStringLiteral("path"), target.path},
        {QStringLiteral("fileName"), info.fileName()},
        {QStringLiteral("exists"), !target.path.isEmpty() && info.exists()},
        {QStringLiteral("folderExists"),
         !target.path.isEmpty() && QFileInfo(info.absolutePath()).isDir()},
    };
}

QString SaveDialogController::parentFolder(const QString &folder) const
{
    QDir dir(folder);
    if (!dir.cdUp()) {
        return QDir::cleanPath(folder);
    }
    return dir.absolutePath();
}

QVariantMap SaveDialogController::createFolder(const QString &parent, const QString &name) const
{
    const auto failure = [](const QString &text) {
        return QVariantMap{{QStringLiteral("error"), text}};
    };
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        return failure(tr("Type a name for the new folder."));
    }
    if (trimmed.contains(QLatin1Char('/')) || trimmed.contains(QChar(u'\0')) || trimmed == u"." ||
        trimmed == u"..") {
        return failure(tr("A folder name cannot contain \"/\" or be \".\" or \"..\"."));
    }
    const QString path = QDir::cleanPath(parent + QLatin1Char('/') + trimmed);
    if (QFileInfo::exists(path)) {
        return failure(tr("\"%1\" already exists.").arg(trimmed));
    }
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
        const int error = errno;
        return failure(tr("The folder \"%1\" could not be created: %2")
                           .arg(trimmed, QString::fromLocal8Bit(std::strerror(error))));
    }
    return {{QStringLiteral("path"), path}};
}

QUrl SaveDialogController::urlOf(const QString &path) const
{
    return QUrl::fromLocalFile(path);
}
