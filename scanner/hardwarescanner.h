#pragma once

#include "model/hardwarescanresult.h"
#include "scanner/firmwaretables.h"
#include "scanner/scanpart.h"
#include "scanner/scansource.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

class ActiveProcessRegistry;

// Turns one scan request into one result: runs the tool twice concurrently,
// parses, cleans and summarises. Holds the two fixed tables for its lifetime.
class HardwareScanner : public ScanSource {
public:
    HardwareScanner();

    [[nodiscard]] const QSet<QString> &usefulKeys() const { return m_usefulKeys; }
    [[nodiscard]] const QStringList &badValues() const { return m_badValues; }

    // The part of a successful run: its header and order, its output, and what
    // its parser makes of that output. Each run calls one of these on its own
    // thread, so the two outputs are parsed at the same time.
    [[nodiscard]] static ScanPart macHardwarePart(QString output);
    [[nodiscard]] ScanPart classicPart(QString output) const;

    static constexpr std::int64_t macHardwareOrder = 0;
    static constexpr std::int64_t classicOrder = 1;
    [[nodiscard]] static const QString &macHardwareHeader();
    [[nodiscard]] static const QString &classicHeader();

    // Steps after the runs: order the parts, frame the raw output, collect the
    // warnings, clean, and put the summary in front.
    [[nodiscard]] HardwareScanResult assemble(QList<ScanPart> parts) const;

    // The per-run time limit, in seconds. Production keeps 20; tests shorten it.
    void setRunTimeout(double seconds) { m_runTimeout = seconds; }
    [[nodiscard]] double runTimeout() const { return m_runTimeout; }

    // Use this executable instead of the bundled tool (command-line front end,
    // tests). Absent means the bundled tool.
    void setToolOverride(std::optional<QString> path) { m_toolOverride = std::move(path); }

    // The firmware table file whose refused open makes a scan offer reading as
    // administrator (tests point it at a scratch file).
    void setFirmwareTablesPath(QString path) { m_firmwareTablesPath = std::move(path); }

    // Read the firmware tables through `pkexec helper` instead of the -q run.
    // A dismissed password dialog falls back to the -q run without a word; a
    // refusal or a failure falls back with a warning.
    struct AdministratorReader {
        QString pkexec;
        QString helper;
        double timeout = 120.0;
    };
    void setAdministratorReader(std::optional<AdministratorReader> reader)
    {
        m_administratorReader = std::move(reader);
    }
    [[nodiscard]] bool readsAsAdministrator() const { return m_administratorReader.has_value(); }
    // Through the system's pkexec and the helper installed beside the tool,
    // unless setAdministratorCommand() named others (tests).
    void setReadAsAdministrator(bool on) override;
    void setAdministratorCommand(AdministratorReader command)
    {
        m_administratorCommand = std::move(command);
    }
    // Callable from any thread while a scan runs on its copy of this scanner.
    void cancelAdministratorRead() override;

    [[nodiscard]] QFuture<HardwareScanResult> scan() override;
    [[nodiscard]] HardwareScanResult performScan() const;

    // The one registry of running tool processes, shared by every scanner and
    // the quit hook.
    [[nodiscard]] static ActiveProcessRegistry &activeProcesses();

    static constexpr double defaultRunTimeout = 20.0;

private:
    QSet<QString> m_usefulKeys;
    QStringList m_badValues;
    double m_runTimeout = defaultRunTimeout;
    std::optional<QString> m_toolOverride;
    QString m_firmwareTablesPath = defaultFirmwareTablesPath();
    std::optional<AdministratorReader> m_administratorReader;
    std::optional<AdministratorReader> m_administratorCommand;
    // Shared with the copy a scan works on; each scan gets a fresh one.
    std::shared_ptr<std::atomic<bool>> m_administratorReadCancelled =
        std::make_shared<std::atomic<bool>>(false);
};
