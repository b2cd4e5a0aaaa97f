#include "imagelist/ImageListModel.h"

#include <algorithm>

#include "imagelist/ColumnTable.h"

int CImageListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nItemCount;
}

int CImageListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nColumnCount;
}

QVariant CImageListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !m_textOf || !index.isValid()) {
        return {};
    }
    const QString text = m_textOf(index.row(), index.column());
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant CImageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const ColumnDef* column = ColumnTable.Find(ColumnTable.IdAtControlIndex(section));
    if (orientation != Qt::Horizontal || column == nullptr) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return column->title;
    }
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment align = column->format == COLUMN_FORMAT_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(align | Qt::AlignVCenter);
    }
    return {};
}

void CImageListModel::InsertColumn(int column)
{
    beginInsertColumns(QModelIndex(), column, column);
    ++m_nColumnCount;
    endInsertColumns();
}

void CImageListModel::DeleteColumn(int column)
{
    if (column < 0 || column >= m_nColumnCount) {
        return;
    }
    beginRemoveColumns(QModelIndex(), column, column);
    --m_nColumnCount;
    endRemoveColumns();
}

void CImageListModel::SetItemCount(int count)
{
    count = std::max(count, 0);
    if (count > m_nItemCount) {
        beginInsertRows(QModelIndex(), m_nItemCount, count - 1);
        m_nItemCount = count;
        endInsertRows();
    } else if (count < m_nItemCount) {
        beginRemoveRows(QModelIndex(), count, m_nItemCount - 1);
        m_nItemCount = count;
        endRemoveRows();
    }
}

void CImageListModel::DeleteItem(int row)
{
    if (row < 0 || row >= m_nItemCount) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    --m_nItemCount;
    endRemoveRows();
}

void CImageListModel::RedrawItem(int row)
{
    if (row >= 0 && row < m_nItemCount && m_nColumnCount > 0) {
        emit dataChanged(index(row, 0), index(row, m_nColumnCount - 1));
    }
}
