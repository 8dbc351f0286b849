#include "view/result_model.h"

#include "ui/error_guard.h"

namespace view {

ResultModel::ResultModel(quelvo::KnowledgeBaseQuery& query, QObject* parent)
    : QAbstractTableModel(parent), rows_(query)
{
}

void ResultModel::search(std::u16string_view typedText)
{
    beginResetModel();
    try {
        rows_.search(typedText);
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

int ResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.rowCount();
}

int ResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ui::GridColumnCount;
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
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ui::GridColumnCount)
        return {};
    return QString::fromUtf16(ui::GridColumnTitles[section]);
}

Qt::ItemFlags ResultModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool ResultModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && rows_.canFetchMore();
}

void ResultModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    ui::guarded([&] {
        struct Announce {
            ResultModel* model;
            ~Announce() { model->announceNewRows(); }
        } announce{this}; // the rows of a batch cut short by an error still show
        rows_.fetchMore();
    });
}

void ResultModel::announceNewRows()
{
    const ui::ResultRows::Range pending = rows_.pendingRows();
    if (pending.empty())
        return;
    beginInsertRows({}, pending.first, pending.end - 1);
    rows_.showPendingRows();
    endInsertRows();
}

} // namespace view
