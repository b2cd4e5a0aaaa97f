#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// Answers every message box of the program in place of the user: a test that
// drives the whole program installs one; none (the default) shows the boxes.
using MessageBoxAnswerer = std::function<int(const QString& text, std::uint32_t style)>;

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);
// The installed answerer, or an empty one.
const MessageBoxAnswerer& GetMessageBoxAnswerer();
