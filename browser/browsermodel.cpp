#include "browser/browsermodel.h"

#include "browser/categorylistmodel.h"
#include "browser/itemfilter.h"
#include "browser/jsonexport.h"
#include "browser/reportreader.h"
#include "browser/reporttext.h"
#include "browser/reportwriter.h"
#include "browser/sectioneditemsmodel.h"
#include "model/identifiermask.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QLocale>
#include <QPointer>

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

struct BrowserModel::MaskedView {
    IdentifierMasker masker;
    QList<HardwareItem> items;
    // searchableText() of every masked item: a masked value cannot be found.
    QStringList searchTexts;
    QStringList warnings;
    // The masked raw output, built on first read.
    std::optional<QString> rawText;

    // `searchTexts` are those of `items`; an item that masking leaves as it
    // was (most of them) keeps its text instead of building it again.
    static std::shared_ptr<MaskedView> build(const QList<HardwareItem> &items,
                                             const QStringList &searchTexts,
                                             const RawOutput &rawOutput,
                                             const QStringList &warnings)
    {
        auto view = std::make_shared<MaskedView>();
        view->masker = IdentifierMasker(items, rawOutput);
        view->items = view->masker.maskItems(items);
        view->searchTexts.reserve(view->items.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            const HardwareItem &masked = view->items[i];
            const HardwareItem &item = items[i];
            // maskItem() shares every field it leaves unchanged.
            const bool unchanged = masked.title.isSharedWith(item.title) &&
                                   masked.value.isSharedWith(item.value) &&
                                   masked.detail.isSharedWith(item.detail);
            view->searchTexts.append(unchanged && i < searchTexts.size() ? searchTexts[i]
                                                                         : masked.searchableText());
        }
        view->warnings = view->masker.maskTexts(warnings);
        return view;
    }
};

struct BrowserModel::PreparedScan {
    HardwareScanResult result;
    // searchableText() of every item, so a filter pass over a large scan does
    // not build and lower-case every item's text again.
    QStringList searchTexts;
    // Built with the rest when the mask is on as the scan starts.
    std::shared_ptr<MaskedView> masked;
};

BrowserModel::BrowserModel(std::shared_ptr<ScanSource> scanner, QObject *parent)
    : QObject(parent), m_scanner(std::move(scanner)), m_categoryModel(new CategoryListModel(this)),
      m_sectionModel(new SectionedItemsModel(this))
{
    Q_ASSERT(m_scanner);
    m_searchDebounce.setSingleShot(true);
    // A coarse timer may fire up to 5% early; the delay is a minimum.
    m_searchDebounce.setTimerType(Qt::PreciseTimer);
    m_searchDebounce.setInterval(debounceMilliseconds);
    connect(&m_searchDebounce, &QTimer::timeout, this, &BrowserModel::applySettledSearch);
    updateCategoryModel();
    m_categoryModel->setSelected(m_selectedCategory);
    m_sectionModel->setPage(m_selectedCategory, {});
}

BrowserModel::~BrowserModel()
{
    m_searchDebounce.stop();
}

// ---- Fields ---------------------------------------------------------------

void BrowserModel::setSelectedCategory(HardwareCategory category)
{
    if (category == m_selectedCategory) {
        return;
    }
    m_selectedCategory = category;
    m_categoryModel->setSelected(category);
    Q_EMIT selectedCategoryChanged();
    // A pending search stays pending: this pass uses the text settled so far.
    rebuildFilteredItems(true);
}

QString BrowserModel::selectedCategoryTitle() const
{
    return rawValue(m_selectedCategory);
}

void BrowserModel::setSelectedCategoryTitle(const QString &title)
{
    if (const std::optional<HardwareCategory> category = categoryFromRawValue(title)) {
        setSelectedCategory(*category);
    }
}

void BrowserModel::setSearchText(const QString &text)
{
    if (text == m_searchText) {
        return;
    }
    m_searchText = text;
    Q_EMIT searchTextChanged();
    scheduleSearchUpdate(text);
}

void BrowserModel::setShowRawOutput(bool show)
{
    if (show == m_showRawOutput) {
        return;
    }
    m_showRawOutput = show;
    Q_EMIT showRawOutputChanged();
}

// ---- Scan lifecycle -------------------------------------------------------

void BrowserModel::readAsAdministrator()
{
    if (m_isScanning) {
        return;
    }
    m_scanner->setReadAsAdministrator(true);
    refresh();
    m_administratorReadPending = true;
    Q_EMIT administratorReadPendingChanged();
}

