#pragma once

#include "platform/ribbon/RibbonMarkup.h"

// The program's ribbon: its tabs, groups, buttons and their strings.
RibbonMarkup CreateRibbonMarkup();
