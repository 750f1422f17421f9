// The main window's highlighter objects, configured as its form has always configured them.
#pragma once

#include "highlighters/HtmlHighlighter.h"

namespace app {

// TypeHTML's colours: script blocks black on yellow, comments gray italic, attribute names maroon, known
// tags blue bold, unknown tags red bold, values orange, entities lime bold, the rest in window colours.
void ConfigureTypeHTML(highlighters::TzrHTMLSyn& html);

}  // namespace app
