#pragma once

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cmath>
#include <functional>
#include <optional>

#include "../imagelist/ListTestSupport.h"
#include "AppTestSupport.h"
#include "app/MainView.h"
#include "msgbox/ExtMsgBoxDefs.h"

// The view over a test list, its dialogs answered by the test.
class CTestView : public CMainView {
public:
    explicit CTestView(CAdjustOption& option) : CMainView(option, nullptr, std::make_unique<CTestListCtrl>(option))
    {
        List().SetPreview(&List().preview);
        m_pPreview = &List().preview;
    }

    CTestListCtrl& List() { return static_cast<CTestListCtrl&>(m_list); }

    QStringList openFiles;
    QStringList folders;
    std::function<int(CAdjustOption&)> sheet;  // null: Cancel
    int sheetRuns = 0;
    std::optional<double> angle;  // nullopt: Cancel
    std::optional<RECT> margin;
    std::vector<double> angleSeeds;
    std::vector<RECT> marginSeeds;

protected:
    QStringList AskOpenFiles() override { return openFiles; }
    QStringList AskFolders() override { return folders; }
    int RunOptionsSheet(CAdjustOption& option) override
    {
        ++sheetRuns;
        return sheet ? sheet(option) : IDCANCEL;
    }
    bool AskRotateAngle(double& value) override
    {
        angleSeeds.push_back(value);
        if (angle)
            value = *angle;
        return angle.has_value();
    }
    bool AskMarginCut(RECT& value) override
    {
        marginSeeds.push_back(value);
        if (margin)
            value = *margin;
        return margin.has_value();
    }
};

// A view over pages in a temporary folder, with the cheap adjustment.
class CViewFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        option.SaveDirType = 2;
        option.SaveAnyDir = dir.filePath(QStringLiteral("out"));
        option.OwPrompt = 0;
        // Preview and execute jobs stay in their first page while held, until stopped.
        List().adjust = [this](const QImage& source, CPageRecord& info, QString& message) {
            entered = true;
            while (hold && !List().IsStopRequested())
                std::this_thread::yield();
            return QuickAdjust(source, info, message);
        };
        QGuiApplication::clipboard()->clear();
    }

    CTestListCtrl& List() { return view.List(); }

    QString Page(const QString& name)
    {
        const QString path = dir.filePath(name);
        WritePage(path);
        return path;
    }

    // Pages added through the intake and loaded, none selected.
    void AddLoaded(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names)
            paths.append(Page(name));
        List().AddFiles(paths);
        ASSERT_TRUE(WaitIdle(List()));
        List().clearSelection();
    }

    void Select(std::initializer_list<int> rows)
    {
        List().clearSelection();
        for (const int row : rows)
            List().selectionModel()->select(List().model()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QStringList RowPaths()
    {
        QStringList paths;
        for (int row = 0; row < List().GetItemCount(); ++row)
            paths.append(List().GetImageInfo(row)->m_strPath);
        return paths;
    }

    // A preview job of every row, held in its first page.
    void StartHeldPreview()
    {
        hold = true;
        entered = false;
        view.OnPreviewAll();
        ASSERT_TRUE(WaitUntil([this] { return entered.load(); }));
    }

    void Release()
    {
        hold = false;
        ASSERT_TRUE(WaitIdle(List()));
    }

    std::atomic<bool> hold{false};
    std::atomic<bool> entered{false};
    QTemporaryDir dir;
    CAdjustOption option;
    CTestView view{option};
};
