#include "durnak/grid/painting.hpp"

#include <algorithm>

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "durnak/grid/icons.hpp"

namespace durnak::grid {

namespace {

constexpr int kTextMargin = 3;
constexpr int kFilterButtonWidth = 14;

void drawCentredPixmap(QPainter* painter, const QRect& rect, const QPixmap& pixmap, Qt::Alignment alignment)
{
    if (pixmap.isNull())
        return;
    const QSize size = pixmap.deviceIndependentSize().toSize();
    int x = rect.left() + (rect.width() - size.width()) / 2;
    if (alignment & Qt::AlignLeft)
        x = rect.left() + kTextMargin;
    else if (alignment & Qt::AlignRight)
        x = rect.right() - kTextMargin - size.width();
    const int y = rect.top() + (rect.height() - size.height()) / 2;
    painter->drawPixmap(x, y, pixmap);
}

bool truthy(const QVariant& value)
{
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    return value.toDouble() > 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CellDelegate

CellDelegate::CellDelegate(const GridModel* model, const GridStyle* style, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), style_(style), pictures_(64 * 1024)
{
    connect(model, &QAbstractItemModel::modelReset, this, [this] { pictures_.clear(); });
    connect(model, &QAbstractItemModel::dataChanged, this, [this] { pictures_.clear(); });
}

QPixmap CellDelegate::picture(int sourceRow, int column) const
{
    const qint64 key = (static_cast<qint64>(sourceRow) << 16) | static_cast<qint64>(column & 0xFFFF);
    if (auto* cached = pictures_.object(key))
        return *cached;
    const QVariant value = model_->sourceValue(sourceRow, model_->column(column).field);
    QPixmap pixmap;
    const QByteArray bytes = value.toByteArray();
    if (!bytes.isEmpty()) {
        QImage image;
        if (image.loadFromData(bytes))  // format recognised from the bytes
            pixmap = QPixmap::fromImage(std::move(image));
    }
    const int cost = std::max<qint64>(1, static_cast<qint64>(pixmap.width()) * pixmap.height() * 4 / 1024);
    pictures_.insert(key, new QPixmap(pixmap), cost);
    return pixmap;
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto type = static_cast<RowType>(index.data(RowTypeRole).toInt());
    if (type != RowType::Data) {
        paintGroupRow(painter, option, index, type);
        return;
    }
    const int column = index.column();
    if (column < 0 || column >= model_->columnCount())
        return;
    const GridColumn& col = model_->column(column);
    const bool selected = option.state & QStyle::State_Selected;
    const int position = index.data(PositionRole).toInt();
    const StyleEntry& entry = selected ? style_->selection : (position % 2 == 0 ? style_->even : style_->odd);
    const QRect rect = option.rect;

    QColor fill = entry.background;
    if (selected && current_) {
        const QModelIndex current = current_();
        if (current.isValid() && current.row() == index.row() && current.column() == column
            && current.parent() == index.parent())
            fill = fill.darker(112);
    }
    painter->fillRect(rect, fill);

    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    switch (col.kind) {
    case CellKind::Text:
        break;
    case CellKind::Check:
        drawCentredPixmap(painter, rect, checkIcon(truthy(index.data(Qt::EditRole))), alignment);
        break;
    case CellKind::Durum: {
        const QVariant value = index.data(Qt::EditRole);
        if (!value.isNull())
            drawCentredPixmap(painter, rect, durumIcon(value.toInt()), alignment);
        break;
    }
    case CellKind::Flag:
        drawCentredPixmap(painter, rect, flagIcon(truthy(index.data(Qt::EditRole)), col.flagZero), alignment);
        break;
    case CellKind::PictureMarker:
        if (index.data(Qt::EditRole).toInt() == 1)
            drawCentredPixmap(painter, rect, resimIcon(), alignment);
        break;
    case CellKind::Picture: {
        const QPixmap pixmap = picture(index.data(SourceRowRole).toInt(), column);
        if (!pixmap.isNull()) {
            const QSize size = pixmap.size().scaled(rect.size() - QSize(2, 2), Qt::KeepAspectRatio);
            const QSize drawn = pixmap.size().boundedTo(size);
            QRect target(QPoint(0, 0), drawn);
            target.moveCenter(rect.center());
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawPixmap(target, pixmap);
        }
        break;
    }
    case CellKind::Custom:
        if (col.draw) {
            CellPaint cell;
            cell.painter = painter;
            cell.rect = rect;
            cell.selected = selected;
            cell.position = position;
            cell.sourceRow = index.data(SourceRowRole).toInt();
            cell.model = model_;
            cell.style = style_;
            cell.font = option.font;
            painter->save();
            painter->setFont(option.font);
            painter->setPen(entry.text);
            col.draw(cell);
            painter->restore();
        }
        break;
    }

    if (col.kind == CellKind::Text || (col.kind == CellKind::Custom && !col.draw)) {
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            painter->setFont(option.font);
            painter->setPen(entry.text);
            const QRect textRect = rect.adjusted(kTextMargin, 1, -kTextMargin, -1);
            if (col.wrap) {
                painter->drawText(textRect, int(alignment) | Qt::TextWordWrap, text);
            } else {
                const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width());
                painter->drawText(textRect, int(alignment) | Qt::TextSingleLine, shown);
            }
        }
    }

