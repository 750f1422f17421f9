// TWebPageSyn: the scanner the HTML mode binds: the HTML scanner with every style, script, style attribute
// and server block of the page read by its own language's scanner and shown in that scanner's colours.
#pragma once

#include <memory>

#include "highlighters/PhpHighlighter.h"

namespace highlighters {

class TWebPageSyn : public PageScanner {
 public:
  static constexpr const char* kDefaultFilter = TzrHTMLSyn::kDefaultFilter;

  // With scanners of its own.
  TWebPageSyn();
  // With these, whose colours it shows; PHP blocks are read by the PHP scanner's code scanner.
  TWebPageSyn(const EmbeddedScanners& scanners, TPhpSyn& php);

  std::string LanguageTitle() const override { return "HTML Document"; }

 private:
  std::unique_ptr<OwnedEmbeddedScanners> owned_;
  std::unique_ptr<TPhpSyn> ownedPhp_;
};

}  // namespace highlighters
