#include "view/result_model.h"

#include "view/error_guard.h"

namespace view {

ResultModel::ResultModel(quelvo::KnowledgeBaseQuery& query, QObject* parent)
    : QAbstractTableModel(parent), query_(query)
{
}

void ResultModel::runSearch(const std::u16string& pattern)
{
    beginResetModel();
    shown_ = 0;
    try {
        query_.close();
        query_.setParameter(pattern);
        query_.open();
    } catch (...) {
        endResetModel();
        throw;
    }
    shown_ = static_cast<int>(query_.rowCount());
    endResetModel();
}

quelvo::FieldValue ResultModel::field(int row, int column) const
{
    if (row < 0 || row >= shown_ || column < 0 || column >= 2)
        return {};
    return query_.rows().field(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
}

int ResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(shown_, 1);
}

int ResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ResultModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const quelvo::FieldValue value = field(index.row(), index.column());
    if (value.isNull)
        return {};
    return QString(reinterpret_cast<const QChar*>(value.data), static_cast<qsizetype>(value.size));
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    // The second column has no title of its own: it shows the field name.
    return section == 0 ? QStringLiteral("Problema") : QStringLiteral("solucao");
}

Qt::ItemFlags ResultModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool ResultModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && shown_ > 0 && query_.canFetchMore();
}

void ResultModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    guarded([&] {
        struct Announce {
            ResultModel* model;
            ~Announce() { model->announceNewRows(); }
        } announce{this}; // the rows of a batch cut short by an error still show
        query_.fetchMore();
    });
}

void ResultModel::announceNewRows()
{
    const int available = static_cast<int>(query_.rowCount());
    if (available <= shown_)
        return;
    beginInsertRows({}, shown_, available - 1);
    shown_ = available;
    endInsertRows();
}

} // namespace view