    painter->setPen(style_->gridLine);
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
}

void CellDelegate::paintGroupRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                                 RowType type) const
{
    const StyleEntry& entry = type == RowType::GroupHeader ? style_->group : style_->footer;
    painter->fillRect(option.rect, entry.background);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        QFont font = option.font;
        font.setBold(true);
        painter->setFont(font);
        painter->setPen(entry.text);
        const auto alignment = type == RowType::GroupHeader ? Qt::AlignLeft : Qt::AlignRight;
        painter->drawText(option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0),
                          int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine, text);
    }
    painter->setPen(style_->gridLine);
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
}

QSize CellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (rowHeight_ > 0)
        return {QStyledItemDelegate::sizeHint(option, index).width(), rowHeight_};
    const int column = index.column();
    if (column >= 0 && column < model_->columnCount()) {
        switch (model_->column(column).kind) {
        case CellKind::Check:
        case CellKind::Durum:
        case CellKind::Flag:
        case CellKind::PictureMarker:
            return {kIconSize + 2 * kTextMargin, kIconSize};
        case CellKind::Picture: {
            const QPixmap pixmap = picture(index.data(SourceRowRole).toInt(), column);
            return pixmap.size() + QSize(2, 2);
        }
        default:
            break;
        }
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    return {option.fontMetrics.horizontalAdvance(text) + 2 * kTextMargin + 2, option.fontMetrics.height() + 2};
}

// ---------------------------------------------------------------------------------------------
// GridHeader

GridHeader::GridHeader(const GridModel* model, const GridStyle* style, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), model_(model), style_(style)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionsMovable(true);
    setMinimumSectionSize(0);
    setDefaultAlignment(Qt::AlignCenter);
}

void GridHeader::setHeight(int height)
{
    height_ = height;
    updateGeometry();
    if (auto* view = qobject_cast<QAbstractItemView*>(parentWidget()))
        view->updateGeometry();
}

void GridHeader::setFilterButtons(bool on)
{
    filterButtons_ = on;
    viewport()->update();
}

QSize GridHeader::sizeHint() const
{
    return {QHeaderView::sizeHint().width(), height_};
}

QRect GridHeader::filterButtonRect(int logicalIndex) const
{
    // Drawn columns have no values to offer.
    if (!filterButtons_ || isSectionHidden(logicalIndex) || logicalIndex >= model_->columnCount()
        || model_->sourceColumn(logicalIndex) < 0)
        return {};
    const int x = sectionViewportPosition(logicalIndex);
    const int width = sectionSize(logicalIndex);
    if (width < 2 * kFilterButtonWidth)
        return {};
    return QRect(x + width - kFilterButtonWidth - 2, 2, kFilterButtonWidth, viewport()->height() - 4);
}

FittedCaption fitCaption(const QString& caption, const QFont& font, int width)
{
    const QStringList words = caption.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    auto widest = [&words](const QFontMetrics& metrics) {
        int w = 0;
        for (const QString& word : words) w = std::max(w, metrics.horizontalAdvance(word));
        return w;
    };
    FittedCaption fitted{font, caption, false};
    const int size = QFontInfo(font).pixelSize();
    for (int smaller = size - 1; widest(QFontMetrics(fitted.font)) > width && smaller >= size - 3 && smaller >= 8;
         --smaller)
        fitted.font.setPixelSize(smaller);
    const QFontMetrics metrics(fitted.font);
    if (widest(metrics) > width) {
        fitted.font = font;
        fitted.text = QFontMetrics(font).elidedText(caption, Qt::ElideRight, std::max(0, width));
        fitted.elided = true;
    }
    return fitted;
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, style_->header.background);
    painter->setPen(style_->header.background.lighter(140));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    QRect textRect = rect.adjusted(kTextMargin, 1, -kTextMargin, -1);
    const QRect button = filterButtonRect(logicalIndex);
    if (!button.isNull())
        textRect.setRight(button.left() - 1);
    const FittedCaption fitted =
        fitCaption(model()->headerData(logicalIndex, Qt::Horizontal).toString(), style_->header.font, textRect.width());
    painter->setFont(fitted.font);
    painter->setPen(style_->header.text);
    if (fitted.elided)
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, fitted.text);
    else
        painter->drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap, fitted.text);

    if (!button.isNull()) {
        const bool filtered = model_->isFiltered(logicalIndex);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(filtered ? QColor(0xFF, 0xC1, 0x07) : style_->header.text);
        const QPointF c = QRectF(button).center();
        const QPolygonF arrow{QPointF(c.x() - 4, c.y() - 2), QPointF(c.x() + 4, c.y() - 2), QPointF(c.x(), c.y() + 3)};
        painter->drawPolygon(arrow);
    }
    painter->restore();
}