void BrowserModel::cancelAdministratorRead()
{
    if (!m_administratorReadPending || m_administratorReadCancelled) {
        return;
    }
    m_administratorReadCancelled = true;
    // The scanner stops its own pkexec run before it forgets how to elevate.
    m_scanner->cancelAdministratorRead();
    m_scanner->setReadAsAdministrator(false);
}

void BrowserModel::refresh()
{
    if (m_isScanning) {
        return;
    }
    m_isScanning = true;
    Q_EMIT isScanningChanged();

    // The watcher is a child of this model: if the window goes away mid-scan,
    // the result is simply never delivered.
    auto *watcher = new QFutureWatcher<PreparedScan>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QFuture<PreparedScan> future = watcher->future();
        const bool wasPending = std::exchange(m_administratorReadPending, false);
        if (std::exchange(m_administratorReadCancelled, false)) {
            endDroppedScan();
        } else if (future.isCanceled() || future.resultCount() == 0) {
            abandonScan(QStringLiteral("The scan ended without a result."));
        } else {
            // A scan of this machine replaces whatever report was shown.
            const bool wasShowingReport = m_report.has_value();
            m_report.reset();
            applyScanResult(future.result());
            if (wasShowingReport) {
                Q_EMIT reportChanged();
            }
        }
        if (wasPending) {
            Q_EMIT administratorReadPendingChanged();
        }
    });
    // The search texts (and the masked view) of a large scan take a while to
    // build: do it on a pool thread (it blocks on nothing), never on this one.
    const bool masked = m_hideIdentifiers;
    watcher->setFuture(
        m_scanner->scan().then(QtFuture::Launch::Async, [masked](HardwareScanResult result) {
            QStringList texts;
            texts.reserve(result.items.size());
            for (const HardwareItem &item : std::as_const(result.items)) {
                texts.append(item.searchableText());
            }
            std::shared_ptr<MaskedView> view;
            if (masked) {
                view = MaskedView::build(result.items, texts, result.rawOutput, result.warnings);
            }
            return PreparedScan{std::move(result), std::move(texts), std::move(view)};
        }));
}

QString BrowserModel::administratorReadNote() const
{
    if (!m_readAsAdministrator) {
        return {};
    }
    return QStringLiteral("The firmware tables were read as administrator: memory devices, slots "
                          "and serial numbers come from them.");
}

const QString &BrowserModel::rawOutput() const
{
    if (m_hideIdentifiers) {
        MaskedView &view = maskedView();
        if (!view.rawText) {
            // Masked from a joined text that is dropped at once: while the mask
            // is on, only the masked text is kept.
            view.rawText =
                view.masker.maskRawText(m_rawOutputText ? *m_rawOutputText : m_rawOutput.text());
        }
        return *view.rawText;
    }
    if (!m_rawOutputText) {
        m_rawOutputText = m_rawOutput.text();
    }
    return *m_rawOutputText;
}

const QStringList &BrowserModel::warnings() const
{
    return m_hideIdentifiers ? maskedView().warnings : m_warnings;
}

const QList<HardwareItem> &BrowserModel::shownItems() const
{
    return m_hideIdentifiers ? maskedView().items : m_items;
}

const QStringList &BrowserModel::shownSearchTexts() const
{
    return m_hideIdentifiers ? maskedView().searchTexts : m_searchTexts;
}

BrowserModel::MaskedView &BrowserModel::maskedView() const
{
    if (!m_masked) {
        m_masked = MaskedView::build(m_items, m_searchTexts, m_rawOutput, m_warnings);
    }
    return *m_masked;
}

void BrowserModel::setHideIdentifiers(bool hide)
{
    if (hide == m_hideIdentifiers) {
        return;
    }
    m_hideIdentifiers = hide;
    Q_EMIT hideIdentifiersChanged();
    // The page keeps its size: only what it shows (and what the search sees) changes.
    rebuildFilteredItems(false);
    Q_EMIT rawOutputChanged();
    Q_EMIT warningsChanged();
}

