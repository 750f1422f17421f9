// TqePasSyn: the scanner for Pascal sources. Beyond keywords, comments, strings and numbers it keeps three
// pieces of context across lines in its range: which comment style is open, whether the text is inside an
// assembler block (whose tokens are painted as assembler), and whether it is inside a property
// declaration, where read, write, stored and their kin are reserved. It exports.
#pragma once

#include "highlighters/KeywordTable.h"
#include "highlighters/LineScanner.h"

namespace highlighters {

class TqePasSyn : public LineScanner<TqePasSyn> {
 public:
  enum TokenKindValue : std::uint8_t {
    tkAsm = 0,
    tkComment,
    tkIdentifier,
    tkKey,
    tkNull,
    tkNumber,
    tkSpace,
    tkString,
    tkSymbol,
    tkUnknown,
  };
  enum RangeKind : std::uint8_t {
    rsAnsi = 1,      // a "(*" comment
    rsAnsiAsm = 2,   // a "(*" comment opened inside an assembler block
    rsAsm = 3,       // an assembler block
    rsBor = 4,       // a brace comment
    rsBorAsm = 5,    // a brace comment opened inside an assembler block
    rsProperty = 6,  // a property declaration
    rsUnknown = 7,   // normal
  };
  static constexpr const char* kDefaultFilter = "Pascal files (*.pas,*.dpr,*.dpk,*.inc)|*.pas;*.dpr;*.dpk;*.inc";

  TqePasSyn();

  CharSet WordChars() const override { return CharsOf(IsIdentifierChar); }
  std::string LanguageTitle() const override { return "ObjectPascal"; }
  int Capabilities() const override { return kUserSettings | kRegistry | kExportable; }
  // Inside an assembler block every token but comments, spaces and the line's end is reported, and
  // painted, as assembler.
  int TokenKind() const override { return ReportedKind(); }
  const TqeHighLightAttributes* TokenAttribute() const override { return AttributeOf(ReportedKind()); }
  void NextToken() override;
  void ResetRangeState() override { range_ = rsUnknown; }
  void StartExportLine(std::string_view text) override;
  void ExportNextToken() override;

  // Off: overload, Reintroduce and Implements are never keywords.
  bool D4syntax = true;

  TqeHighLightAttributes* AsmAttri;
  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* NumberAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* StringAttri;
  TqeHighLightAttributes* SymbolAttri;

  // What a listed word is, and what it does to the range when it is met.
  enum class WordClass : std::uint8_t { kNone, kReserved, kInProperty, kInPropertyD4, kD4 };
  enum class RangeEffect : std::uint8_t { kNone, kAsm, kEnd, kProperty, kAutomated, kVisibility };
  struct Word {
    WordClass reserved = WordClass::kNone;
    RangeEffect effect = RangeEffect::kNone;
  };

 private:
  std::uint8_t ReportedKind() const;
  void AnsiComment(std::size_t from);
  void BorComment(std::size_t from);
  void Brace();
  void Paren();
  void Slash();
  void Quoted() { QuotedLiteral(tkString, '\'', kTripleOpens); }
  void CharCode();
  void HexNumber();
  void Number();
  void Identifier();
  void Symbol() { Take(tkSymbol, 1); }
  void Stray() { Take(tkUnknown, 1); }
  void Colon() { Operator(tkSymbol, {":="}); }
  void Less() { Operator(tkSymbol, {"<=", "<>"}); }
  void Greater() { Operator(tkSymbol, {">="}); }
  void AtSign() { Operator(tkSymbol, {"@@"}); }
  void Dot() { Operator(tkSymbol, {".)", ".."}); }
  bool OnlyBlanksBefore(std::size_t position) const;

  KeywordTable<Word> keywords_;
  bool asmStart_ = false;  // the keyword Asm was the last token
};

}  // namespace highlighters
