#pragma once

#include <string>

// The member name as a path below the extraction folder: backslashes count
// as separators, and empty, "." and ".." segments and a drive prefix are
// dropped, so the result never leaves the folder. Empty when nothing remains.
std::string SafeRelativePath(const std::string& memberName);

// Creates root and the folders of relative below it. An existing name on the
// way that is not a real folder (a file, a link) is an error. True on success.
bool MakeFolders(const std::string& root, const std::string& relative);
