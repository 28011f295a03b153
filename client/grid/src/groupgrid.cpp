#include "durnak/grid/groupgrid.hpp"

#include <algorithm>

#include <QPainter>
#include <QScrollBar>

#include "common.hpp"
#include "durnak/grid/columnchooser.hpp"
#include "durnak/grid/painting.hpp"

namespace durnak::grid {

namespace {
constexpr quintptr kTopLevel = 0;

bool keyLess(const QVariant& a, const QVariant& b, const QString& textA, const QString& textB)
{
    if (a.isNull() != b.isNull())
        return a.isNull();
    if (a.typeId() != QMetaType::QString && b.typeId() != QMetaType::QString) {
        const auto order = QVariant::compare(a, b);
        if (order != QPartialOrdering::Unordered)
            return order == QPartialOrdering::Less;
    }
    return QString::localeAwareCompare(textA, textB) < 0;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// GroupModel

GroupModel::GroupModel(GridModel* source, QObject* parent) : QAbstractItemModel(parent), source_(source)
{
    // The grid model announces every change of rows, values and filters through this one.
    connect(source, &GridModel::contentChanged, this, &GroupModel::rebuild);
}

void GroupModel::setGroupColumn(int column)
{
    groupColumn_ = column;
    rebuild();
}

void GroupModel::setGroupSummaries(std::vector<FooterSummary> summaries)
{
    summaries_ = std::move(summaries);
    rebuild();
}

void GroupModel::rebuild()
{
    beginResetModel();
    groups_.clear();
    if (groupColumn_ >= 0 && groupColumn_ < source_->columnCount()) {
        std::vector<Group> groups;
        QHash<QString, std::size_t> byText;
        for (int row = 0; row < source_->rowCount(); ++row) {
            const QString text = source_->displayText(row, groupColumn_);
            auto it = byText.find(text);
            if (it == byText.end()) {
                Group group;
                group.key = source_->rawValue(row, groupColumn_);
                group.text = text;
                it = byText.insert(text, groups.size());
                groups.push_back(std::move(group));
            }
            groups[*it].rows.push_back(row);
        }
        std::stable_sort(groups.begin(), groups.end(),
                         [](const Group& a, const Group& b) { return keyLess(a.key, b.key, a.text, b.text); });
        for (auto& group : groups) {
            std::vector<int> sourceRows;
            sourceRows.reserve(group.rows.size());
            for (int row : group.rows)
                sourceRows.push_back(source_->sourceRow(row));
            group.footer = detail::footerTexts(*source_, summaries_, group.values, &sourceRows);
        }
        groups_ = std::move(groups);
    }
    endResetModel();
}

QString GroupModel::groupText(int group) const
{
    const auto& g = groups_[static_cast<std::size_t>(group)];
    return source_->column(groupColumn_).headerText() + QStringLiteral(" : ") + g.text;
}

QString GroupModel::groupFooterText(int group, int column) const
{
    const auto& footer = groups_[static_cast<std::size_t>(group)].footer;
    return column >= 0 && column < static_cast<int>(footer.size()) ? footer[static_cast<std::size_t>(column)] : QString();
}

QModelIndex GroupModel::groupIndex(int group) const { return index(2 * group, 0); }

QModelIndex GroupModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= columnCount() || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, kTopLevel);
    return createIndex(row, column, static_cast<quintptr>(parent.row() / 2 + 1));
}

QModelIndex GroupModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == kTopLevel)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1) * 2, 0, kTopLevel);
}

int GroupModel::rowCount(const QModelIndex& parent) const
{
    if (groupColumn_ < 0)
        return parent.isValid() ? 0 : source_->rowCount();
    if (!parent.isValid())
        return static_cast<int>(groups_.size()) * 2;
    if (parent.internalId() != kTopLevel || parent.row() % 2 != 0 || parent.column() != 0)
        return 0;
    return static_cast<int>(groups_[static_cast<std::size_t>(parent.row() / 2)].rows.size());
}

int GroupModel::columnCount(const QModelIndex&) const { return source_->columnCount(); }

