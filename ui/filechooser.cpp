#include "ui/filechooser.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

using Outcome = PortalFileChooser::Answer::Outcome;

QStringList FileChooser::openFilters()
{
    return {tr("Reports and tool outputs (*.json *.txt)"), tr("All files (*)")};
}

FileChooser::FileChooser(SaveDialogController &inWindow, std::optional<QDBusConnection> bus,
                         QObject *parent)
    : QObject(parent), m_inWindow(inWindow), m_portal(std::move(bus))
{}

QString FileChooser::parentWindow() const
{
    // The portal places its dialog over ours only for ids it can resolve;
    // under Wayland that needs an exported handle, which Qt 6.4 does not offer.
    if (m_window && QGuiApplication::platformName() == u"xcb") {
        return QStringLiteral("x11:") + QString::number(m_window->winId(), 16);
    }
    return {};
}

std::optional<QString> FileChooser::localPath(const QString &uri)
{
    const QUrl url(uri);
    if (url.isLocalFile() && !url.toLocalFile().isEmpty()) {
        const QString path = QDir::cleanPath(url.toLocalFile());
        m_lastFolder = QFileInfo(path).absolutePath();
        return path;
    }
    if (m_alerts != nullptr) {
        m_alerts->showError(tr("The chosen location is not a file on this computer: %1")
                                .arg(url.toDisplayString()));
    }
    return std::nullopt;
}

void FileChooser::askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                                  std::function<void(std::optional<SaveLocation>)> done)
{
    if (!done) {
        return;
    }
    PortalFileChooser::Question question{
        true, tr("Save Report"), nameFilters, 0, suggestedFileName, m_lastFolder, parentWindow()};
    m_portal.ask(question, [this, suggestedFileName, nameFilters,
                            done = std::move(done)](PortalFileChooser::Answer answer) mutable {
        switch (answer.outcome) {
        case Outcome::cancelled:
            done(std::nullopt);
            return;
        case Outcome::failed:
            m_inWindow.askSaveLocation(suggestedFileName, nameFilters, std::move(done));
            return;
        case Outcome::chosen:
            break;
        }
        const std::optional<QString> path = localPath(answer.uri);
        if (!path) {
            done(std::nullopt);
            return;
        }
        int filterIndex = answer.filterIndex;
        if (filterIndex < 0) {
            // The portal did not say which filter was chosen: the name's
            // suffix decides, as the name is what the user sees.
            filterIndex = 0;
            const QString suffix = QFileInfo(*path).suffix();
            for (qsizetype i = 0; i < nameFilters.size(); ++i) {
                if (!suffix.isEmpty() &&
                    nameFilters[i].contains(QStringLiteral("*.") + suffix, Qt::CaseInsensitive)) {
                    filterIndex = static_cast<int>(i);
                    break;
                }
            }
        }
        done(SaveLocation{*path, filterIndex});
    });
}

void FileChooser::askOpenLocation(const QString &title,
                                  std::function<void(std::optional<QString>)> done)
{
    if (!done) {
        return;
    }
    PortalFileChooser::Question question{false, title,        openFilters(), 0,
                                         {},    m_lastFolder, parentWindow()};
    m_portal.ask(question,
                 [this, title, done = std::move(done)](PortalFileChooser::Answer answer) mutable {
                     switch (answer.outcome) {
                     case Outcome::cancelled:
                         done(std::nullopt);
                         return;
                     case Outcome::failed:
                         m_inWindow.askOpenLocation(title, openFilters(), std::move(done));
                         return;
                     case Outcome::chosen:
                         done(localPath(answer.uri));
                         return;
                     }
                 });
}

int FileChooser::chooseFile(const QString &title)
{
    const int request = ++m_lastRequest;
    askOpenLocation(title, [this, request](std::optional<QString> path) {
        if (path) {
            Q_EMIT fileChosen(request, QUrl::fromLocalFile(*path));
        }
    });
    return request;
}