void GridHeader::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && filterButtons_) {
        const int logical = logicalIndexAt(event->position().toPoint());
        if (logical >= 0 && filterButtonRect(logical).contains(event->position().toPoint())) {
            emit filterButtonClicked(logical, event->globalPosition().toPoint());
            event->accept();
            return;
        }
    }
    QHeaderView::mousePressEvent(event);
}

void GridHeader::contextMenuEvent(QContextMenuEvent* event)
{
    emit chooserRequested(event->globalPos());
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// IndicatorHeader

IndicatorHeader::IndicatorHeader(const GridStyle* style, std::function<int()> currentRow, QWidget* parent)
    : QHeaderView(Qt::Vertical, parent), style_(style), currentRow_(std::move(currentRow))
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(1);
}

void IndicatorHeader::setIndicatorWidth(int width)
{
    width_ = width;
    updateGeometry();
}

QSize IndicatorHeader::sizeHint() const { return {width_, 0}; }

void IndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->fillRect(rect, style_->indicator.background);
    if (currentRow_ && currentRow_() == logicalIndex && rect.width() >= 6) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(style_->indicator.text);
        const qreal half = std::min<qreal>(4, rect.width() / 2.0 - 1);
        const QPointF c = QRectF(rect).center();
        painter->drawPolygon(QPolygonF{QPointF(c.x() - half / 2, c.y() - half), QPointF(c.x() + half / 2, c.y()),
                                       QPointF(c.x() - half / 2, c.y() + half)});
        painter->restore();
    }
}

// ---------------------------------------------------------------------------------------------
// FooterBar

FooterBar::FooterBar(QHeaderView* header, const GridStyle* style, QWidget* parent)
    : QWidget(parent), header_(header), style_(style)
{
    connect(header, &QHeaderView::sectionResized, this, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::sectionMoved, this, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::geometriesChanged, this, qOverload<>(&QWidget::update));
}

void FooterBar::setTexts(std::vector<QString> textsByColumn)
{
    texts_ = std::move(textsByColumn);
    update();
}

void FooterBar::placeUnder(const QRect& vp, int frameWidth, bool visible)
{
    if (!visible) {
        hide();
        return;
    }
    setGeometry(frameWidth, vp.bottom() + 1, vp.right() + 1 - frameWidth, kHeight);
    setLeftOffset(vp.left() - frameWidth);
    show();
    raise();
}

void FooterBar::setLeftOffset(int offset)
{
    leftOffset_ = offset;
    update();
}

void FooterBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), style_->footer.background);
    QFont font = this->font();
    font.setBold(true);
    painter.setFont(font);
    const int x0 = leftOffset_ - header_->offset();
    for (std::size_t c = 0; c < texts_.size(); ++c) {
        const int logical = static_cast<int>(c);
        if (texts_[c].isEmpty() || logical >= header_->count() || header_->isSectionHidden(logical))
            continue;
        const QRect cell(x0 + header_->sectionPosition(logical), 2, header_->sectionSize(logical), height() - 4);
        if (cell.right() < leftOffset_ || cell.width() <= 0)
            continue;
        painter.setClipRect(QRect(leftOffset_, 0, width() - leftOffset_, height()));
        painter.fillRect(cell.adjusted(1, 0, -1, 0), style_->footer.background.lighter(108));
        painter.setPen(style_->gridLine.darker(120));
        painter.drawRect(cell.adjusted(1, 0, -2, -1));
        painter.setPen(style_->footer.text);
        painter.drawText(cell.adjusted(kTextMargin, 0, -kTextMargin, 0), Qt::AlignRight | Qt::AlignVCenter, texts_[c]);
    }
}

} // namespace durnak::grid
