#include "ui/savelocationprovider.h"

#include "ui/dialogpalette.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QWindow>

void UnavailableSaveLocationProvider::askSaveLocation(
    const QString &suggestedFileName, const QStringList &nameFilters,
    std::function<void(std::optional<QString>)> done)
{
    Q_UNUSED(suggestedFileName);
    Q_UNUSED(nameFilters);
    if (done) {
        done(std::nullopt);
    }
}

FileDialogSaveLocationProvider::FileDialogSaveLocationProvider(QObject *parent) : QObject(parent) {}

FileDialogSaveLocationProvider::~FileDialogSaveLocationProvider()
{
    // A dialog still open when the application goes away ends as cancelled.
    delete m_dialog.data();
}

void FileDialogSaveLocationProvider::askSaveLocation(
    const QString &suggestedFileName, const QStringList &nameFilters,
    std::function<void(std::optional<QString>)> done)
{
    if (m_dialog) {
        // The open dialog blocks the window, so a second request can only come
        // from code; it must not stack a second dialog.
        m_dialog->raise();
        m_dialog->activateWindow();
        if (done) {
            done(std::nullopt);
        }
        return;
    }

    auto *dialog = new QFileDialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setPalette(darkDialogPalette());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Read-only would hide "Create New Folder".
    dialog->setOption(QFileDialog::ReadOnly, false);
    dialog->setNameFilters(nameFilters);
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    dialog->selectFile(suggestedFileName);
    dialog->setWindowModality(Qt::ApplicationModal);

    QWindow *parentWindow = m_parentWindow ? m_parentWindow.data() : QGuiApplication::focusWindow();
    if (parentWindow) {
        dialog->winId();
        if (QWindow *handle = dialog->windowHandle())
            handle->setTransientParent(parentWindow);
    }

    // `finished` fires exactly once per dialog, for Save, Cancel, Escape and
    // the window's close button alike.
    auto callback = std::make_shared<std::function<void(std::optional<QString>)>>(std::move(done));
    connect(dialog, &QDialog::finished, this, [dialog, callback](int result) {
        std::optional<QString> location;
        if (result == QDialog::Accepted) {
            const QStringList files = dialog->selectedFiles();
            if (!files.isEmpty() && !files.constFirst().isEmpty())
                location = files.constFirst();
        }
        if (*callback) {
            auto run = std::exchange(*callback, {});
            run(location);
        }
    });
    // Destroyed without finishing (application shutting down): report a cancel.
    connect(dialog, &QObject::destroyed, this, [callback] {
        if (*callback) {
            auto run = std::exchange(*callback, {});
            run(std::nullopt);
        }
    });

    m_dialog = dialog;
    dialog->show();
}
