#pragma once

#include "app/UICommandHandler.h"

class IRibbonTarget;

// The ribbon's application: one command handler for every command, and the
// ribbon's own settings kept in "RibbonState" across runs.
class CUIApplication final : public IRibbonApplication {
public:
    explicit CUIApplication(IRibbonTarget& target) : m_target(target), m_handler(target) {}

    IRibbonCommandHandler& CommandHandler() override { return m_handler; }
    void OnViewChanged(RibbonViewVerb verb, CRibbonWidget& ribbon) override;

private:
    IRibbonTarget& m_target;
    CUICommandHandler m_handler;
};
