#pragma once

#include "browser/pagegrouping.h"
#include "browser/reportcompare.h"
#include "browser/reportformat.h"
#include "browser/reportreader.h"
#include "browser/services.h"
#include "model/hardwareitem.h"
#include "scanner/scansource.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class CategoryListModel;
class SectionedItemsModel;

// The main window's state and its operations: scan lifecycle, debounced
// search, category filter, paging, derived counts and sections, and the
// visible report. Lives on the UI thread; QML binds to its properties.
class BrowserModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isScanning READ isScanning NOTIFY isScanningChanged)
    // The raw output and warnings as shown: masked while hideIdentifiers is on.
    Q_PROPERTY(QString rawOutput READ rawOutput NOTIFY rawOutputChanged)
    Q_PROPERTY(QStringList warnings READ warnings NOTIFY warningsChanged)
    // The last scan met firmware tables only an administrator may read.
    Q_PROPERTY(bool canReadAsAdministrator READ canReadAsAdministrator NOTIFY
                   canReadAsAdministratorChanged)
    // From readAsAdministrator() until that scan ends: the window waits for
    // authorisation and offers Cancel.
    Q_PROPERTY(bool administratorReadPending READ administratorReadPending NOTIFY
                   administratorReadPendingChanged)
    // One sentence while the shown scan read the firmware tables as
    // administrator; empty otherwise (always for an opened report).
    Q_PROPERTY(QString administratorReadNote READ administratorReadNote NOTIFY
                   administratorReadNoteChanged)
    // Whether serial numbers, UUIDs, asset tags, MAC addresses and the like are
    // masked in everything the model shows, copies, saves and searches (see
    // model/identifiermask.h). On by default.
    Q_PROPERTY(bool hideIdentifiers READ hideIdentifiers WRITE setHideIdentifiers NOTIFY
                   hideIdentifiersChanged)
    // Title of the selected category ("Summary", ..., "Other"); unknown titles are ignored.
    Q_PROPERTY(QString selectedCategory READ selectedCategoryTitle WRITE setSelectedCategoryTitle
                   NOTIFY selectedCategoryChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(
        QString debouncedSearchText READ debouncedSearchText NOTIFY debouncedSearchTextChanged)
    Q_PROPERTY(
        bool showRawOutput READ showRawOutput WRITE setShowRawOutput NOTIFY showRawOutputChanged)
    Q_PROPERTY(int visibleLimit READ visibleLimit NOTIFY pageChanged)
    Q_PROPERTY(int pageSize READ pageSize CONSTANT)
    // Number of items of the scan (summary included).
    Q_PROPERTY(int itemCount READ itemCount NOTIFY itemsChanged)
    // Number of summary items (badge of the Summary row).
    Q_PROPERTY(int summaryItemCount READ summaryItemCount NOTIFY itemsChanged)
    Q_PROPERTY(int totalUsefulItems READ totalUsefulItems NOTIFY itemsChanged)
    // Size of filteredItemsCache ("Visible" tile, "M matched").
    Q_PROPERTY(int filteredCount READ filteredCount NOTIFY filteredChanged)
    // Size of pagedFilteredItems ("N shown", Load More counter).
    Q_PROPERTY(int pagedCount READ pagedCount NOTIFY pageChanged)
    Q_PROPERTY(bool canLoadMore READ canLoadMore NOTIFY pageChanged)
    // Sidebar rows: roles title, symbol, count, selected.
    Q_PROPERTY(QAbstractItemModel *categoryModel READ categoryModel CONSTANT)
    // The visible page as a flat list, one row per item in display order (sections
    // in key order, items sorted within them). Roles: title, value, detail, source,
    // symbol, categoryTitle, sectionTitle, firstInSection, lastInSection.
    Q_PROPERTY(QAbstractItemModel *sectionModel READ sectionModel CONSTANT)
    // Opened report: what the banner above the list says while a saved report
    // (or tool output) is shown in place of a scan of this computer.
    Q_PROPERTY(bool isShowingReport READ isShowingReport NOTIFY reportChanged)
    Q_PROPERTY(QString reportFileName READ reportFileName NOTIFY reportChanged)
    // The report's time as the user's locale writes it; empty for a tool output
    // and for a report that does not say.
    Q_PROPERTY(QString reportGenerated READ reportGenerated NOTIFY reportChanged)
    Q_PROPERTY(QString reportKestrinVersion READ reportKestrinVersion NOTIFY reportChanged)
    Q_PROPERTY(bool reportIdentifiersHidden READ reportIdentifiersHidden NOTIFY reportChanged)
    // "Memory, 80 of 576 items" for a report of one page, else empty.
    Q_PROPERTY(QString reportPageNote READ reportPageNote NOTIFY reportChanged)
    // Comparison: while on, the list, the badges, copy and save show the
    // differences between what is shown (the scan or the opened report) and
    // the compared report, which stands for "before".
    Q_PROPERTY(bool isComparing READ isComparing NOTIFY comparisonChanged)
    Q_PROPERTY(QString comparedReportName READ comparedReportName NOTIFY comparisonChanged)
    // "3 added • 1 removed • 2 changed" over every category, under the search.
    Q_PROPERTY(QString comparisonHeading READ comparisonHeading NOTIFY filteredChanged)
    Q_PROPERTY(bool showUnchanged READ showUnchanged WRITE setShowUnchanged NOTIFY
                   showUnchangedChanged)

public:
    static constexpr int pageSizeValue = 80;
    static constexpr int debounceMilliseconds = 220;

    // `scanner` must not be null; the window's host passes the real one.
    explicit BrowserModel(std::shared_ptr<ScanSource> scanner, QObject *parent = nullptr);
    ~BrowserModel() override;

    void setClipboardService(ClipboardService *service) { m_clipboard = service; }
    void setSaveLocationProvider(SaveLocationProvider *provider) { m_saveProvider = provider; }
    void setAlertPresenter(AlertPresenter *presenter) { m_alerts = presenter; }
    // The time stamped into reports; the system clock unless replaced (tests).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // Fields
    // The scan's items as found, never masked.
    [[nodiscard]] const QList<HardwareItem> &items() const { return m_items; }
    // The scan's items as shown: masked while hideIdentifiers is on, with the
    // same ids, categories, sources and order as items().
    [[nodiscard]] const QList<HardwareItem> &shownItems() const;
    [[nodiscard]] bool isScanning() const { return m_isScanning; }
    // The framed text of the scan's runs, joined (and masked while
    // hideIdentifiers is on) on first read after a scan.
    [[nodiscard]] const QString &rawOutput() const;
    [[nodiscard]] const QStringList &warnings() const;
    [[nodiscard]] bool canReadAsAdministrator() const { return m_canReadAsAdministrator; }
    [[nodiscard]] bool administratorReadPending() const { return m_administratorReadPending; }
    [[nodiscard]] QString administratorReadNote() const;
    [[nodiscard]] bool hideIdentifiers() const { return m_hideIdentifiers; }
    // Runs the filter pass again (the search sees what is shown), keeping the
    // page size and the selected category.
    void setHideIdentifiers(bool hide);
    [[nodiscard]] HardwareCategory selectedCategory() const { return m_selectedCategory; }
    void setSelectedCategory(HardwareCategory category);
    [[nodiscard]] QString selectedCategoryTitle() const;
    void setSelectedCategoryTitle(const QString &title);
    [[nodiscard]] const QString &searchText() const { return m_searchText; }
    void setSearchText(const QString &text);
    [[nodiscard]] const QString &debouncedSearchText() const { return m_debouncedSearchText; }
    [[nodiscard]] bool showRawOutput() const { return m_showRawOutput; }
    void setShowRawOutput(bool show);
    [[nodiscard]] int visibleLimit() const { return m_visibleLimit; }
    [[nodiscard]] int pageSize() const { return pageSizeValue; }
    [[nodiscard]] const QList<HardwareItem> &filteredItemsCache() const { return m_filtered; }

    // Derived values
    [[nodiscard]] QList<HardwareItem> pagedFilteredItems() const;
    [[nodiscard]] QList<HardwareCategory> visibleCategories() const;
    [[nodiscard]] QHash<HardwareCategory, int> categoryCounts() const;
    [[nodiscard]] int totalUsefulItems() const;
    [[nodiscard]] int itemCount() const { return static_cast<int>(m_items.size()); }
    [[nodiscard]] int summaryItemCount() const;
    [[nodiscard]] int filteredCount() const { return static_cast<int>(m_filtered.size()); }
    [[nodiscard]] int pagedCount() const;
    [[nodiscard]] bool canLoadMore() const;
    [[nodiscard]] QAbstractItemModel *categoryModel() const;
    [[nodiscard]] QAbstractItemModel *sectionModel() const;

    // Operations
    Q_INVOKABLE void refresh();
    // Scans again reading the firmware tables as administrator, and keeps doing
    // so on refresh until the user dismisses the password dialog.
    Q_INVOKABLE void readAsAdministrator();
    // Stops the pending reading as administrator: the window keeps what it
    // shows, says nothing about it, and refresh reads as any user again.
    Q_INVOKABLE void cancelAdministratorRead();
    Q_INVOKABLE void loadMoreItems();
    Q_INVOKABLE void rebuildFilteredItems(bool resetPage = true);
    Q_INVOKABLE [[nodiscard]] QString visibleReportText() const;
    // The visible page, the warnings and the raw output in kestrin-cli --json's format.
    [[nodiscard]] QByteArray visibleJson() const;
    Q_INVOKABLE void copyVisibleReport();
    // Asks for a location and a format (plain text or JSON) and writes the
    // visible page in it.
    Q_INVOKABLE void saveReport();
    // Export Full Report: asks where, then writes fullReportJson() atomically.
    Q_INVOKABLE void exportFullReport();
    // The whole scan as a report: every item of every category, the warnings
    // and the raw output, as shown (masked while hideIdentifiers is on).
    [[nodiscard]] QByteArray fullReportJson() const;
    // Shows a saved report (or tool output) as a scan. A file that cannot be
    // read gets its one message through the alert presenter and leaves the
    // view as it was; so does a call while a scan is running.
    Q_INVOKABLE bool openReport(const QUrl &url);
    // Opened report
    [[nodiscard]] bool isShowingReport() const { return m_report.has_value(); }
    [[nodiscard]] QString reportFileName() const;
    [[nodiscard]] QString reportGenerated() const;
    [[nodiscard]] QString reportKestrinVersion() const;
    [[nodiscard]] bool reportIdentifiersHidden() const;
    [[nodiscard]] QString reportPageNote() const;
    // Compares what is shown with a saved report (or tool output); a file
    // that cannot be read leaves everything as it was, as openReport() does.
    // A later scan or opened report is compared with the same file.
    Q_INVOKABLE bool compareWithReport(const QUrl &url);
    Q_INVOKABLE void endComparison();
    [[nodiscard]] bool isComparing() const { return m_comparison.has_value(); }
    [[nodiscard]] QString comparedReportName() const;
    [[nodiscard]] QString comparisonHeading() const;
    [[nodiscard]] bool showUnchanged() const { return m_showUnchanged; }
    void setShowUnchanged(bool show);
    // The differences in the selected category under the search, as shown.
    [[nodiscard]] ReportDiff::Result visibleDifferences() const;
    // Scans this computer; the report stays shown until the scan's result
    // replaces it.
    Q_INVOKABLE void backToThisComputer();
    // Copies of one row of sectionModel, as shown (masked while
    // hideIdentifiers is on); a row that does not exist copies nothing.
    // The value alone.
    Q_INVOKABLE void copyValue(int row);
    // "Title: value".
    Q_INVOKABLE void copyTitleAndValue(int row);
    // The items of the row's section on the page, in display order, as the
    // report's item blocks separated by empty lines (ReportText::renderItems).
    Q_INVOKABLE void copySection(int row);
    // The window is going away: a pending search update is dropped.
    Q_INVOKABLE void cancelPendingSearch();
    // True while a settled-search update is pending.
    [[nodiscard]] bool hasPendingSearch() const;

Q_SIGNALS:
    void isScanningChanged();
    void rawOutputChanged();
    void warningsChanged();
    void canReadAsAdministratorChanged();
    void administratorReadPendingChanged();
    void administratorReadNoteChanged();
    void itemsChanged();
    void selectedCategoryChanged();
    void searchTextChanged();
    void debouncedSearchTextChanged();
    void showRawOutputChanged();
    void filteredChanged();
    void pageChanged();
    // Emitted once per filter pass (tests count passes with it).
    void filterPassCompleted();
    void scanFinished();
    void hideIdentifiersChanged();
    void reportChanged();
    void comparisonChanged();
    void showUnchangedChanged();

public:
    // The filters saveReport() offers, in this order.
    static const QStringList &saveNameFilters();
    static constexpr int textFilterIndex = 0;
    static constexpr int jsonFilterIndex = 1;

private:
    struct PreparedScan;
    struct MaskedView;

    void applyScanResult(PreparedScan scan);
    // Ends a scan whose result the user no longer wants, keeping what is shown.
    void endDroppedScan();
    void abandonScan(const QString &reason);
    void scheduleSearchUpdate(const QString &text);
    void applySettledSearch();
    void updateCategoryModel();
    // The masked view of the current scan, built on first need.
    MaskedView &maskedView() const;
    [[nodiscard]] const QStringList &shownSearchTexts() const;
    void copyText(const QString &text);
    // The file's report, or its one message through the alert presenter.
    std::optional<ReportReader::Report> readReport(const QUrl &url);
    // The filter pass while comparing.
    void rebuildComparison(bool resetPage);
    // Shows m_filtered from its first page, or keeps the page's size.
    void showFiltered(bool resetPage);

    std::shared_ptr<ScanSource> m_scanner;
    ClipboardService *m_clipboard = nullptr;
    SaveLocationProvider *m_saveProvider = nullptr;
    AlertPresenter *m_alerts = nullptr;

    QList<HardwareItem> m_items;
    RawOutput m_rawOutput;
    // The joined text of m_rawOutput once something has read it; only this
    // (the UI) thread touches it.
    mutable std::optional<QString> m_rawOutputText;
    QStringList m_warnings;
    bool m_canReadAsAdministrator = false;
    bool m_administratorReadPending = false;
    bool m_readAsAdministrator = false;
    // The pending scan's result is dropped when it arrives.
    bool m_administratorReadCancelled = false;
    bool m_hideIdentifiers = true;
    // What the scan looks like with identifiers masked; built once per scan
    // result, when first needed (on the scan's worker thread when the mask is
    // on as the scan starts). Only this (the UI) thread touches it.
    mutable std::shared_ptr<MaskedView> m_masked;
    HardwareCategory m_selectedCategory = HardwareCategory::summary;
    QString m_searchText;
    bool m_isScanning = false;
    bool m_showRawOutput = false;
    QString m_debouncedSearchText;
    QTimer m_searchDebounce;
    QString m_pendingSearchText;
    int m_visibleLimit = pageSizeValue;
    QList<HardwareItem> m_filtered;

    // Derived from m_items, recomputed only when a scan result is applied.
    QStringList m_searchTexts; // searchableText() of each item, same order
    QList<HardwareCategory> m_visibleCategories{HardwareCategory::summary};
    QHash<HardwareCategory, int> m_categoryCounts;
    int m_totalUsefulItems = 0;
    int m_summaryItemCount = 0;

    std::function<QDateTime()> m_clock;

    // Opened report: set while a report is shown, cleared by a scan's result.
    struct OpenedReport {
        QString fileName;
        ReportFormat::Header header;
        QString pageNote;
    };
    std::optional<OpenedReport> m_report;

    struct Comparison {
        QString fileName;
        ReportCompare::Side before;
        QList<HardwareCategory> beforeCategories;
        // Over every category, under the search; rebuilt by each filter pass.
        ReportDiff::Result differences;
        QHash<HardwareCategory, int> counts;
    };
    std::optional<Comparison> m_comparison;
    bool m_showUnchanged = false;

    CategoryListModel *m_categoryModel = nullptr;
    SectionedItemsModel *m_sectionModel = nullptr;
};
