#include "ui/mainwindowhost.h"

#include "ui/clipboardservice.h"
#include "ui/savelocationprovider.h"
#include "ui/symbolimageprovider.h"

#include <QQmlContext>
#include <QQuickWindow>

MainWindowHost::MainWindowHost(std::shared_ptr<ScanSource> scanner, QObject *parent)
    : QObject(parent), m_clipboard(std::make_unique<GuiClipboardService>()),
      m_saveProvider(std::make_unique<UnavailableSaveLocationProvider>()),
      m_model(std::make_unique<BrowserModel>(std::move(scanner))),
      m_engine(std::make_unique<QQmlApplicationEngine>())
{
    m_model->setClipboardService(m_clipboard.get());
    m_model->setSaveLocationProvider(m_saveProvider.get());
    m_model->setAlertPresenter(&m_alerts);

    // The engine takes ownership of the provider.
    m_engine->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    m_engine->setInitialProperties({
        {QStringLiteral("browser"), QVariant::fromValue(static_cast<QObject *>(m_model.get()))},
        {QStringLiteral("alerts"), QVariant::fromValue(static_cast<QObject *>(&m_alerts))},
    });
}

MainWindowHost::~MainWindowHost()
{
    // The window's bindings read the model until the last moment.
    m_engine.reset();
}

bool MainWindowHost::load()
{
    m_engine->load(QUrl(QString::fromLatin1(mainQmlUrl)));
    return window() != nullptr;
}

QQuickWindow *MainWindowHost::window() const
{
    const QList<QObject *> roots = m_engine->rootObjects();
    return roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(roots.constFirst());
}

void MainWindowHost::setSaveLocationProvider(std::unique_ptr<SaveLocationProvider> provider)
{
    if (!provider) {
        return;
    }
    m_model->setSaveLocationProvider(provider.get());
    m_saveProvider = std::move(provider);
}

void MainWindowHost::setAlertPresenter(std::unique_ptr<AlertPresenter> presenter)
{
    m_model->setAlertPresenter(presenter ? presenter.get() : &m_alerts);
    m_alertOverride = std::move(presenter);
}
