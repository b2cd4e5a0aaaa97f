#pragma once

#include <QAbstractTableModel>

#include <functional>

// The list's rows are virtual: the model holds only an item count, and the
// list control supplies and draws each row's content from its entries. Its
// columns are the visible rows of the column table, in table order.
class CImageListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using TextCallback = std::function<QString(int row, int column)>;

    explicit CImageListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    int GetItemCount() const { return m_nItemCount; }
    // Grows or shrinks the row count at its end.
    void SetItemCount(int count);
    void DeleteItem(int row);
    void RedrawItem(int row);

    // The texts of the cells (the list's text callback).
    void SetTextCallback(TextCallback callback) { m_textOf = std::move(callback); }
    void InsertColumn(int column);
    void DeleteColumn(int column);

private:
    int m_nItemCount = 0;
    int m_nColumnCount = 0;
    TextCallback m_textOf;
};
