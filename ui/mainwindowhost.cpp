#include "ui/mainwindowhost.h"

#include "scanner/hardwarescanner.h"
#include "ui/appiconprovider.h"
#include "ui/clipboardservice.h"
#include "ui/fontwarmup.h"
#include "ui/spinnerprovider.h"
#include "ui/symbolimageprovider.h"

#include <QCoreApplication>
#include <QQmlComponent>
#include <QQuickItem>
#include <QSettings>
#include <QUrl>

#include <cstdio>

namespace {

// Whether identifiers are hidden, remembered between starts.
constexpr QLatin1StringView hideIdentifiersKey{"privacy/hideIdentifiers"};

} // namespace

MainWindowHost::MainWindowHost(std::shared_ptr<ScanSource> scanner, QObject *parent)
    : QObject(parent), m_clipboard(std::make_unique<GuiClipboardService>()),
      m_fileChooser(m_saveDialog),
      m_model(std::make_unique<BrowserModel>(scanner ? std::move(scanner)
                                                     : std::make_shared<HardwareScanner>()))
{
    m_model->setClipboardService(m_clipboard.get());
    m_model->setSaveLocationProvider(&m_fileChooser);
    m_model->setAlertPresenter(&m_alerts);
    m_fileChooser.setAlertPresenter(&m_alerts);
}

MainWindowHost::~MainWindowHost()
{
    // The content's bindings read the model until the last moment: content,
    // window and engine go before the model.
    m_content.reset();
    m_window.reset();
    m_engine.reset();
}

bool MainWindowHost::load()
{
    if (m_content) {
        return true;
    }
    if (!m_window) {
        m_window = std::make_unique<QQuickWindow>();
        m_window->setTitle(QStringLiteral("Kestrin"));
        m_window->resize(defaultSize);
        m_window->setMinimumSize(minimumSize);
        m_window->show();
    }
    m_fileChooser.setWindow(m_window.get());

    m_engine = std::make_unique<QQmlEngine>();
    // Qt.quit() from QML ends the application (and runs the quit hook).
    connect(m_engine.get(), &QQmlEngine::quit, QCoreApplication::instance(),
            &QCoreApplication::quit, Qt::QueuedConnection);
    // The engine takes ownership of the provider.
    m_engine->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    m_engine->addImageProvider(QStringLiteral("appicon"), new AppIconImageProvider);
    m_engine->addImageProvider(QStringLiteral("spinner"), new SpinnerImageProvider);

    const QUrl url(QString::fromLatin1(mainQmlUrl));
    // The QML types load on the engine's loader thread; meanwhile this thread
    // prepares the fonts the first frame lays its text out in.
    QQmlComponent preload(m_engine.get());
    preload.loadUrl(url, QQmlComponent::Asynchronous);
    prepareFirstFrameFonts();
    // Waits for that load (without running the event loop, so no frame is
    // drawn before there is content).
    QQmlComponent component(m_engine.get(), url);
    QObject *object = component.beginCreate(m_engine->rootContext());
    auto *content = qobject_cast<QQuickItem *>(object);
    if (content == nullptr) {
        delete object;
        const QString errors = component.errorString();
        std::fprintf(stderr, "kestrin: the window could not be built:\n%s\n",
                     errors.toLocal8Bit().constData());
        return false;
    }
    component.setInitialProperties(
        content,
        {
            {QStringLiteral("browser"), QVariant::fromValue(static_cast<QObject *>(m_model.get()))},
            {QStringLiteral("alerts"), QVariant::fromValue(static_cast<QObject *>(&m_alerts))},
            {QStringLiteral("saveDialog"), QVariant::fromValue(&m_saveDialog)},
            {QStringLiteral("fileChooser"), QVariant::fromValue(&m_fileChooser)},
            {QStringLiteral("firstFrameShown"), false},
        });
    content->setParentItem(m_window->contentItem());
    component.completeCreate();
    m_content.reset(content);
    finishAfterFirstFrame();
    return true;
}

void MainWindowHost::finishAfterFirstFrame()
{
    // frameSwapped may come from a render thread; the rest happens on this one.
    connect(
        m_window.get(), &QQuickWindow::frameSwapped, this,
        [this] {
            if (m_content) {
                m_content->setProperty("firstFrameShown", true);
            }
            restoreSettings();
            if (m_initialReport.isEmpty() ||
                !m_model->openReport(QUrl::fromLocalFile(m_initialReport))) {
                m_model->refresh();
            }
        },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
}

void MainWindowHost::restoreSettings()
{
    // Read once the first frame is out: nothing on it depends on them.
    m_model->setHideIdentifiers(QSettings().value(hideIdentifiersKey, true).toBool());
    connect(m_model.get(), &BrowserModel::hideIdentifiersChanged, this,
            [this] { QSettings().setValue(hideIdentifiersKey, m_model->hideIdentifiers()); });
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
    m_fileChooser.setAlertPresenter(presenter ? presenter.get() : &m_alerts);
    m_alertOverride = std::move(presenter);
}
