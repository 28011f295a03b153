#pragma once

#include <functional>

#include <QCache>
#include <QHeaderView>
#include <QPixmap>
#include <QStyledItemDelegate>

#include "durnak/grid/gridmodel.hpp"
#include "durnak/grid/style.hpp"

namespace durnak::grid {

// Paints every cell kind of a grid: text, check box, DURUM icons, Y/K flags, the RESIM
// marker, pictures from bytes and drawn cells. Faster than the style's item painting and the
// same in the table and the grouped view.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    CellDelegate(const GridModel* model, const GridStyle* style, QObject* parent = nullptr);

    // Highlights the focused cell of the selected row (single-cell focus).
    void setCellFocus(std::function<QModelIndex()> current) { current_ = std::move(current); }
    // Height every row reports (views with uniform rows ask the first one); 0: from content.
    void setRowHeight(int height) { rowHeight_ = height; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Decoded picture of a Picture cell (cached); null when the bytes are not a picture.
    QPixmap picture(int sourceRow, int column) const;
    void clearPictures() { pictures_.clear(); }

private:
    void paintGroupRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                       RowType type) const;

    const GridModel* model_;
    const GridStyle* style_;
    std::function<QModelIndex()> current_;
    int rowHeight_ = 0;
    mutable QCache<qint64, QPixmap> pictures_;
};

// How a column caption fits its header: wrapped at blanks and centred in the header font;
// a word wider than the column takes a smaller type (at most 3 pixels smaller), then an
// ellipsis at its end, so a caption is never cut at both ends.
struct FittedCaption {
    QFont font;
    QString text;
    bool elided = false;
};
FittedCaption fitCaption(const QString& caption, const QFont& font, int width);

// Column header: cxStyle3 colours and font, wrapped captions, fixed height and a filter
// button at the right of every section.
class GridHeader : public QHeaderView {
    Q_OBJECT

public:
    GridHeader(const GridModel* model, const GridStyle* style, QWidget* parent = nullptr);

    void setHeight(int height);
    int height() const { return height_; }
    void setFilterButtons(bool on);
    bool filterButtons() const { return filterButtons_; }
    QRect filterButtonRect(int logicalIndex) const;  // in header coordinates

    QSize sizeHint() const override;

signals:
    void filterButtonClicked(int logicalIndex, const QPoint& globalPos);
    void chooserRequested(const QPoint& globalPos);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const GridModel* model_;
    const GridStyle* style_;
    int height_ = 40;
    bool filterButtons_ = true;
};

// Row indicator: a narrow cxStyle5 strip with a marker on the focused row.
class IndicatorHeader : public QHeaderView {
    Q_OBJECT

public:
    IndicatorHeader(const GridStyle* style, std::function<int()> currentRow, QWidget* parent = nullptr);
    void setIndicatorWidth(int width);
    int indicatorWidth() const { return width_; }
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    const GridStyle* style_;
    std::function<int()> currentRow_;
    int width_ = 12;
};

// Footer row under the columns, following their positions and widths.
class FooterBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 26;

    FooterBar(QHeaderView* header, const GridStyle* style, QWidget* parent = nullptr);
    // Lays the bar over the strip its grid keeps free under the viewport, or hides it.
    void placeUnder(const QRect& viewportGeometry, int frameWidth, bool visible);
    void setTexts(std::vector<QString> textsByColumn);  // per logical column, empty for none
    const std::vector<QString>& texts() const { return texts_; }
    void setLeftOffset(int offset);  // where the viewport starts, past the indicator

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHeaderView* header_;
    const GridStyle* style_;
    std::vector<QString> texts_;
    int leftOffset_ = 0;
};

} // namespace durnak::grid
