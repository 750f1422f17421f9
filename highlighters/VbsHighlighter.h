// TpvVbsSyn: the scanner for VBScript: keywords without regard to case, comments, strings, date literals,
// numbers and symbols. Nothing spans lines, so the range stays 1.
#pragma once

#include "highlighters/KeywordTable.h"
#include "highlighters/LineScanner.h"

namespace highlighters {

class TpvVbsSyn : public LineScanner<TpvVbsSyn> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkComment = 0,
    tkIdentifier,
    tkKey,
    tkNull,
    tkNumber,
    tkSpace,
    tkString,
    tkSymbol,
  };
  static constexpr const char* kDefaultFilter = "VBScript files (*.vbs)|*.vbs";

  TpvVbsSyn();

  CharSet WordChars() const override;
  std::string LanguageTitle() const override { return "MS VBScript"; }
  int Capabilities() const override { return kUserSettings | kRegistry; }
  void NextToken() override {
    tokenStart_ = run_;
    Dispatch();
  }
  void ResetRangeState() override { range_ = 1; }

  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;

 private:
  void Comment() { ToLineEnd(tkComment); }
  void DoubleQuoted() { QuotedLiteral(tkString, '"', kTripleOpens); }
  void DateLiteral() { QuotedLiteral(tkString, '#', kPlainLiteral); }
  void Number();
  void Word();
  void Symbol() { Take(tkSymbol, 1); }
  void Other() { Take(tkIdentifier, 1); }
  void Less() { Operator(tkSymbol, {"<=", "<>"}); }
  void Greater() { Operator(tkSymbol, {">="}); }

  KeywordTable<TokenKindValue> keywords_;
};

}  // namespace highlighters
