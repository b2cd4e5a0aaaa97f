#include "platform/ribbon/RibbonWidget.h"

#include <QLayout>
#include <QStackedWidget>
#include <QToolButton>

// Buttons squeezed below their size would show their labels cut to "…".
// Instead, while the tab's groups do not fit, the last group still labelled
// shows its buttons as icons alone (their tooltips still name them); a wider
// ribbon gives the labels back.
void CRibbonWidget::FitGroups()
{
    const int tab = CurrentTab();
    if (tab < 0 || tab >= m_groups.size())
        return;
    const QList<QWidget*>& groups = m_groups[tab];
    for (QWidget* group : groups)
        ShowGroupLabels(*group, true);
    const QWidget& page = *m_pPanels->widget(tab);
    for (qsizetype i = groups.size() - 1; i >= 0 && page.sizeHint().width() > width(); --i)
        ShowGroupLabels(*groups[i], false);
}

void CRibbonWidget::ShowGroupLabels(QWidget& group, bool show)
{
    bool changed = false;
    for (QToolButton* button : group.findChildren<QToolButton*>()) {
        const bool large = button->iconSize().width() == kLargeIcon;
        const Qt::ToolButtonStyle style = !show   ? Qt::ToolButtonIconOnly
                                          : large ? Qt::ToolButtonTextUnderIcon
                                                  : Qt::ToolButtonTextBesideIcon;
        changed |= button->toolButtonStyle() != style;
        button->setToolButtonStyle(style);
    }
    if (!changed)
        return;
    // The new size is wanted at once, not at the next layout pass.
    for (QLayout* layout : group.findChildren<QLayout*>())
        layout->invalidate();
    group.updateGeometry();
}

// Every layout of the ribbon applied at once, from the outside in: a page
// just shown, or groups that have just dropped or taken back their labels,
// keep their old places until the next pass of the event loop otherwise.
void CRibbonWidget::LayOutNow()
{
    QList<QWidget*> widgets = findChildren<QWidget*>();
    widgets.prepend(this);
    for (QWidget* widget : std::as_const(widgets)) {
        if (QLayout* layout = widget->layout(); layout && widget->isVisible()) {
            layout->invalidate();
            layout->activate();
        }
    }
}
