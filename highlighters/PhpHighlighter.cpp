// The PHP scanner's attributes and the page it reads them in.
#include "highlighters/PhpHighlighter.h"

namespace highlighters {

TPhpSyn::TPhpSyn() : TPhpSyn(EmbeddedScanners{}) {}

TPhpSyn::TPhpSyn(const EmbeddedScanners& scanners) : PageScanner(true), code_(RegisterPhpAttributes()) {
  SetAttributeNotifier();
  if (scanners.html) {
    Bind(scanners, code_, TagAttri);
  } else {
    owned_ = std::make_unique<OwnedEmbeddedScanners>();
    Bind(owned_->Pointers(), code_, TagAttri);
  }
  SetDefaultFilter(kDefaultFilter);
}

PhpAttributes TPhpSyn::RegisterPhpAttributes() {
  CommentAttri = RegisterAttribute(NewAttribute("Comment", platform::kItalic));
  HeredocAttri = RegisterAttribute(NewAttribute("Heredoc"));
  IdentifierAttri = RegisterAttribute(NewAttribute("Identifier"));
  KeyAttri = RegisterAttribute(NewAttribute("Reserved word", platform::kBold));
  NumberAttri = RegisterAttribute(NewAttribute("Number"));
  SpaceAttri = RegisterAttribute(NewAttribute("Space"));
  StringAttri = RegisterAttribute(NewAttribute("String"));
  SymbolAttri = RegisterAttribute(NewAttribute("Symbol"));
  TagAttri = RegisterAttribute(NewAttribute("Tag", platform::kBold));
  VariableAttri = RegisterAttribute(NewAttribute("Variable"));
  return {CommentAttri, HeredocAttri, IdentifierAttri, KeyAttri,     NumberAttri,
          SpaceAttri,   StringAttri,  SymbolAttri,     VariableAttri};
}

}  // namespace highlighters
