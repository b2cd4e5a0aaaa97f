#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// The program's help: one HTML page per window and options page, named after
// the template id of the window ("136.html"), in the folder "help" beside the
// executable. Page 128, the main window's, is the contents.

// The page of the template, or the contents page when the template has none.
QString GetHelpPagePath(int templateId);
// Opens the template's page in the desktop's browser; false when it could not.
bool OpenHelpPage(int templateId);
// Replaces how a page is opened (a test records the address instead).
void SetHelpOpener(std::function<bool(const QUrl&)> opener);
