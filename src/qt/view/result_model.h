#pragma once

#include "data/knowledge_base_query.h"

#include <QAbstractTableModel>

namespace view {

// The grid's view of the knowledge-base query: the rows fetched so far, one
// empty row while nothing is open or nothing matched, and the next batch of
// 50 fetched only when the view asks for it.
class ResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultModel(quelvo::KnowledgeBaseQuery& query, QObject* parent = nullptr);

    quelvo::KnowledgeBaseQuery& query() const { return query_; }

    // Close, set the pattern, open. Errors propagate; the grid is then empty.
    void runSearch(const std::u16string& pattern);

    // True when the rows shown are the query's (not the placeholder row).
    bool hasRows() const { return shown_ > 0; }
    // Raw field text for painting, without a copy. Null for the empty row.
    quelvo::FieldValue field(int row, int column) const;

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

    quelvo::KnowledgeBaseQuery& query_;
    int shown_ = 0;
};

} // namespace view
