// The scanners by name.
#include "highlighters/HighlighterFactory.h"

#include "highlighters/HtmlHighlighter.h"

namespace highlighters {

std::unique_ptr<TqeCustomHighLighter> CreateHighlighter(std::string_view language) {
  if (language == "html") return std::make_unique<TzrHTMLSyn>();
  return nullptr;
}

}  // namespace highlighters
