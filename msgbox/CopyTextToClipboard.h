#pragma once

class QString;

// Puts the text on the clipboard as plain text; true when the clipboard holds it afterwards.
bool CopyTextToClipboard(const QString& text);
