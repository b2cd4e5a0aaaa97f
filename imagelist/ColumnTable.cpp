#include "imagelist/ColumnTable.h"

#include <QtEndian>

#include <algorithm>

CColumnTable ColumnTable;

CColumnTable::CColumnTable()
    : m_rows{{
          {COLUMN_FILE_NAME, QStringLiteral("ファイル名"), COLUMN_FORMAT_LEFT, 200, 0},
          {COLUMN_FILE_PATH, QStringLiteral("ファイルパス"), COLUMN_FORMAT_LEFT, 200, -1},
          {COLUMN_FILE_SIZE, QStringLiteral("ファイルサイズ"), COLUMN_FORMAT_RIGHT, 70, 1},
          {COLUMN_MODIFIED, QStringLiteral("更新日時"), COLUMN_FORMAT_LEFT, 130, -1},
          {COLUMN_KIND, QStringLiteral("種類"), COLUMN_FORMAT_LEFT, 50, 2},
          {COLUMN_SRC_SIZE, QStringLiteral("元画像サイズ"), COLUMN_FORMAT_LEFT, 90, 3},
          {COLUMN_ADJ_SIZE, QStringLiteral("新画像サイズ"), COLUMN_FORMAT_LEFT, 90, 4},
          {COLUMN_AUTO, QStringLiteral("自動調整"), COLUMN_FORMAT_LEFT, 100, 5},
          {COLUMN_OVERRIDE, QStringLiteral("個別指定"), COLUMN_FORMAT_LEFT, 100, 6},
          {COLUMN_SRC_THUMB, QStringLiteral("元画像"), COLUMN_FORMAT_LEFT, 102, 7},
          {COLUMN_ADJ_THUMB, QStringLiteral("新画像"), COLUMN_FORMAT_LEFT, 102, 8},
      }}
{
}

ColumnDef* CColumnTable::Find(int id)
{
    const auto row = std::find_if(m_rows.begin(), m_rows.end(), [id](const ColumnDef& def) { return def.id == id; });
    return row == m_rows.end() ? nullptr : &*row;
}

const ColumnDef* CColumnTable::Find(int id) const
{
    return const_cast<CColumnTable*>(this)->Find(id);
}

int CColumnTable::VisibleCount() const
{
    return static_cast<int>(
        std::count_if(m_rows.begin(), m_rows.end(), [](const ColumnDef& def) { return def.order >= 0; }));
}

int CColumnTable::ControlIndexOf(int id) const
{
    int index = 0;
    for (const ColumnDef& def : m_rows) {
        if (def.id == id)
            return def.order >= 0 ? index : -1;
        if (def.order >= 0)
            ++index;
    }
    return -1;
}

int CColumnTable::IdAtControlIndex(int index) const
{
    for (const ColumnDef& def : m_rows) {
        if (def.order >= 0 && index-- == 0)
            return def.id;
    }
    return -1;
}

std::vector<int> CColumnTable::OrderArray() const
{
    std::vector<int> order;
    for (int position = 0; position < kRows; ++position) {
        int index = 0;
        for (const ColumnDef& def : m_rows) {
            if (def.order == position) {
                order.push_back(index);
                break;
            }
            if (def.order >= 0)
                ++index;
        }
    }
    return order;
}

BOOL CColumnTable::SetColumnVisible(int id, BOOL show)
{
    ColumnDef* column = Find(id);
    if (column == nullptr || (column->order >= 0) == (show != 0))
        return 0;
    if (!show) {
        for (ColumnDef& def : m_rows) {
            if (def.order > column->order)
                --def.order;
        }
        column->order = -1;
        return 1;
    }
    // Next to its nearest visible neighbour before it in the table, else in
    // the place of the first visible one after it.
    int newOrder = -1;
    bool seen = false;
    for (const ColumnDef& def : m_rows) {
        if (&def == column) {
            seen = true;
        } else if (def.order >= 0 && !seen) {
            newOrder = def.order + 1;
        } else if (def.order >= 0 && newOrder < 0) {
            newOrder = def.order;
            break;
        }
    }
    newOrder = std::max(newOrder, 0);
    for (ColumnDef& def : m_rows) {
        if (def.order >= newOrder)
            ++def.order;
    }
    column->order = newOrder;
    return 1;
}

void CColumnTable::MoveColumn(int index, int newOrder)
{
    ColumnDef* column = Find(IdAtControlIndex(index));
    if (column == nullptr)
        return;
    const int old = column->order;
    for (ColumnDef& def : m_rows) {
        if (&def == column || def.order < 0)
            continue;
        if (old < newOrder && def.order > old && def.order <= newOrder)
            --def.order;
        else if (old >= newOrder && def.order >= newOrder && def.order < old)
            ++def.order;
    }
    column->order = newOrder;
}

void CColumnTable::LoadColumnLayout(const QByteArray& data)
{
    constexpr qsizetype kTriple = 12;
    for (qsizetype at = 0; at + kTriple <= data.size(); at += kTriple) {
        const auto* bytes = reinterpret_cast<const uchar*>(data.constData() + at);
        if (ColumnDef* column = Find(qFromLittleEndian<qint32>(bytes))) {
            column->width = qFromLittleEndian<qint32>(bytes + 4);
            column->order = qFromLittleEndian<qint32>(bytes + 8);
        }
    }
}

QByteArray CColumnTable::SaveColumnLayout() const
{
    QByteArray data(kRows * 12, '\0');
    auto* bytes = reinterpret_cast<uchar*>(data.data());
    for (const ColumnDef& def : m_rows) {
        for (const int value : {def.id, def.width, def.order}) {
            qToLittleEndian<qint32>(value, bytes);
            bytes += 4;
        }
    }
    return data;
}

int ThumbSizePixels(int mode)
{
    switch (mode) {
    case 0:
        return 192;
    case 1:
        return 96;
    case 2:
        return 48;
    default:
        return 0;
    }
}
