#pragma once

#include "ui/cell_click.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

#include <memory>

namespace view {

class ResultModel;
class WordWidths;

// The narrow column at the left of the grid: marks the current row.
class RowIndicator : public QHeaderView {
    Q_OBJECT
public:
    explicit RowIndicator(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// The title row of the grid. Paints a section's background over the visible
// stretch only: styles render it through a cached picture as large as the
// section, and the first column is some 35 000 pixels wide. The title stays
// where the whole section puts it.
class TitleRow : public QHeaderView {
    Q_OBJECT
public:
    explicit TitleRow(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// Draws a cell's value as the first line of its word-wrapped text, clipped to
// the cell; lays out only as much text as can reach the visible part.
class FirstLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit FirstLineDelegate(QObject* parent = nullptr);
    ~FirstLineDelegate() override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    WordWidths& wordWidthsFor(const QFont& font) const;

    mutable std::unique_ptr<WordWidths> wordWidths_; // for the last font painted
};

// The read-only result grid `DBGrid1`. A press of any button on a data row
// makes it current; releasing the left button over a data cell, after a
// press on one, raises cellClicked. Titles, the indicator column, the area
// below the last row, other buttons and keys raise nothing.
class ResultGrid : public QTableView {
    Q_OBJECT
public:
    explicit ResultGrid(QWidget* parent = nullptr);

    void setResultModel(ResultModel* model);
    ResultModel* resultModel() const { return model_; }

    // Column widths as the grid computes them for its font.
    void applyColumnWidths();

signals:
    void cellClicked(int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    ui::GridArea areaAt(QPoint viewportPos) const;

    ResultModel* model_ = nullptr;
    ui::CellClickRule clickRule_;
};

} // namespace view
