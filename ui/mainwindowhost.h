#pragma once

#include "browser/browsermodel.h"
#include "ui/alertpresenter.h"

#include <QObject>
#include <QQmlApplicationEngine>

#include <memory>

class QQuickWindow;

// Puts the main window together: the browsing model with its platform
// services, the QML engine with the symbol icons, and Main.qml bound to the
// model. The application and the UI tests build the window the same way; tests
// pass a fake scan source.
class MainWindowHost : public QObject {
    Q_OBJECT

public:
    // A null scanner means the real one (the bundled tool).
    explicit MainWindowHost(std::shared_ptr<ScanSource> scanner = {}, QObject *parent = nullptr);
    ~MainWindowHost() override;

    // Loads Main.qml; false (with the engine's messages on standard error) when
    // it could not be created.
    [[nodiscard]] bool load();

    [[nodiscard]] QQuickWindow *window() const;
    [[nodiscard]] BrowserModel &model() { return *m_model; }
    [[nodiscard]] QQmlApplicationEngine &engine() { return *m_engine; }
    [[nodiscard]] SignalAlertPresenter &alerts() { return m_alerts; }

    // Swaps the save location question (the default answers "cancelled").
    void setSaveLocationProvider(std::unique_ptr<SaveLocationProvider> provider);
    void setAlertPresenter(std::unique_ptr<AlertPresenter> presenter);

    static constexpr const char *mainQmlUrl = "qrc:/Kestrin/Main.qml";

private:
    // Declaration order matters: the engine (and the QML that binds to the
    // model) goes first, then the model, then the services it points to.
    std::unique_ptr<ClipboardService> m_clipboard;
    std::unique_ptr<SaveLocationProvider> m_saveProvider;
    SignalAlertPresenter m_alerts;
    std::unique_ptr<AlertPresenter> m_alertOverride;
    std::unique_ptr<BrowserModel> m_model;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
};
