#pragma once

#include <QAbstractTableModel>

// The list's rows are virtual: the model holds only an item count, and the
// list control supplies and draws each row's content from its entries.
class CImageListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit CImageListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    int GetItemCount() const { return m_nItemCount; }
    // Grows or shrinks the row count at its end.
    void SetItemCount(int count);
    void DeleteItem(int row);
    void RedrawItem(int row);

private:
    int m_nItemCount = 0;
};
