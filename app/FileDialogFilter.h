#pragma once

#include <QString>

// A file dialog's filter from the "description|patterns|...||" form: each
// pair becomes "description (patterns)", patterns apart by spaces, and "*.*"
// stands for every name, with a dot or without.
QString ToDialogFilter(const QString& filter);
