// TgxSQLSyn: the scanner for SQL scripts: statements, clauses and procedural words without regard to case,
// block comments that span lines, "--", "#" and "//" line comments, two string styles and numbers. White
// space is painted as a symbol. Saved colour schemes come from the settings store.
#pragma once

#include "highlighters/KeywordTable.h"
#include "highlighters/LineScanner.h"

namespace highlighters {

class TgxSQLSyn : public LineScanner<TgxSQLSyn> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkComment = 0,
    tkIdentifier,
    tkKey,
    tkNull,
    tkNumber,
    tkString,
    tkSymbol,
    tkUnknown,
  };
  // Every value but rsComment counts as normal.
  enum RangeKind : std::uint8_t { rsComment = 1, rsUnknown = 2 };
  static constexpr const char* kDefaultFilter = "SQL files (*.sql)|*.sql";
  // Where the saved schemes live: one subkey each, holding one subkey per attribute.
  static constexpr const char* kSchemesKey = "HKEY_CURRENT_USER\\Software\\qeEdit team\\Highlighters\\SQL";

  // With a settings store, the first saved scheme, if any, replaces the colours at once.
  explicit TgxSQLSyn(const platform::Registry* settings = nullptr);

  std::string LanguageTitle() const override { return "SQL"; }
  int Capabilities() const override { return kUserSettings | kRegistry; }
  void NextToken() override;
  void ResetRangeState() override { range_ = rsUnknown; }
  std::vector<std::string> ListUserSettings() const override;
  bool ApplyUserSetting(int index) override;

  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;

 private:
  void Slash();
  void Dash();
  void Comment() { ToLineEnd(tkComment); }
  void DoubleQuoted() { QuotedLiteral(tkString, '"', kTripleOpens | kBackslashQuote); }
  void SingleQuoted() { QuotedLiteral(tkString, '\'', kPlainLiteral); }
  void DotOrNumber() { DotsOrNumber(tkSymbol, tkNumber); }
  void Number() { ScriptNumber(tkNumber); }
  void Word();
  void Symbol() { Take(tkSymbol, 1); }
  void Stray() { Take(tkUnknown, 1); }

  const platform::Registry* settings_;
  KeywordTable<TokenKindValue> keywords_;
};

}  // namespace highlighters