QVariant GroupModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (groupColumn_ < 0)
        return source_->data(source_->index(index.row(), index.column()), role);
    if (index.internalId() == kTopLevel) {
        const int group = index.row() / 2;
        const bool header = index.row() % 2 == 0;
        if (role == RowTypeRole)
            return static_cast<int>(header ? RowType::GroupHeader : RowType::GroupFooter);
        if (role == SourceRowRole)
            return -1;
        if (role == PositionRole)
            return 0;
        if (role != Qt::DisplayRole)
            return {};
        if (header)
            return index.column() == 0 ? QVariant(groupText(group)) : QVariant();
        return groupFooterText(group, index.column());
    }
    const auto& rows = groups_[static_cast<std::size_t>(index.internalId() - 1)].rows;
    const int flat = rows[static_cast<std::size_t>(index.row())];
    if (role == PositionRole)
        return index.row();
    return source_->data(source_->index(flat, index.column()), role);
}

QVariant GroupModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return source_->headerData(section, orientation, role);
}

Qt::ItemFlags GroupModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (groupColumn_ >= 0 && index.internalId() == kTopLevel && index.row() % 2 == 1)
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;  // footer rows
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---------------------------------------------------------------------------------------------
// DurnakGroupGrid

DurnakGroupGrid::DurnakGroupGrid(QWidget* parent)
    : QTreeView(parent),
      model_(new GridModel(this)),
      groups_(new GroupModel(model_, this)),
      delegate_(new CellDelegate(model_, &style_, this)),
      header_(new GridHeader(model_, &style_, this)),
      footer_(new FooterBar(header_, &style_, this))
{
    setHeader(header_);
    setModel(groups_);
    setItemDelegate(delegate_);
    header_->setFilterButtons(false);
    header_->setStretchLastSection(false);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setDefaultSectionSize(100);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setRootIsDecorated(false);
    setIndentation(0);
    setItemsExpandable(true);
    setExpandsOnDoubleClick(true);
    setAllColumnsShowFocus(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFont(gridFont(13));
    footer_->setFont(font());
    detail::applyContentColour(viewport(), style_);
    delegate_->setRowHeight(rowHeight_);

    connect(groups_, &QAbstractItemModel::modelReset, this, &DurnakGroupGrid::afterReset);
    connect(model_, &GridModel::visibilityChanged, this, [this] { detail::applyVisibility(header_, *model_); });
    connect(model_, &GridModel::contentChanged, this, &DurnakGroupGrid::recomputeFooter);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, footer_, qOverload<>(&QWidget::update));
    connect(header_, &GridHeader::chooserRequested, this, [this] { showColumnChooser(); });
}

DurnakGroupGrid::~DurnakGroupGrid() = default;

ColumnChooser* DurnakGroupGrid::columnChooser()
{
    if (!chooser_)
        chooser_ = new ColumnChooser(model_, this);
    return chooser_;
}

void DurnakGroupGrid::showColumnChooser()
{
    columnChooser()->refresh();
    chooser_->show();
    chooser_->raise();
}

void DurnakGroupGrid::setColumns(GridColumns columns)
{
    model_->setColumns(std::move(columns));
    detail::applyVisibility(header_, *model_);
}

void DurnakGroupGrid::beginUpdate()
{
    if (updateDepth_++ == 0)
        setUpdatesEnabled(false);
}

void DurnakGroupGrid::endUpdate()
{
    if (updateDepth_ == 0 || --updateDepth_ > 0)
        return;
    setUpdatesEnabled(true);
    updateGeometries();
    viewport()->update();
}

void DurnakGroupGrid::setColumnVisibility(const QString& nameOrField, Visibility visibility)
{
    model_->setVisibility(model_->columnIndex(nameOrField), visibility);
}

std::vector<int> DurnakGroupGrid::visibleColumns() const { return detail::visibleInOrder(header_, *model_); }

void DurnakGroupGrid::setGroupBy(const QString& nameOrField)
{
    const int column = nameOrField.isEmpty() ? -1 : model_->columnIndex(nameOrField);
    if (column >= 0)
        model_->setVisible(column, false);
    groups_->setGroupColumn(column);
}

void DurnakGroupGrid::setGroupSummaries(std::vector<FooterSummary> summaries)
{
    groups_->setGroupSummaries(std::move(summaries));
}