void BrowserModel::applyScanResult(PreparedScan scan)
{
    m_items = std::move(scan.result.items);
    m_searchTexts = std::move(scan.searchTexts);
    m_rawOutput = std::move(scan.result.rawOutput);
    m_rawOutputText.reset();
    m_warnings = std::move(scan.result.warnings);
    m_masked = std::move(scan.masked);
    const bool couldReadAsAdministrator = m_canReadAsAdministrator;
    m_canReadAsAdministrator = scan.result.canReadAsAdministrator;
    const bool wasReadAsAdministrator = m_readAsAdministrator;
    m_readAsAdministrator = scan.result.readAsAdministrator;
    if (scan.result.administratorReadDismissed) {
        // Asking again on every refresh would punish saying no once.
        m_scanner->setReadAsAdministrator(false);
    }

    m_categoryCounts.clear();
    m_summaryItemCount = 0;
    std::array<bool, allCategories.size()> present{};
    for (const HardwareItem &item : std::as_const(m_items)) {
        present[static_cast<std::size_t>(item.category)] = true;
        if (item.category == HardwareCategory::summary) {
            ++m_summaryItemCount;
        } else {
            ++m_categoryCounts[item.category];
        }
    }
    m_totalUsefulItems = static_cast<int>(m_items.size()) - m_summaryItemCount;
    m_visibleCategories.clear();
    for (HardwareCategory category : allCategories) {
        if (category == HardwareCategory::summary || present[static_cast<std::size_t>(category)]) {
            m_visibleCategories.append(category);
        }
    }
    m_isScanning = false;

    // Every field holds the new scan before the first notification goes out,
    // so no binding ever sees this scan's items with the last one's list.
    updateCategoryModel();
    rebuildFilteredItems(true);
    Q_EMIT itemsChanged();
    Q_EMIT rawOutputChanged();
    Q_EMIT warningsChanged();
    if (couldReadAsAdministrator != m_canReadAsAdministrator) {
        Q_EMIT canReadAsAdministratorChanged();
    }
    if (wasReadAsAdministrator != m_readAsAdministrator) {
        Q_EMIT administratorReadNoteChanged();
    }
    Q_EMIT isScanningChanged();
    Q_EMIT scanFinished();
}

void BrowserModel::endDroppedScan()
{
    m_isScanning = false;
    Q_EMIT isScanningChanged();
    Q_EMIT scanFinished();
}

void BrowserModel::abandonScan(const QString &reason)
{
    // Keep what the window shows; only report that this scan gave nothing.
    m_warnings = QStringList{reason};
    if (m_masked) {
        m_masked->warnings = m_masked->masker.maskTexts(m_warnings);
    }
    Q_EMIT warningsChanged();
    m_isScanning = false;
    Q_EMIT isScanningChanged();
    Q_EMIT scanFinished();
}

void BrowserModel::updateCategoryModel()
{
    QList<CategoryListModel::Row> rows;
    if (m_comparison) {
        // Every category either side holds, each with its differences.
        for (HardwareCategory category : allCategories) {
            if (category == HardwareCategory::summary ||
                m_visibleCategories.contains(category) ||
                m_comparison->beforeCategories.contains(category)) {
                rows.append(CategoryListModel::Row{category,
                                                   m_comparison->counts.value(category, 0)});
            }
        }
        m_categoryModel->setRows(rows);
        return;
    }
    rows.reserve(m_visibleCategories.size());
    for (HardwareCategory category : std::as_const(m_visibleCategories)) {
        const int count = category == HardwareCategory::summary
                              ? m_summaryItemCount
                              : m_categoryCounts.value(category, 0);
        rows.append(CategoryListModel::Row{category, count});
    }
    m_categoryModel->setRows(rows);
}

// ---- Search, filter, paging -----------------------------------------------

void BrowserModel::scheduleSearchUpdate(const QString &text)
{
    // Restarting the single-shot timer drops the previous pending text.
    m_pendingSearchText = text;
    m_searchDebounce.start();
}

void BrowserModel::applySettledSearch()
{
    if (m_debouncedSearchText != m_pendingSearchText) {
        m_debouncedSearchText = m_pendingSearchText;
        Q_EMIT debouncedSearchTextChanged();
    }
    rebuildFilteredItems(true);
}

void BrowserModel::cancelPendingSearch()
{
    m_searchDebounce.stop();
}

bool BrowserModel::hasPendingSearch() const
{
    return m_searchDebounce.isActive();
}

void BrowserModel::rebuildFilteredItems(bool resetPage)
{
    if (m_comparison) {
        rebuildComparison(resetPage);
        return;
    }
    const QString query = ItemFilter::normalizedQuery(m_debouncedSearchText);
    // While the mask is on, the search sees the masked texts only: a hidden
    // serial number cannot be found by typing it.
    const QList<HardwareItem> &items = shownItems();
    const QStringList &searchTexts = shownSearchTexts();
    QList<HardwareItem> filtered;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const HardwareItem &item = items[i];
        if (item.category == m_selectedCategory &&
            ItemFilter::matchesSearchText(searchTexts[i], query)) {
            filtered.append(item);
        }
    }
    m_filtered = std::move(filtered);
    showFiltered(resetPage);
}

