#pragma once

#include <string>

// Splits the command line -x "archive" "folder" into its two paths. The
// archive path may itself hold double quotes: the folder is the last quoted
// text. False when the line has another shape.
bool ParseExtractCommand(const char* commandLine, std::string& archive, std::string& folder);
