#pragma once

#include "browser/services.h"

#include <QFileDialog>
#include <QObject>
#include <QPointer>
#include <QWindow>

// Asks for the report's location with the desktop's save dialog: the native or
// portal dialog when the platform theme offers one, otherwise Qt's own dialog
// in the window's dark colours. The dialog blocks the application's windows
// while it is open.
// Answers every request as cancelled: for hosts without a desktop (the UI
// tests), where no dialog can be shown.
class UnavailableSaveLocationProvider : public SaveLocationProvider {
public:
    void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                         std::function<void(std::optional<QString>)> done) override;
};

// Needs a QApplication (the dialog is a widget).
class FileDialogSaveLocationProvider : public QObject, public SaveLocationProvider {
    Q_OBJECT

public:
    explicit FileDialogSaveLocationProvider(QObject *parent = nullptr);
    ~FileDialogSaveLocationProvider() override;

    // The window the dialog belongs to (placed over it); may be null.
    void setParentWindow(QWindow *window) { m_parentWindow = window; }

    void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                         std::function<void(std::optional<QString>)> done) override;

    // The dialog while it is open (tests drive it).
    [[nodiscard]] QFileDialog *activeDialog() const { return m_dialog; }

private:
    QPointer<QWindow> m_parentWindow;
    QPointer<QFileDialog> m_dialog;
};
