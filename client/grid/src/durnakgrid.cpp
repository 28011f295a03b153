#include "durnak/grid/durnakgrid.hpp"

#include <QKeyEvent>
#include <QScrollBar>

#include "common.hpp"
#include "durnak/grid/columnchooser.hpp"
#include "durnak/grid/painting.hpp"

namespace durnak::grid {

namespace {
constexpr int kDefaultRowHeight = 24;
}

DurnakGrid::DurnakGrid(QWidget* parent)
    : QTableView(parent),
      model_(new GridModel(this)),
      delegate_(new CellDelegate(model_, &style_, this)),
      header_(new GridHeader(model_, &style_, this)),
      indicator_(new IndicatorHeader(&style_, [this] { return currentIndex().row(); }, this)),
      footer_(new FooterBar(header_, &style_, this))
{
    setHorizontalHeader(header_);
    setVerticalHeader(indicator_);
    setModel(model_);
    setItemDelegate(delegate_);

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFont(gridFont(13));

    // Fixed row heights set once: the view never measures rows.
    indicator_->setSectionResizeMode(QHeaderView::Fixed);
    indicator_->setDefaultSectionSize(kDefaultRowHeight);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setDefaultSectionSize(100);
    footer_->setFont(font());
    detail::applyContentColour(viewport(), style_);

    // A model reset re-creates the header sections: keep the user's widths, order and choices
    // (also the widths of hidden columns, which sectionSize() reports as 0).
    auto state = std::make_shared<QByteArray>();
    auto sections = std::make_shared<int>(-1);
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this, state, sections] {
        *state = header_->saveState();
        *sections = header_->count();
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this, state, sections] {
        if (*sections == header_->count() && *sections > 0)
            header_->restoreState(*state);
        applyVisibility();
        searchText_.clear();
    });
    connect(model_, &GridModel::visibilityChanged, this, [this] { applyVisibility(); });
    connect(model_, &GridModel::contentChanged, this, &DurnakGrid::recomputeFooter);
    connect(header_, &GridHeader::filterButtonClicked, this, &DurnakGrid::showFilterMenu);
    connect(header_, &GridHeader::chooserRequested, this, [this] { showColumnChooser(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, footer_, qOverload<>(&QWidget::update));
}

DurnakGrid::~DurnakGrid() = default;

// ---------------------------------------------------------------------------------------------
// Columns

void DurnakGrid::setColumns(GridColumns columns)
{
    model_->setColumns(std::move(columns));
    applyVisibility();
}

void DurnakGrid::setColumnVisibility(const QString& nameOrField, Visibility visibility)
{
    model_->setVisibility(model_->columnIndex(nameOrField), visibility);
}

void DurnakGrid::setColumnVisible(const QString& nameOrField, bool visible)
{
    model_->setVisible(model_->columnIndex(nameOrField), visible);
}

bool DurnakGrid::isColumnVisible(const QString& nameOrField) const
{
    const int column = model_->columnIndex(nameOrField);
    return column >= 0 && model_->isVisible(column) && !header_->isSectionHidden(column);
}

std::vector<int> DurnakGrid::visibleColumns() const { return detail::visibleInOrder(header_, *model_); }

void DurnakGrid::applyVisibility()
{
    detail::applyVisibility(header_, *model_);
    if (footer_)
        footer_->update();
}

ColumnChooser* DurnakGrid::columnChooser()
{
    if (!chooser_)
        chooser_ = new ColumnChooser(model_, this);
    return chooser_;
}

void DurnakGrid::showColumnChooser()
{
    columnChooser()->refresh();
    chooser_->show();
    chooser_->raise();
}

// ---------------------------------------------------------------------------------------------
// Data

void DurnakGrid::setDataSet(data::TClientDataSet* dataSet) { model_->setDataSet(dataSet); }

void DurnakGrid::beginUpdate()
{
    if (updateDepth_++ == 0)
        setUpdatesEnabled(false);
}

void DurnakGrid::endUpdate()
{
    if (updateDepth_ == 0 || --updateDepth_ > 0)
        return;
    setUpdatesEnabled(true);
    updateGeometries();
    viewport()->update();
}

int DurnakGrid::focusedRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

int DurnakGrid::focusedSourceRow() const
{
    const int row = focusedRow();
    return row < 0 ? -1 : model_->sourceRow(row);
}

QVariant DurnakGrid::focusedValue(const QString& field) const
{
    const int row = focusedSourceRow();
    return row < 0 ? QVariant() : model_->sourceValue(row, field);
}

QString DurnakGrid::focusedColumnCaption() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_->column(current.column()).headerText() : QString();
}

