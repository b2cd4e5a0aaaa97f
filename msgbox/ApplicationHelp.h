#pragma once

#include <QString>
#include <QUrl>
#include <QtGlobal>

#include <functional>

// The program's help: one HTML page per window and options page, named after
// the template id of the window ("136.html"), in the folder "help" beside the
// executable. Page 128, the main window's, is the contents.

// Help contexts of the platform's numbering: a dialog's topic is its template
// id above kHelpResourceBase.
constexpr quintptr kHelpResourceBase = 0x20000;
constexpr unsigned kHelpContext = 1;

// The page of the template, or the contents page when the template has none.
QString GetHelpPagePath(int templateId);
// Opens the template's page in the desktop's browser, as OpenLink.
bool OpenHelpPage(int templateId);
// Opens a page or folder with the desktop; when it cannot, a message box
// names what could not be opened, and the result is false.
bool OpenLink(const QUrl& url);
// Replaces how a page is opened (a test records the address instead).
void SetHelpOpener(std::function<bool(const QUrl&)> opener);

// Help asked for by context: the page of the template id the context names
// above kHelpResourceBase, or the contents for any other context or command.
void AskApplicationHelp(quintptr data, unsigned command);
