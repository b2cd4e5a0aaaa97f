#pragma once

#include "ListTestSupport.h"
#include "imagelist/ColumnTable.h"
#include "imagelist/ListApplication.h"

// The application's fonts and debug switch as a test sets them.
struct CFakeApplication : IListApplication {
    QFont statusFont;
    bool debugOn = false;

    QFont GetStatusFont() const override { return statusFont; }
    QFont GetBoldFont() const override { return statusFont; }
    bool IsDebugOn() const override { return debugOn; }
    bool LoadColumnInfo(QByteArray& stream) override
    {
        stream = columnInfo;
        return !columnInfo.isNull();
    }

    QByteArray columnInfo;
};

// A list over entries held in memory, built from the default column table.
class CListViewFixture : public ::testing::Test {
protected:
    CListViewFixture() : list((ColumnTable = CColumnTable(), option)) {}

    // An entry without a file, shown at once.
    CImageInfo& Entry(const QString& name)
    {
        CImageInfo& info = AddEntry(list, QStringLiteral("/no/such/folder/") + name);
        list.UpdateFileCount();
        return info;
    }

    std::vector<QString> RowNames() const
    {
        std::vector<QString> names;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            names.push_back(list.GetImageInfo(row)->GetColumnText(COLUMN_FILE_NAME));
        return names;
    }

    void Select(std::initializer_list<int> rows)
    {
        for (const int row : rows)
            list.selectionModel()->select(list.model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    CAdjustOption option;
    CTestListCtrl list;
};
