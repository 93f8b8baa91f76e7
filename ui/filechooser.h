#pragma once

#include "browser/services.h"
#include "ui/portalfilechooser.h"
#include "ui/savedialogcontroller.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWindow>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

// Every file question of the window: where to save a report and which report
// to open. Asks the desktop's own file chooser through the portal when the
// session has one, else (and whenever the portal fails) the window's own
// dialog, so the user always gets a dialog. Each question is answered once.
class FileChooser : public QObject, public SaveLocationProvider {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the window host")

public:
    // The filters of a file to open.
    static QStringList openFilters();

    // Without a bus, the portal is looked for on the session bus.
    explicit FileChooser(SaveDialogController &inWindow,
                         std::optional<QDBusConnection> bus = std::nullopt,
                         QObject *parent = nullptr);

    void setWindow(QWindow *window) { m_window = window; }
    void setAlertPresenter(AlertPresenter *alerts) { m_alerts = alerts; }
    [[nodiscard]] PortalFileChooser &portal() { return m_portal; }

    void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                         std::function<void(std::optional<SaveLocation>)> done) override;
    // Which existing file to open: its local path, or nothing.
    void askOpenLocation(const QString &title, std::function<void(std::optional<QString>)> done);

    // For QML: asks which file to open, and answers with fileChosen(request,
    // file) unless cancelled. Returns the request's number.
    Q_INVOKABLE int chooseFile(const QString &title);

Q_SIGNALS:
    void fileChosen(int request, const QUrl &file);

private:
    [[nodiscard]] QString parentWindow() const;
    // The local path of the portal's answer; an alert and nothing for a
    // location that is not a local file.
    [[nodiscard]] std::optional<QString> localPath(const QString &uri);

    SaveDialogController &m_inWindow;
    PortalFileChooser m_portal;
    QPointer<QWindow> m_window;
    AlertPresenter *m_alerts = nullptr;
    QString m_lastFolder;
    int m_lastRequest = 0;
};
