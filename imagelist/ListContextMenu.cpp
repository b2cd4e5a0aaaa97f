#include "imagelist/ImageListCtrl.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

#include "imagelist/OverrideMenu.h"

int CImageListCtrl::OnContextMenu(const QPoint& point)
{
    const std::vector<int> rows = GetSelectedRows();
    if (rows.empty()) {
        return 0;
    }
    std::vector<const CImageInfo*> entries;
    entries.reserve(rows.size());
    for (const int row : rows) {
        entries.push_back(GetImageInfo(row));
    }
    const std::vector<int> checked = GetCheckedOverrideCommands(GetCommonOverrides(entries));
    QMenu menu(QStringLiteral("ImageList"), this);
    for (const OverrideMenuItem& item : GetOverrideMenuItems()) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromUtf8(item.text));
        action->setData(item.id);
        action->setCheckable(true);
        action->setChecked(std::find(checked.begin(), checked.end(), item.id) != checked.end());
    }
    const QPoint at = point == QPoint(-1, -1) ? mapToGlobal(QPoint(0, 0)) : point;
    const int command = TrackPopupMenu(menu, at);
    if (command != 0) {
        emit MenuCommand(command);
    }
    return command;
}

int CImageListCtrl::TrackPopupMenu(QMenu& menu, const QPoint& point)
{
    const QAction* chosen = menu.exec(point);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

void CImageListCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu key stands for no point of its own.
    OnContextMenu(event->reason() == QContextMenuEvent::Keyboard ? QPoint(-1, -1) : event->globalPos());
    event->accept();
}
