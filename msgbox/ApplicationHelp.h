#pragma once

#include <QtGlobal>

// Help contexts of the platform's numbering: a dialog's topic is its template
// id above kHelpResourceBase.
constexpr quintptr kHelpResourceBase = 0x20000;
constexpr unsigned kHelpContext = 1;

// Asks the application object for help through an invokable
// WinHelp(quintptr data, uint command) when it has one; nothing otherwise.
void AskApplicationHelp(quintptr data, unsigned command);