void BrowserModel::showFiltered(bool resetPage)
{
    if (resetPage) {
        m_visibleLimit = pageSizeValue;
        m_sectionModel->setPage(m_selectedCategory, pagedFilteredItems());
    } else {
        // The same page limit (the identifier mask was switched): a page that
        // only changed its texts keeps the list's position and current row.
        m_sectionModel->replacePage(m_selectedCategory, pagedFilteredItems());
    }
    Q_EMIT filteredChanged();
    Q_EMIT pageChanged();
    Q_EMIT filterPassCompleted();
}

void BrowserModel::rebuildComparison(bool resetPage)
{
    Comparison &comparison = *m_comparison;
    HardwareScanResult shown;
    shown.items = m_items;
    shown.rawOutput = m_rawOutput;
    const ReportCompare::Side after{std::move(shown),
                                    m_report && m_report->header.hideIdentifiers};
    // Every category at once: the sidebar counts the differences of each.
    comparison.differences = ReportCompare::compare(
        comparison.before, after,
        ReportCompare::Filters{std::nullopt, m_debouncedSearchText, m_hideIdentifiers});
    comparison.counts.clear();

    // Differences come first, so that the first page shows them all before
    // any unchanged fact.
    QHash<QUuid, ItemMark> marks;
    QList<HardwareItem> page;
    const auto take = [&](const HardwareItem &item, ItemMark mark) {
        ++comparison.counts[item.category];
        if (item.category == m_selectedCategory) {
            page.append(item);
        }
        marks.insert(item.id, std::move(mark));
    };
    for (const HardwareItem &item : std::as_const(comparison.differences.added)) {
        take(item, ItemMark{ItemChange::added, {}});
    }
    for (const ReportDiff::Change &change : std::as_const(comparison.differences.changed)) {
        take(change.after, ItemMark{ItemChange::changed, change.before.value});
    }
    for (const HardwareItem &item : std::as_const(comparison.differences.removed)) {
        take(item, ItemMark{ItemChange::removed, {}});
    }
    if (m_showUnchanged) {
        const QString query = ItemFilter::normalizedQuery(m_debouncedSearchText);
        const QList<HardwareItem> &items = shownItems();
        const QStringList &searchTexts = shownSearchTexts();
        for (qsizetype i = 0; i < items.size(); ++i) {
            const HardwareItem &item = items[i];
            if (item.category == m_selectedCategory && !marks.contains(item.id) &&
                ItemFilter::matchesSearchText(searchTexts[i], query)) {
                page.append(item);
            }
        }
    }
    m_filtered = std::move(page);
    m_sectionModel->setMarks(std::move(marks));
    updateCategoryModel();
    showFiltered(resetPage);
}

int BrowserModel::pagedCount() const
{
    return static_cast<int>(std::clamp<qsizetype>(m_visibleLimit, 0, m_filtered.size()));
}

bool BrowserModel::canLoadMore() const
{
    return pagedCount() < m_filtered.size();
}

QList<HardwareItem> BrowserModel::pagedFilteredItems() const
{
    return m_filtered.first(pagedCount());
}

void BrowserModel::loadMoreItems()
{
    if (m_visibleLimit >= m_filtered.size()) {
        return;
    }
    const int shownBefore = pagedCount();
    m_visibleLimit = static_cast<int>(
        std::min<qsizetype>(m_filtered.size(), qsizetype{m_visibleLimit} + pageSizeValue));
    const int shownAfter = pagedCount();
    m_sectionModel->appendToPage(m_filtered.mid(shownBefore, shownAfter - shownBefore));
    Q_EMIT pageChanged();
}

// ---- Derived values -------------------------------------------------------

QList<HardwareCategory> BrowserModel::visibleCategories() const
{
    return m_visibleCategories;
}

QHash<HardwareCategory, int> BrowserModel::categoryCounts() const
{
    return m_categoryCounts;
}

int BrowserModel::totalUsefulItems() const
{
    return m_totalUsefulItems;
}

int BrowserModel::summaryItemCount() const
{
    return m_summaryItemCount;
}

QAbstractItemModel *BrowserModel::categoryModel() const
{
    return m_categoryModel;
}

