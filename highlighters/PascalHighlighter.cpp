// The Pascal scanner: its word lists with their classes and range effects, the two comment styles, the
// assembler blocks and property declarations, and export.
#include "highlighters/PascalHighlighter.h"

#include <string_view>

namespace highlighters {
namespace {

using Word = TqePasSyn::Word;
using WordClass = TqePasSyn::WordClass;
using RangeEffect = TqePasSyn::RangeEffect;

constexpr std::string_view kReserved[] = {
    "If",
    "Do",
    "And",
    "As",
    "Of",
    "End",
    "In",
    "Far",
    "Cdecl",
    "Is",
    "Case",
    "Label",
    "Mod",
    "File",
    "Or",
    "Asm",
    "Nil",
    "To",
    "Div",
    "Begin",
    "Near",
    "For",
    "Shl",
    "Packed",
    "Else",
    "Var",
    "Set",
    "Shr",
    "Then",
    "Not",
    "Pascal",
    "Raise",
    "Class",
    "Object",
    "Out",
    "Goto",
    "While",
    "Xor",
    "Safecall",
    "With",
    "Dispid",
    "Public",
    "Record",
    "Array",
    "Try",
    "Inline",
    "Unit",
    "Uses",
    "Repeat",
    "Type",
    "Default",
    "Dynamic",
    "Message",
    "Stdcall",
    "Const",
    "Except",
    "Until",
    "Finally",
    "Interface",
    "Abstract",
    "Forward",
    "Library",
    "String",
    "Program",
    "Downto",
    "Private",
    "Inherited",
    "Assembler",
    "Absolute",
    "Published",
    "Override",
    "Threadvar",
    "Export",
    "External",
    "Register",
    "Function",
    "Virtual",
    "Procedure",
    "Protected",
    "Exports",
    "Dispinterface",
    "Property",
    "Finalization",
    "Destructor",
    "Constructor",
    "Implementation",
    "Initialization",
    "Resourcestring",
    "Stringresource",
};
constexpr std::string_view kPropertyWords[] = {"Read",     "Index",     "Write",     "Stored",
                                               "Readonly", "Nodefault", "Writeonly", "Automated"};

constexpr int kTableSize = 192;

// Letters only, 1 to 26 without regard to case.
constexpr HashValues kHash = HashTable([](unsigned char c) { return IsLetter(c) ? (c | 0x20) - 'a' + 1 : -1; });

RangeEffect EffectOf(std::string_view word) {
  if (word == "Asm") return RangeEffect::kAsm;
  if (word == "End" || word == "Function" || word == "Procedure") return RangeEffect::kEnd;
  if (word == "Property") return RangeEffect::kProperty;
  if (word == "Automated") return RangeEffect::kAutomated;
  if (word == "Public" || word == "Private" || word == "Protected" || word == "Published")
    return RangeEffect::kVisibility;
  return RangeEffect::kNone;
}

}  // namespace

TqePasSyn::TqePasSyn() : LineScanner(tkNull, tkSpace, &Call<&TqePasSyn::Symbol>), keywords_(kTableSize, Word{}, true) {
  AsmAttri = AddAttribute(tkAsm, "Assembler");
  CommentAttri = AddAttribute(tkComment, "Comment", platform::kItalic);
  IdentifierAttri = AddAttribute(tkIdentifier, "Identifier");
  KeyAttri = AddAttribute(tkKey, "Reserved word", platform::kBold);
  NumberAttri = AddAttribute(tkNumber, "Number");
  SpaceAttri = AddAttribute(tkSpace, "Space");
  StringAttri = AddAttribute(tkString, "String");
  SymbolAttri = AddAttribute(tkSymbol, "Symbol");
  PaintWith(tkUnknown, SymbolAttri);
  SetAttributeNotifier();

  for (std::string_view w : kReserved) keywords_.Add(HashOf(kHash, w), w, {WordClass::kReserved, EffectOf(w)});
  for (std::string_view w : kPropertyWords) keywords_.Add(HashOf(kHash, w), w, {WordClass::kInProperty, EffectOf(w)});
  keywords_.Add(HashOf(kHash, "Implements"), "Implements", {WordClass::kInPropertyD4, RangeEffect::kNone});
  keywords_.Add(HashOf(kHash, "overload"), "overload", {WordClass::kD4, RangeEffect::kNone});
  keywords_.Add(HashOf(kHash, "Reintroduce"), "Reintroduce", {WordClass::kD4, RangeEffect::kNone});

  On<&TqePasSyn::Brace>('{');
  On<&TqePasSyn::Paren>('(');
  On<&TqePasSyn::Slash>('/');
  On<&TqePasSyn::Quoted>('\'');
  On<&TqePasSyn::CharCode>('#');
  On<&TqePasSyn::HexNumber>('$');
  On<&TqePasSyn::Number>("0123456789");
  OnLetters<&TqePasSyn::Identifier>();
  On<&TqePasSyn::Identifier>('_');
  On<&TqePasSyn::Colon>(':');
  On<&TqePasSyn::Less>('<');
  On<&TqePasSyn::Greater>('>');
  On<&TqePasSyn::AtSign>('@');
  On<&TqePasSyn::Dot>('.');
  OnHighBytes<&TqePasSyn::Stray>();
  On<&TqePasSyn::Stray>('|');

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
}

std::uint8_t TqePasSyn::ReportedKind() const {
  if (range_ == rsAsm && !asmStart_ && kind_ != tkComment && kind_ != tkNull && kind_ != tkSpace) return tkAsm;
  return kind_;
}

void TqePasSyn::NextToken() {
  asmStart_ = false;
  tokenStart_ = run_;
  switch (range_) {
    case rsAnsi:
    case rsAnsiAsm:
      if (EndsLine(At(run_)))
        Dispatch();
      else
        AnsiComment(run_);
      break;
    case rsBor:
    case rsBorAsm:
      if (EndsLine(At(run_)))
        Dispatch();
      else
        BorComment(run_);
      break;
    default:
      Dispatch();
      break;
  }
}

void TqePasSyn::StartExportLine(std::string_view text) {
  BeginLine(text);
  ExportNextToken();
}

// Comments, strings, symbols and stray characters ask to be escaped; the line's end passes no text.
void TqePasSyn::ExportNextToken() {
  NextToken();
  TokenExporter* exporter = Exporter();
  if (!exporter) return;
  const std::uint8_t kind = ReportedKind();
  if (kind == tkNull) {
    exporter->ExportToken({}, nullptr, false, false);
    return;
  }
  const bool escape = kind == tkComment || kind == tkString || kind == tkSymbol || kind == tkUnknown;
  exporter->ExportToken(TokenText(), TokenAttribute(), kind == tkSpace, escape);
}

// A comment closing returns to the assembler block it was opened in, or else to the normal range.
void TqePasSyn::AnsiComment(std::size_t from) {
  kind_ = tkComment;
  for (run_ = from; !EndsLine(At(run_)); ++run_) {
    if (StandsAt(run_, "*)")) {
      run_ += 2;
      range_ = range_ == rsAnsiAsm ? rsAsm : rsUnknown;
      return;
    }
  }
}

void TqePasSyn::BorComment(std::size_t from) {
  kind_ = tkComment;
  for (run_ = from; !EndsLine(At(run_)); ++run_) {
    if (At(run_) == '}') {
      ++run_;
      range_ = range_ == rsBorAsm ? rsAsm : rsUnknown;
      return;
    }
  }
}

void TqePasSyn::Brace() {
  range_ = range_ == rsAsm ? rsBorAsm : rsBor;
  BorComment(run_ + 1);
}

// "(*" opens a comment whose closer is looked for after the opener, so "(*)" stays open.
void TqePasSyn::Paren() {
  if (At(run_ + 1) == '*') {
    range_ = range_ == rsAsm ? rsAnsiAsm : rsAnsi;
    AnsiComment(run_ + 2);
  } else {
    Operator(tkSymbol, {"(."});
  }
}

void TqePasSyn::Slash() {
  if (At(run_ + 1) == '/')
    ToLineEnd(tkComment);
  else
    Symbol();
}

void TqePasSyn::CharCode() {
  kind_ = tkString;
  ++run_;
  while (IsDigit(At(run_))) ++run_;
}

void TqePasSyn::HexNumber() {
  kind_ = tkNumber;
  ++run_;
  while (IsDigit(At(run_)) || ((At(run_) | 0x20) >= 'a' && (At(run_) | 0x20) <= 'f')) ++run_;
}

// Digits, exponents and a decimal point; a '.' followed by another '.' is left to the range operator.
void TqePasSyn::Number() {
  kind_ = tkNumber;
  ++run_;
  for (unsigned char c; (c = At(run_)), IsDigit(c) || c == 'E' || c == 'e' || c == '.'; ++run_)
    if (c == '.' && At(run_ + 1) == '.') return;
}

bool TqePasSyn::OnlyBlanksBefore(std::size_t position) const {
  for (std::size_t i = 0; i < position; ++i)
    if (At(i) >= 33) return false;
  return true;
}

// The hash walks the letters; a '_' or digit right after them counts into the length (so End1 is not End)
// but adds nothing. The token then runs over every following letter, digit and '_'.
void TqePasSyn::Identifier() {
  int hash = 0;
  std::size_t end = WalkWord(kHash, hash);
  if (At(end) == '_' || IsDigit(At(end))) ++end;
  const Word word = keywords_.Lookup(line_.data() + run_, static_cast<int>(end - run_), hash);
  bool reserved = false;
  switch (word.reserved) {
    case WordClass::kNone:
      break;
    case WordClass::kReserved:
      reserved = true;
      break;
    case WordClass::kInProperty:
      reserved = range_ == rsProperty;
      break;
    case WordClass::kInPropertyD4:
      reserved = range_ == rsProperty && D4syntax;
      break;
    case WordClass::kD4:
      reserved = D4syntax;
      break;
  }
  if (reserved) {
    switch (word.effect) {
      case RangeEffect::kNone:
        break;
      case RangeEffect::kAsm:
        range_ = rsAsm;
        asmStart_ = true;
        break;
      case RangeEffect::kEnd:
      case RangeEffect::kAutomated:
        range_ = rsUnknown;
        break;
      case RangeEffect::kProperty:
        range_ = rsProperty;
        break;
      case RangeEffect::kVisibility:
        if (OnlyBlanksBefore(run_)) range_ = rsUnknown;
        break;
    }
  }
  kind_ = reserved ? tkKey : tkIdentifier;
  run_ = end;
  while (IsIdentifierChar(At(run_))) ++run_;
}

}  // namespace highlighters
