#include "platform/ribbon/RibbonWidget.h"

#include <QLayout>
#include <QResizeEvent>
#include <QStackedWidget>

// The ribbon grows past the place its owner keeps for it, so the panel lies
// over the widgets below, which keep their size.
void CRibbonWidget::ShowDropDown(bool show)
{
    if (!m_pPanels || !m_bMinimized || show == m_bDroppedDown)
        return;
    m_bDroppedDown = show;
    m_pPanels->setVisible(show);
    layout()->activate();
    resize(width(), sizeHint().height());
    raise();
}

// The ribbon's own widgets, its menus among them.
bool CRibbonWidget::IsOwnWidget(const QObject* object) const
{
    for (auto* widget = qobject_cast<const QWidget*>(object); widget; widget = widget->parentWidget()) {
        if (widget == this)
            return true;
    }
    return false;
}

void CRibbonWidget::resizeEvent(QResizeEvent* event)
{
    // The owner set the ribbon back to its place (the window was resized):
    // the drop-down closes as at any click outside it, and its key tips with it.
    if (m_bDroppedDown && event->size().height() < sizeHint().height()) {
        m_bDroppedDown = false;
        m_pPanels->hide();
        ShowKeyTips(false);
    }
    if (event->size().width() != event->oldSize().width())
        FitGroups();
    if (m_nKeyTipLevel != 0)
        PlaceKeyTips();
    QWidget::resizeEvent(event);
}