QAbstractItemModel *BrowserModel::sectionModel() const
{
    return m_sectionModel;
}

// ---- Report ---------------------------------------------------------------

QString BrowserModel::visibleReportText() const
{
    if (m_comparison) {
        return QString::fromUtf8(ReportCompare::text(visibleDifferences()));
    }
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTimeUtc();
    return ReportText::render(m_selectedCategory, m_sectionModel->grouping().pageItems(), now);
}

QByteArray BrowserModel::visibleJson() const
{
    if (m_comparison) {
        return ReportCompare::json(visibleDifferences());
    }
    ReportFormat::Header header = ReportFormat::currentHeader(m_hideIdentifiers);
    if (m_clock) {
        header.generated = m_clock();
    }
    header.category = selectedCategoryTitle();
    header.search = m_debouncedSearchText;
    header.scanItemCount = m_items.size();
    return JsonExport::document(m_sectionModel->grouping().pageItems(), warnings(), rawOutput(),
                                header);
}

void BrowserModel::copyText(const QString &text)
{
    if (m_clipboard) {
        m_clipboard->setPlainText(text);
    }
}

void BrowserModel::copyVisibleReport()
{
    if (m_clipboard) {
        copyText(visibleReportText());
    }
}

void BrowserModel::copyValue(int row)
{
    if (row >= 0 && row < m_sectionModel->rowCount()) {
        copyText(m_sectionModel->itemAt(row).value);
    }
}

void BrowserModel::copyTitleAndValue(int row)
{
    if (row >= 0 && row < m_sectionModel->rowCount()) {
        const HardwareItem &item = m_sectionModel->itemAt(row);
        copyText(item.title + QStringLiteral(": ") + item.value);
    }
}

void BrowserModel::copySection(int row)
{
    if (row >= 0 && row < m_sectionModel->rowCount()) {
        copyText(ReportText::renderItems(m_sectionModel->sectionItemsAt(row)));
    }
}

const QStringList &BrowserModel::saveNameFilters()
{
    static const QStringList filters = {QStringLiteral("Plain text (*.txt)"),
                                        QStringLiteral("JSON (*.json)")};
    return filters;
}

void BrowserModel::saveReport()
{
    if (!m_saveProvider) {
        return;
    }
    QPointer<BrowserModel> self(this);
    m_saveProvider->askSaveLocation(
        m_comparison ? QStringLiteral("Kestrin-comparison.txt") : QStringLiteral("Kestrin.txt"),
        saveNameFilters(),
        [self](std::optional<SaveLocation> location) {
            if (!self || !location || location->path.isEmpty()) {
                return;
            }
            // The chosen filter decides the format, whatever the file is
            // called; an unknown filter falls back to plain text. The report
            // shows the page as it is when the dialog closes.
            const std::optional<QString> error =
                location->filterIndex == jsonFilterIndex
                    ? ReportWriter::writeAtomically(location->path, self->visibleJson())
                    : ReportWriter::writeUtf8Atomically(location->path, self->visibleReportText());
            if (error && self->m_alerts) {
                self->m_alerts->showError(*error);
            }
        });
}

QByteArray BrowserModel::fullReportJson() const
{
    ReportFormat::Header header = ReportFormat::currentHeader(m_hideIdentifiers);
    if (m_clock) {
        header.generated = m_clock();
    }
    return JsonExport::document(shownItems(), warnings(), rawOutput(), header);
}

void BrowserModel::exportFullReport()
{
    if (!m_saveProvider) {
        return;
    }
    QPointer<BrowserModel> self(this);
    m_saveProvider->askSaveLocation(
        QStringLiteral("Kestrin-full.json"), {QStringLiteral("JSON (*.json)")},
        [self](std::optional<SaveLocation> location) {
            if (!self || !location || location->path.isEmpty()) {
                return;
            }
            const std::optional<QString> error =
                ReportWriter::writeAtomically(location->path, self->fullReportJson());
            if (error && self->m_alerts) {
                self->m_alerts->showError(*error);
            }
        });
}

std::optional<ReportReader::Report> BrowserModel::readReport(const QUrl &url)
{
    auto refuse = [this](const QString &message) -> std::optional<ReportReader::Report> {
        if (m_alerts) {
            m_alerts->showError(message);
        }
        return std::nullopt;
    };
    if (m_isScanning) {
        return refuse(QStringLiteral("A scan is running; open the report when it has finished."));
    }
    if (!url.isLocalFile()) {
        return refuse(QStringLiteral("Only reports on this computer can be opened."));
    }
    ReportReader::Outcome outcome = ReportReader::readFile(url.toLocalFile());
    if (!outcome.report) {
        return refuse(outcome.error);
    }
    return std::move(outcome.report);
}

