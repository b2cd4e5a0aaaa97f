#pragma once

#include <QWidget>

#include "imagelist/ImageListCtrl.h"

// The main frame's client window: the image list fills it, and it is the
// first to answer every command.
class CMainView : public QWidget {
    Q_OBJECT

public:
    CMainView(CAdjustOption& option, QWidget* parent = nullptr);

    // True when the view handled the command.
    bool OnCmdMsg(int id);
    void OnStop();

    CImageListCtrl m_list;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// The stop command of the ribbon and of the status bar's stop button.
constexpr int ID_STOP = 32781;
constexpr int ID_STOP_BUTTON = 1001;
