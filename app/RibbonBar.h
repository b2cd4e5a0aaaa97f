#pragma once

#include <QWidget>

// The pane at the top of the main frame that keeps the ribbon's height free
// above the view. The ribbon tells it its height when its view changes.
class CRibbonBar : public QWidget {
    Q_OBJECT

public:
    explicit CRibbonBar(QWidget* parent = nullptr);

    void SetRibbonHeight(int height);
    int GetRibbonHeight() const { return m_nRibbonHeight; }

private:
    int m_nRibbonHeight = 0;
};
