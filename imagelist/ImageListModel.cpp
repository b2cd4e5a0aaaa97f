#include "imagelist/ImageListModel.h"

#include <algorithm>

int CImageListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nItemCount;
}

int CImageListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant CImageListModel::data(const QModelIndex&, int) const
{
    return {};
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
    if (row >= 0 && row < m_nItemCount) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}