bool BrowserModel::openReport(const QUrl &url)
{
    std::optional<ReportReader::Report> report = readReport(url);
    if (!report) {
        return false;
    }
    PreparedScan scan;
    scan.result = std::move(report->scan);
    // A saved report does not say how its tables were read.
    scan.result.readAsAdministrator = false;
    scan.searchTexts.reserve(scan.result.items.size());
    for (const HardwareItem &item : std::as_const(scan.result.items)) {
        scan.searchTexts.append(item.searchableText());
    }
    m_report = OpenedReport{QFileInfo(url.toLocalFile()).fileName(), std::move(report->header),
                            report->pageNote.value_or(QString())};
    applyScanResult(std::move(scan));
    Q_EMIT reportChanged();
    return true;
}

bool BrowserModel::compareWithReport(const QUrl &url)
{
    std::optional<ReportReader::Report> report = readReport(url);
    if (!report) {
        return false;
    }
    Comparison comparison;
    comparison.fileName = QFileInfo(url.toLocalFile()).fileName();
    for (const HardwareItem &item : std::as_const(report->scan.items)) {
        if (!comparison.beforeCategories.contains(item.category)) {
            comparison.beforeCategories.append(item.category);
        }
    }
    comparison.before = ReportCompare::Side{std::move(report->scan), report->header.hideIdentifiers};
    m_comparison = std::move(comparison);
    rebuildFilteredItems(true);
    Q_EMIT comparisonChanged();
    return true;
}

void BrowserModel::endComparison()
{
    if (!m_comparison) {
        return;
    }
    m_comparison.reset();
    m_sectionModel->setMarks({});
    updateCategoryModel();
    rebuildFilteredItems(true);
    Q_EMIT comparisonChanged();
}

QString BrowserModel::comparedReportName() const
{
    return m_comparison ? m_comparison->fileName : QString();
}

QString BrowserModel::comparisonHeading() const
{
    if (!m_comparison) {
        return {};
    }
    const ReportDiff::Result &differences = m_comparison->differences;
    if (differences.isEmpty()) {
        return QStringLiteral("No differences");
    }
    return QStringLiteral("%1 added \u2022 %2 removed \u2022 %3 changed")
        .arg(differences.added.size())
        .arg(differences.removed.size())
        .arg(differences.changed.size());
}

void BrowserModel::setShowUnchanged(bool show)
{
    if (show == m_showUnchanged) {
        return;
    }
    m_showUnchanged = show;
    Q_EMIT showUnchangedChanged();
    if (m_comparison) {
        rebuildFilteredItems(true);
    }
}

ReportDiff::Result BrowserModel::visibleDifferences() const
{
    if (!m_comparison) {
        return {};
    }
    const ReportDiff::Result &all = m_comparison->differences;
    ReportDiff::Result shown;
    shown.labels = all.labels;
    const auto inCategory = [this](const HardwareItem &item) {
        return item.category == m_selectedCategory;
    };
    std::copy_if(all.added.cbegin(), all.added.cend(), std::back_inserter(shown.added), inCategory);
    std::copy_if(all.removed.cbegin(), all.removed.cend(), std::back_inserter(shown.removed),
                 inCategory);
    std::copy_if(all.changed.cbegin(), all.changed.cend(), std::back_inserter(shown.changed),
                 [&](const ReportDiff::Change &change) { return inCategory(change.after); });
    return shown;
}

// ---- Opened report --------------------------------------------------------

QString BrowserModel::reportFileName() const
{
    return m_report ? m_report->fileName : QString();
}

QString BrowserModel::reportGenerated() const
{
    if (!m_report || !m_report->header.generated.isValid()) {
        return {};
    }
    return QLocale().toString(m_report->header.generated.toLocalTime(), QLocale::ShortFormat);
}

QString BrowserModel::reportKestrinVersion() const
{
    return m_report ? m_report->header.kestrinVersion : QString();
}

bool BrowserModel::reportIdentifiersHidden() const
{
    return m_report && m_report->header.hideIdentifiers;
}

QString BrowserModel::reportPageNote() const
{
    return m_report ? m_report->pageNote : QString();
}

void BrowserModel::backToThisComputer()
{
    refresh();
}