void DurnakGroupGrid::setFooterSummaries(std::vector<FooterSummary> summaries)
{
    summaries_ = std::move(summaries);
    recomputeFooter();
}

void DurnakGroupGrid::recomputeFooter()
{
    footer_->setTexts(detail::footerTexts(*model_, summaries_, footerValues_));
}

QString DurnakGroupGrid::footerText(const QString& nameOrField) const
{
    const int column = model_->columnIndex(nameOrField);
    const auto& texts = footer_->texts();
    return column >= 0 && column < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(column)] : QString();
}

void DurnakGroupGrid::afterReset()
{
    detail::applyVisibility(header_, *model_);
    for (int g = 0; g < groups_->groupCount(); ++g)
        setFirstColumnSpanned(2 * g, QModelIndex(), true);
}

void DurnakGroupGrid::collapseAllGroups() { collapseAll(); }

void DurnakGroupGrid::expandAllGroups() { expandAll(); }

void DurnakGroupGrid::setGridStyle(const GridStyle& style)
{
    style_ = style;
    detail::applyContentColour(viewport(), style_);
    header_->viewport()->update();
    footer_->update();
    viewport()->update();
}

void DurnakGroupGrid::setDataRowHeight(int height)
{
    rowHeight_ = height;
    delegate_->setRowHeight(height);
    doItemsLayout();
}

void DurnakGroupGrid::setHeaderHeight(int height)
{
    header_->setHeight(height);
    updateGeometries();
}

void DurnakGroupGrid::setFooterVisible(bool visible)
{
    footerVisible_ = visible;
    footer_->setVisible(visible);
    updateGeometries();
}

void DurnakGroupGrid::KolonGenislikleri()
{
    const detail::PaintLock lock(this);  // no repainting while the widths change
    detail::applyWeights(header_, *model_, width());
}

void DurnakGroupGrid::bestFit()
{
    detail::bestFit(header_, *model_, fontMetrics(), QFontMetrics(style_.header.font), 24);
}

void DurnakGroupGrid::placeFooter()
{
    footer_->placeUnder(viewport()->geometry(), frameWidth(), footerVisible_);
}

void DurnakGroupGrid::updateGeometries()
{
    if (inGeometry_)
        return;
    inGeometry_ = true;
    QTreeView::updateGeometries();
    const int footerHeight = footerVisible_ ? FooterBar::kHeight : 0;
    const QMargins margins = viewportMargins();
    if (margins.bottom() != footerHeight)
        setViewportMargins(margins.left(), margins.top(), margins.right(), footerHeight);
    // Shown rows: every group and footer row plus the rows of expanded groups.
    int shown = groups_->rowCount();
    for (int g = 0; g < groups_->groupCount(); ++g)
        if (isExpanded(groups_->groupIndex(g)))
            shown += static_cast<int>(groups_->groupRows(g).size());
    verticalScrollBar()->setRange(0, std::max(0, shown * rowHeight_ - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    placeFooter();
    inGeometry_ = false;
}

void DurnakGroupGrid::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (static_cast<RowType>(index.data(RowTypeRole).toInt()) != RowType::GroupHeader) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    // Group rows span the width, with an expand marker in front of the text.
    const QRect row(0, option.rect.top(), viewport()->width(), option.rect.height());
    painter->fillRect(row, style_.group.background);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(style_.group.text);
    const QPointF c(10, row.center().y() + 0.5);
    if (isExpanded(index))
        painter->drawPolygon(QPolygonF{{c.x() - 4, c.y() - 2}, {c.x() + 4, c.y() - 2}, {c.x(), c.y() + 3}});
    else
        painter->drawPolygon(QPolygonF{{c.x() - 2, c.y() - 4}, {c.x() + 3, c.y()}, {c.x() - 2, c.y() + 4}});
    painter->restore();
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(style_.group.text);
    painter->drawText(row.adjusted(20, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->setPen(style_.gridLine);
    painter->drawLine(row.bottomLeft(), row.bottomRight());
}

void DurnakGroupGrid::drawBranches(QPainter*, const QRect&, const QModelIndex&) const {}

} // namespace durnak::grid
