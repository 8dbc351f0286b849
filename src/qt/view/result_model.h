#pragma once

#include "ui/result_rows.h"

#include <QAbstractTableModel>

namespace view {

// The grid's Qt model over the result rows: the rows fetched so far, one
// empty row while nothing is open or nothing matched, and the next batch of
// 50 fetched only when the view asks for it.
class ResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultModel(quelvo::KnowledgeBaseQuery& query, QObject* parent = nullptr);

    quelvo::KnowledgeBaseQuery& query() const { return rows_.query(); }
    ui::ResultRows& rows() { return rows_; }

    // searchClick: the typed text's pattern; close, set ID, open. Errors
    // propagate; the grid is then empty.
    void search(std::u16string_view typedText);

    bool hasRows() const { return rows_.hasRows(); }
    // Raw field text for painting, without a copy. Null for the empty row.
    quelvo::FieldValue field(int row, int column) const { return rows_.field(row, column); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    // Shows rows the query has fetched but the model has not announced yet.
    void announceNewRows();

    ui::ResultRows rows_;
};

} // namespace view
