// Word wrap of one line: where its rows begin when it is shown a given number of cells wide.
#pragma once

#include <string_view>
#include <vector>

#include "platform/TextEncoding.h"

namespace editor {

// The shown columns (1-based) at which the second and later rows of a line begin when it is wrapped at
// width cells: after the last blank that fits, or, in a word longer than a row, after the last character
// that fits (a row always takes at least one character, a wide one too). Empty when the line fits on one
// row, or width is below one.
std::vector<int> WrapPoints(std::string_view line, int width, int tabWidth, platform::TextEncoding encoding);

}  // namespace editor
