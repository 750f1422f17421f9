// Making a scanner from its language's short name, for qmtool and tests.
#pragma once

#include <memory>
#include <string_view>

#include "highlighters/CustomHighlighter.h"

namespace highlighters {

// "html" so far; nothing for a name without a scanner.
std::unique_ptr<TqeCustomHighLighter> CreateHighlighter(std::string_view language);

}  // namespace highlighters
