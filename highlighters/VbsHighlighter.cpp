// The VBScript scanner's keyword list and dispatch table.
#include "highlighters/VbsHighlighter.h"

#include <string_view>

namespace highlighters {
namespace {

constexpr std::string_view kKeywords[] = {
    "If",     "Each",  "Do",    "And",    "End",     "Dim",      "Case",     "Call",      "Is",       "On",   "Mod",
    "Get",    "Or",    "Rem",   "Let",    "Imp",     "For",      "Else",     "Sub",       "Eqv",      "Set",  "Wend",
    "Then",   "Erase", "ReDim", "Not",    "Class",   "Xor",      "While",    "Loop",      "Exit",     "Next", "Public",
    "Select", "Const", "Error", "Option", "Private", "Explicit", "Function", "Randomize", "property",
};

constexpr int kTableSize = 134;

}  // namespace

TpvVbsSyn::TpvVbsSyn()
    : LineScanner(tkNull, tkSpace, &Call<&TpvVbsSyn::Other>), keywords_(kTableSize, tkIdentifier, true) {
  CommentAttri = AddAttribute(tkComment, "Comment", platform::kItalic);
  IdentifierAttri = AddAttribute(tkIdentifier, "Identifier");
  KeyAttri = AddAttribute(tkKey, "Reserved word", platform::kBold);
  NumberAttri = AddAttribute(tkNumber, "Number");
  SpaceAttri = AddAttribute(tkSpace, "Space");
  StringAttri = AddAttribute(tkString, "String");
  SymbolAttri = AddAttribute(tkSymbol, "Symbol");
  SetAttributeNotifier();

  for (std::string_view w : kKeywords) keywords_.Add(HashOf(kCaselessHash, w), w, tkKey);

  On<&TpvVbsSyn::Comment>('\'');
  On<&TpvVbsSyn::DoubleQuoted>('"');
  On<&TpvVbsSyn::DateLiteral>('#');
  On<&TpvVbsSyn::Number>("0123456789");
  OnLetters<&TpvVbsSyn::Word>();
  On<&TpvVbsSyn::Word>('_');
  On<&TpvVbsSyn::Less>('<');
  On<&TpvVbsSyn::Greater>('>');
  On<&TpvVbsSyn::Symbol>("&()*+,-./:;=^{}");

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
}

CharSet TpvVbsSyn::WordChars() const { return CharsOf(IsIdentifierChar); }

void TpvVbsSyn::Number() {
  kind_ = tkNumber;
  ++run_;
  while (IsDigit(At(run_)) || At(run_) == '.' || At(run_) == 'E' || At(run_) == 'e') ++run_;
}

void TpvVbsSyn::Word() {
  int hash = 0;
  const std::size_t end = WalkWord(kCaselessHash, hash);
  kind_ = keywords_.Lookup(line_.data() + run_, static_cast<int>(end - run_), hash);
  run_ = end;
}

}  // namespace highlighters
