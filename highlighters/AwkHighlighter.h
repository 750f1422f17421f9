// TzrAWKSyn: the scanner for AWK scripts. It looks its words up in a sorted list telling keywords, built-in
// functions and built-in variables apart; nothing spans lines, so the range stays 0. It exports.
#pragma once

#include "highlighters/KeywordTable.h"
#include "highlighters/LineScanner.h"

namespace highlighters {

class TzrAWKSyn : public LineScanner<TzrAWKSyn> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkComment = 0,
    tkIdentifier,
    tkInterFunc,
    tkKey,
    tkNull,
    tkNumber,
    tkSpace,
    tkString,
    tkSymbol,
    tkSysVar,
  };
  static constexpr const char* kDefaultFilter = "AWK Script (*.awk)|*.awk";

  TzrAWKSyn();

  CharSet WordChars() const override;
  std::string LanguageTitle() const override { return "AWK Script"; }
  int Capabilities() const override { return kUserSettings | kRegistry | kExportable; }
  void NextToken() override {
    tokenStart_ = run_;
    Dispatch();
  }
  void ResetRangeState() override { range_ = 0; }
  void StartExportLine(std::string_view text) override;
  void ExportNextToken() override;

  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* InterFuncAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;
  TqeHighLightAttributes* SysVarAttri;

 private:
  void Comment() { ToLineEnd(tkComment); }
  void Quoted();
  void Field();
  void Number();
  void Word();
  void Symbol() { Take(tkSymbol, 1); }
  void Single() { Take(tkIdentifier, 1); }
  void Bang() { Operator(tkSymbol, {"!=", "!~"}); }
  // The character, with a '=' right after it.
  void WithEqual() { Take(tkSymbol, At(run_ + 1) == '=' ? 2 : 1); }
  void Plus() { Operator(tkSymbol, {"++", "+="}); }
  void Minus() { Operator(tkSymbol, {"--", "-="}); }
  // "&&", "||" and "?:" are symbols; the single character is an identifier token.
  void Doubled() {
    const unsigned char second = At(run_) == '?' ? ':' : At(run_);
    if (At(run_ + 1) == second)
      Take(tkSymbol, 2);
    else
      Take(tkIdentifier, 1);
  }

  KeywordTable<std::uint8_t> words_;
};

}  // namespace highlighters
