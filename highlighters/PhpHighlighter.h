// TPhpSyn: the scanner for PHP files: PHP inside the <?php ?> and <?= ?> blocks, and outside them the page
// they are written in, with its styles and scripts. Its attributes are PHP's; the HTML, CSS, JavaScript and
// VBScript around the blocks show their own scanners' colours.
#pragma once

#include <memory>

#include "highlighters/PageScanner.h"

namespace highlighters {

class TPhpSyn : public PageScanner {
 public:
  static constexpr const char* kDefaultFilter = "PHP files (*.php,*.phtml)|*.php;*.phtml";

  // Reads what surrounds the blocks with scanners of its own.
  TPhpSyn();
  // Reads it with these, and shows their colours.
  explicit TPhpSyn(const EmbeddedScanners& scanners);

  CharSet WordChars() const override { return code_.WordChars(); }
  std::string LanguageTitle() const override { return "PHP"; }
  PhpBlockScanner& Code() { return code_; }

  // Declared before the code scanner, which is made with them.
  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* HeredocAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;
  TqeHighLightAttributes* TagAttri;
  TqeHighLightAttributes* VariableAttri;

 private:
  PhpAttributes RegisterPhpAttributes();

  PhpBlockScanner code_;
  std::unique_ptr<OwnedEmbeddedScanners> owned_;
};

}  // namespace highlighters
