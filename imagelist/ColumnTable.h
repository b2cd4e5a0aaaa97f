#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

#include "platform/WinTypes.h"

// Column ids of the list, the rows of the column table.
enum ListColumnId {
    COLUMN_FILE_NAME = 0,
    COLUMN_FILE_PATH = 1,
    COLUMN_FILE_SIZE = 2,
    COLUMN_MODIFIED = 3,
    COLUMN_KIND = 4,
    COLUMN_SRC_SIZE = 5,
    COLUMN_ADJ_SIZE = 6,
    COLUMN_AUTO = 7,
    COLUMN_OVERRIDE = 8,
    COLUMN_SRC_THUMB = 9,
    COLUMN_ADJ_THUMB = 10,
};

enum { COLUMN_FORMAT_LEFT = 0, COLUMN_FORMAT_RIGHT = 1 };

struct ColumnDef {
    int id;
    QString title;
    int format;  // COLUMN_FORMAT_LEFT or COLUMN_FORMAT_RIGHT
    int width;   // pixels
    int order;   // position in the header; -1 hidden
};

// The list's columns: eleven rows that never move. Visible rows are the
// list's columns in table order, so a column's control index is the number
// of visible rows before it; the orders say where the header shows them.
class CColumnTable {
public:
    static constexpr int kRows = 11;

    CColumnTable();

    const std::array<ColumnDef, kRows>& Rows() const { return m_rows; }
    ColumnDef* Find(int id);
    const ColumnDef* Find(int id) const;

    int VisibleCount() const;
    // -1 when the id is unknown or its column hidden.
    int ControlIndexOf(int id) const;
    // Id of the index-th visible row; -1 when there is none.
    int IdAtControlIndex(int index) const;
    // For each display position that a row has, the control index shown there.
    std::vector<int> OrderArray() const;

    // FALSE when the id is unknown or the column already in that state.
    BOOL SetColumnVisible(int id, BOOL show);
    // Moves the column of a control index to a new display position.
    void MoveColumn(int index, int newOrder);

    // Applies the complete {id, width, order} triples of a stored layout.
    void LoadColumnLayout(const QByteArray& data);
    QByteArray SaveColumnLayout() const;

private:
    std::array<ColumnDef, kRows> m_rows;
};

// The one table the list and the ribbon share.
extern CColumnTable ColumnTable;

// Pixels of a thumbnail size mode: 0 192, 1 96, 2 48, any other 0.
int ThumbSizePixels(int mode);
