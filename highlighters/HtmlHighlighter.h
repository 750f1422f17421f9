// TzrHTMLSyn: the scanner for HTML pages with server-side <% %> blocks: running text, entities, tags with
// their names, attribute names and values, comments and script blocks. Tags, comments and script blocks
// may span lines through the range state.
#pragma once

#include <array>
#include <string>

#include "highlighters/CustomHighlighter.h"
#include "highlighters/KeywordTable.h"

namespace highlighters {

class TzrHTMLSyn : public TqeCustomHighLighter {
 public:
  enum TokenKindValue : std::uint8_t {
    tkAmpersand = 0,
    tkASP,
    tkComment,
    tkIdentifier,
    tkKey,
    tkNull,
    tkSpace,
    tkString,
    tkSymbol,
    tkText,
    tkUndefKey,
    tkValue,
  };
  enum RangeKind : std::uint8_t {
    rsAmpersand = 0,
    rsASP = 1,
    rsComment = 2,
    rsKey = 3,
    rsParam = 4,
    rsText = 5,
    rsValue = 7,
  };

  static constexpr const char* kDefaultFilter = "HTML Document (*.htm,*.html)|*.htm;*.html";

  TzrHTMLSyn();

  CharSet WordChars() const override;
  std::string LanguageTitle() const override { return "HTML Document"; }
  int Capabilities() const override { return kUserSettings | kRegistry | kExportable; }

  bool AtLineEnd() const override { return kind_ == tkNull; }
  RangeValue RangeState() const override { return range_; }
  std::string_view TokenText() const override {
    return std::string_view(line_).substr(tokenStart_, run_ - tokenStart_);
  }
  const TqeHighLightAttributes* TokenAttribute() const override;
  int TokenKind() const override { return kind_; }
  int TokenPosition() const override { return static_cast<int>(tokenStart_); }
  void NextToken() override;
  void ScanToLineEnd() override;
  void StartLine(std::string_view text, int lineNumber) override;
  void SetRangeState(RangeValue value) override { range_ = static_cast<std::uint8_t>(value & 0xFF); }
  void ResetRangeState() override { range_ = rsText; }
  void ExportNextToken() override;
  void StartExportLine(std::string_view text) override;

  TqeHighLightAttributes* AndAttri;
  TqeHighLightAttributes* ASPAttri;
  TqeHighLightAttributes* CommentAttri;
  TqeHighLightAttributes* IdentifierAttri;
  TqeHighLightAttributes* KeyAttri;
  TqeHighLightAttributes* SpaceAttri;
  TqeHighLightAttributes* SymbolAttri;
  TqeHighLightAttributes* TextAttri;
  TqeHighLightAttributes* UndefKeyAttri;
  TqeHighLightAttributes* ValueAttri;

 private:
  using Handler = void (TzrHTMLSyn::*)();
  static constexpr int kNoEntity = -1;

  unsigned char At(size_t i) const { return static_cast<unsigned char>(line_[i]); }
  void BeginLine(std::string_view text);
  void Dispatch();
  void NullProc();
  void LineFeedProc();
  void CarriageReturnProc();
  void SpaceProc();
  void StringProc();
  void AmpersandProc();
  void TagOpenProc();
  void EqualProc();
  void TagCloseProc();
  void IdentProc();
  void TextScan();
  void BlockScan(TokenKindValue kind, const char* closer);
  int EntityAt(size_t position) const;
  TokenKindValue HashedWord(int& length) const;

  std::array<Handler, 256> dispatch_{};
  KeywordTable<TokenKindValue> keywords_;
  std::string line_;  // the line's bytes and a terminating zero
  size_t run_ = 0;
  size_t tokenStart_ = 0;
  TokenKindValue kind_ = tkNull;
  std::uint8_t range_ = rsText;
  int pendingEntity_ = kNoEntity;
};

}  // namespace highlighters
