#include "platform/ribbon/RibbonMarkup.h"

const RibbonCommand* RibbonMarkup::Find(unsigned id) const
{
    for (const RibbonCommand& command : commands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}
