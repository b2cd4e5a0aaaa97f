#pragma once

#include "platform/ribbon/RibbonHandler.h"

class CRibbonWidget;
class IRibbonTarget;

// The program's answers to the ribbon: what each command does and when it
// is enabled or checked.
class CUICommandHandler final : public IRibbonCommandHandler {
public:
    explicit CUICommandHandler(IRibbonTarget& target) : m_target(target) {}

    void SetRibbon(CRibbonWidget* pRibbon) { m_pRibbon = pRibbon; }

    void Execute(unsigned command, RibbonVerb verb, std::optional<RibbonKey> key, const RibbonValue& value) override;
    std::optional<RibbonValue> UpdateProperty(unsigned command, RibbonKey key) override;

private:
    void ExecuteRecentItem(const RibbonValue& value);
    void ExecuteThumbSize(unsigned command);

    IRibbonTarget& m_target;
    CRibbonWidget* m_pRibbon = nullptr;
};
