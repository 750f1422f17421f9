// The page scanner of the HTML mode, on scanners of its own or on the window's.
#include "highlighters/WebPageHighlighter.h"

namespace highlighters {

TWebPageSyn::TWebPageSyn()
    : PageScanner(false),
      owned_(std::make_unique<OwnedEmbeddedScanners>()),
      ownedPhp_(std::make_unique<TPhpSyn>(owned_->Pointers())) {
  Bind(owned_->Pointers(), ownedPhp_->Code(), ownedPhp_->TagAttri);
  SetDefaultFilter(kDefaultFilter);
}

TWebPageSyn::TWebPageSyn(const EmbeddedScanners& scanners, TPhpSyn& php) : PageScanner(false) {
  Bind(scanners, php.Code(), php.TagAttri);
  SetDefaultFilter(kDefaultFilter);
}

}  // namespace highlighters
