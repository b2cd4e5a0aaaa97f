#include "app/UICommandHandler.h"

#include "app/RibbonIds.h"
#include "app/RibbonTarget.h"
#include "platform/ribbon/RibbonWidget.h"

void CUICommandHandler::Execute(unsigned command, RibbonVerb verb, std::optional<RibbonKey> key,
                                const RibbonValue& value)
{
    if (verb != RibbonVerb::Execute)
        return;
    if (command == cmdMRUList) {
        if (key == RibbonKey::SelectedItem)
            ExecuteRecentItem(value);
        return;
    }
    if (command >= cmdListLarge && command <= cmdListSmall) {
        ExecuteThumbSize(command);
        return;
    }
    if (const int posted = FindPostedCommand(command)) {
        m_target.PostCommand(posted);
        return;
    }
    const int column = FindColumnCommand(command);
    const bool* shown = std::get_if<bool>(&value);
    if (column >= 0 && key == RibbonKey::BooleanValue && shown)
        m_target.ShowColumn(column, *shown);
}

// An item adds its path again; the extra last entry clears the list.
void CUICommandHandler::ExecuteRecentItem(const RibbonValue& value)
{
    const unsigned* index = std::get_if<unsigned>(&value);
    if (!index)
        return;
    const QStringList items = m_target.GetRecentItems();
    if (*index < static_cast<unsigned>(items.size()))
        m_target.AddFiles({items[static_cast<qsizetype>(*index)]});
    else if (!items.isEmpty())
        m_target.ClearRecentItems();
}

void CUICommandHandler::ExecuteThumbSize(unsigned command)
{
    m_target.SetThumbSize(static_cast<int>(command - cmdListLarge));
    if (!m_pRibbon)
        return;
    for (unsigned size : {cmdListLarge, cmdListMedium, cmdListSmall})
        m_pRibbon->InvalidateUICommand(size, RIBBON_INVALIDATE_VALUE);
}

std::optional<RibbonValue> CUICommandHandler::UpdateProperty(unsigned command, RibbonKey key)
{
    std::optional<bool> answer;
    switch (key) {
    case RibbonKey::RecentItems:
        if (command == cmdMRUList)
            return BuildRecentItemsArray(m_target.GetRecentItems());
        return std::nullopt;
    case RibbonKey::Enabled:
        answer = IsCommandEnabled(command, m_target.GetCommandState());
        break;
    case RibbonKey::BooleanValue:
        answer = IsCommandChecked(command, m_target.GetCommandState());
        break;
    default:
        return std::nullopt;
    }
    if (!answer)
        return std::nullopt;
    return *answer;
}