void DurnakGrid::focusRow(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    int column = currentIndex().isValid() ? currentIndex().column() : -1;
    if (column < 0 || header_->isSectionHidden(column)) {
        const auto visible = visibleColumns();
        column = visible.empty() ? 0 : visible.front();
    }
    setCurrentIndex(model_->index(row, column));
    scrollTo(model_->index(row, column));
}

void DurnakGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (!searching_)
        searchText_.clear();
    if (current.row() != previous.row()) {
        indicator_->viewport()->update();
        emit focusedRowChanged(current.isValid() ? model_->sourceRow(current.row()) : -1);
    }
}

void DurnakGrid::focusOutEvent(QFocusEvent* event)
{
    searchText_.clear();
    QTableView::focusOutEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Look

void DurnakGrid::setGridStyle(const GridStyle& style)
{
    style_ = style;
    detail::applyContentColour(viewport(), style_);
    header_->viewport()->update();
    indicator_->viewport()->update();
    footer_->update();
    viewport()->update();
}

void DurnakGrid::setDataRowHeight(int height) { indicator_->setDefaultSectionSize(height); }

int DurnakGrid::dataRowHeight() const { return indicator_->defaultSectionSize(); }

void DurnakGrid::setHeaderHeight(int height)
{
    header_->setHeight(height);
    updateGeometries();
}

void DurnakGrid::setIndicatorVisible(bool visible) { indicator_->setVisible(visible); }

void DurnakGrid::setIndicatorWidth(int width)
{
    indicator_->setIndicatorWidth(width);
    updateGeometries();
}

void DurnakGrid::setHeaderVisible(bool visible) { header_->setVisible(visible); }

void DurnakGrid::setFocusMode(FocusMode mode)
{
    focusMode_ = mode;
    // The whole row is highlighted either way; in cell mode the focused cell stands out and
    // left/right move it.
    if (mode == FocusMode::Cell)
        delegate_->setCellFocus([this] { return currentIndex(); });
    else
        delegate_->setCellFocus({});
    viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Filters

void DurnakGrid::setFilterButtons(bool on) { header_->setFilterButtons(on); }

QStringList DurnakGrid::filterValues(const QString& nameOrField) const
{
    return model_->filterValues(model_->columnIndex(nameOrField));
}

void DurnakGrid::setColumnFilter(const QString& nameOrField, const QStringList& values)
{
    model_->setFilter(model_->columnIndex(nameOrField), values);
}

void DurnakGrid::showFilterMenu(int column, const QPoint& globalPos)
{
    detail::filterMenu(*model_, column, globalPos, this);
}

// ---------------------------------------------------------------------------------------------
// Incremental search

void DurnakGrid::keyboardSearch(const QString& search)
{
    if (!incrementalSearch_ || search.isEmpty() || model_->rowCount() == 0)
        return;
    QModelIndex current = currentIndex();
    int column = current.isValid() ? current.column() : -1;
    if (column < 0 || header_->isSectionHidden(column)) {
        const auto visible = visibleColumns();
        if (visible.empty())
            return;
        column = visible.front();
    }
    const QString wanted = searchText_ + search;
    const int from = current.isValid() ? current.row() : 0;
    const int row = model_->findPrefix(column, wanted, from);
    if (row < 0)
        return;  // no row matches: the typed character is refused
    searching_ = true;
    const QModelIndex target = model_->index(row, column);
    setCurrentIndex(target);
    scrollTo(target);
    searching_ = false;
    searchText_ = wanted;
}

void DurnakGrid::keyPressEvent(QKeyEvent* event)
{
    if (incrementalSearch_ && !searchText_.isEmpty()) {
        if (event->key() == Qt::Key_Escape) {
            searchText_.clear();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Backspace) {
            searchText_.chop(1);
            event->accept();
            return;
        }
        // Ctrl+Down / Ctrl+Up: next / previous row with the same beginning.
        if ((event->modifiers() & Qt::ControlModifier)
            && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
            const QModelIndex current = currentIndex();
            const int n = model_->rowCount();
            const int step = event->key() == Qt::Key_Down ? 1 : -1;
            for (int i = 1; i < n; ++i) {
                const int row = ((current.row() + step * i) % n + n) % n;
                if (model_->findPrefix(current.column(), searchText_, row) == row) {
                    searching_ = true;
                    setCurrentIndex(model_->index(row, current.column()));
                    scrollTo(currentIndex());
                    searching_ = false;
                    break;
                }
            }
            event->accept();
            return;
        }
    }
    if (event->key() == Qt::Key_Space && incrementalSearch_ && !searchText_.isEmpty()) {
        keyboardSearch(QStringLiteral(" "));
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Footer

void DurnakGrid::setFooterVisible(bool visible)
{
    footerVisible_ = visible;
    footer_->setVisible(visible);
    updateGeometries();
}

void DurnakGrid::setFooterSummaries(std::vector<FooterSummary> summaries)
{
    summaries_ = std::move(summaries);
    recomputeFooter();
}

void DurnakGrid::recomputeFooter()
{
    if (summaries_.empty() && footer_->texts().empty())
        return;
    footer_->setTexts(detail::footerTexts(*model_, summaries_, footerValues_));
}

QString DurnakGrid::footerText(const QString& nameOrField) const
{
    const int column = model_->columnIndex(nameOrField);
    const auto& texts = footer_->texts();
    return column >= 0 && column < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(column)] : QString();
}

void DurnakGrid::placeFooter()
{
    footer_->placeUnder(viewport()->geometry(), frameWidth(), footerVisible_);
}

void DurnakGrid::updateGeometries()
{
    if (inGeometry_)
        return;
    inGeometry_ = true;
    QTableView::updateGeometries();
    // The base class leaves no room under the rows; the footer takes a strip of the viewport's
    // margin, so the row count per page is worked out again for the shorter viewport.
    const int footerHeight = footerVisible_ ? FooterBar::kHeight : 0;
    const QMargins margins = viewportMargins();
    if (margins.bottom() != footerHeight)
        setViewportMargins(margins.left(), margins.top(), margins.right(), footerHeight);
    // The indicator aligns the last row with its own bottom when scrolled to the end.
    const QRect vp = viewport()->geometry();
    if (!indicator_->isHidden())
        indicator_->setGeometry(indicator_->x(), vp.top(), indicator_->width(), vp.height());
    const int rows = model_->rowCount();
    const int rowHeight = std::max(1, indicator_->defaultSectionSize());
    const int height = viewport()->height();
    if (verticalScrollMode() == QAbstractItemView::ScrollPerItem) {
        const int perPage = std::max(1, height / rowHeight);
        verticalScrollBar()->setRange(0, std::max(0, rows - perPage));
        verticalScrollBar()->setPageStep(perPage);
    } else {
        verticalScrollBar()->setRange(0, std::max(0, rows * rowHeight - height));
        verticalScrollBar()->setPageStep(height);
    }
    placeFooter();
    inGeometry_ = false;
}

// ---------------------------------------------------------------------------------------------
// Widths

void DurnakGrid::KolonGenislikleri()
{
    const detail::PaintLock lock(this);  // no repainting while the widths change
    detail::applyWeights(header_, *model_, width());
}

void DurnakGrid::bestFit()
{
    const detail::PaintLock lock(this);  // no repainting while the widths change
    detail::bestFit(header_, *model_, fontMetrics(), QFontMetrics(style_.header.font), 24);
}

void DurnakGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (proportionalOnResize_ && isEnabled())
        KolonGenislikleri();
}

} // namespace durnak::grid
