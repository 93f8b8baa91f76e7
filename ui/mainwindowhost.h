#pragma once

#include "browser/browsermodel.h"
#include "ui/alertpresenter.h"
#include "ui/filechooser.h"
#include "ui/savedialogcontroller.h"

#include <QObject>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSize>

#include <memory>

// Puts the main window together: the browsing model with its platform
// services, the window, and Main.qml bound to the model. The application and
// the UI tests build the window the same way; tests pass a fake scan source.
//
// Start-up order is part of the design: the window is created and shown before
// the QML engine exists, so it appears on screen while the interface is being
// built. The first frame draws the sidebar, the heading and the placeholder;
// once it is on screen, the menu bar, toolbar and footer are built and the
// first scan starts, so neither competes with drawing it.
class MainWindowHost : public QObject {
    Q_OBJECT

public:
    // A null scanner means the real one (the bundled tool).
    explicit MainWindowHost(std::shared_ptr<ScanSource> scanner = {}, QObject *parent = nullptr);
    ~MainWindowHost() override;

    // Shows the window and builds its content; false (with the engine's
    // messages on standard error) when the content could not be created.
    [[nodiscard]] bool load();

    [[nodiscard]] QQuickWindow *window() const { return m_window.get(); }
    [[nodiscard]] BrowserModel &model() { return *m_model; }
    [[nodiscard]] QQmlEngine &engine() { return *m_engine; }
    [[nodiscard]] SignalAlertPresenter &alerts() { return m_alerts; }
    [[nodiscard]] SaveDialogController &saveDialog() { return m_saveDialog; }
    [[nodiscard]] FileChooser &fileChooser() { return m_fileChooser; }

    // Swaps the save location question (the default is the desktop's file
    // chooser, else the window's own save dialog).
    void setSaveLocationProvider(std::unique_ptr<SaveLocationProvider> provider);
    void setAlertPresenter(std::unique_ptr<AlertPresenter> presenter);
    // A saved report to show in place of the first scan (`kestrin FILE`). If
    // it cannot be read, its message is shown and this computer is scanned.
    void setInitialReport(const QString &path) { m_initialReport = path; }

    static constexpr const char *mainQmlUrl = "qrc:/Kestrin/Main.qml";
    // Fits a 1366 x 768 laptop screen below its panels and title bar.
    static constexpr QSize defaultSize{1180, 700};
    static constexpr QSize minimumSize{960, 640};

private:
    void finishAfterFirstFrame();
    void restoreSettings();

    // Declaration order matters: the window and the engine (and the QML that
    // binds to the model) go first, then the model, then the services it
    // points to.
    QString m_initialReport;
    std::unique_ptr<ClipboardService> m_clipboard;
    SaveDialogController m_saveDialog;
    FileChooser m_fileChooser;
    std::unique_ptr<SaveLocationProvider> m_saveProvider;
    SignalAlertPresenter m_alerts;
    std::unique_ptr<AlertPresenter> m_alertOverride;
    std::unique_ptr<BrowserModel> m_model;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    std::unique_ptr<QQuickItem> m_content;
};
