// The C++ scanner's keyword list, its dispatch table and the rules for comments, literals and numbers.
#include "highlighters/CppHighlighter.h"

#include <string_view>

namespace highlighters {
namespace {

constexpr std::string_view kKeywords[] = {
    "if",         "do",
    "cdecl",      "case",
    "_cdecl",     "__cdecl",
    "char",       "asm",
    "_asm",       "__asm",
    "catch",      "for",
    "break",      "else",
    "new",        "__int8",
    "__int16",    "int",
    "__int32",    "__int64",
    "false",      "bool",
    "long",       "void",
    "enum",       "delete",
    "_pascal",    "__pascal",
    "pascal",     "class",
    "float",      "this",
    "goto",       "auto",
    "__thread",   "while",
    "friend",     "signed",
    "double",     "__try",
    "try",        "__dispid",
    "true",       "public",
    "inline",     "__rtti",
    "__classid",  "__declspec",
    "using",      "const",
    "default",    "_stdcall",
    "union",      "__stdcall",
    "static",     "__except",
    "wchar_t",    "mutable",
    "_fastcall",  "__fastcall",
    "short",      "typeid",
    "sizeof",     "__finally",
    "namespace",  "switch",
    "typedef",    "throw",
    "extern",     "__import",
    "_import",    "private",
    "template",   "__closure",
    "unsigned",   "return",
    "volatile",   "_export",
    "__export",   "__published",
    "explicit",   "typename",
    "struct",     "register",
    "continue",   "__automated",
    "virtual",    "protected",
    "operator",   "dynamic_cast",
    "const_cast", "static_cast",
    "__property", "reinterpret_cast",
};

constexpr int kTableSize = 207;

// The hash walks digits, letters and '_': A to Z count 1 to 26, a to z 2 to 27, digits and '_' nothing.
constexpr auto kHash = HashTable([](unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  if (c >= 'a' && c <= 'z') return c - 'a' + 2;
  return IsDigit(c) || c == '_' ? 0 : -1;
});

bool IsNumberChar(unsigned char c) {
  return IsDigit(c) || c == '.' || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == 'L' || c == 'U' ||
         c == 'X' || c == 'l' || c == 'u' || c == 'x';
}

}  // namespace

TUloCppSyn::TUloCppSyn()
    : LineScanner(tkNull, tkSpace, &Call<&TUloCppSyn::Symbol>), keywords_(kTableSize, tkIdentifier, false) {
  AsmAttri = AddAttribute(tkAsm, "Assembler");
  CommentAttri = AddAttribute(tkComment, "Comment", platform::kItalic);
  IdentifierAttri = AddAttribute(tkIdentifier, "Identifier");
  InvalidAttri = AddAttribute(tkUnknown, "Illegal char");
  KeyAttri = AddAttribute(tkKey, "Reserved word", platform::kBold);
  NumberAttri = AddAttribute(tkNumber, "Number");
  SpaceAttri = AddAttribute(tkSpace, "Space");
  SpaceAttri->SetForeground(platform::kColorWindow);
  StringAttri = AddAttribute(tkString, "String");
  SymbolAttri = AddAttribute(tkSymbol, "Symbol");
  DirecAttri = AddAttribute(tkDirective, "Preprocessor");
  SetAttributeNotifier();

  for (std::string_view w : kKeywords) keywords_.Add(HashOf(kHash, w), w, tkKey);

  On<&TUloCppSyn::Slash>('/');
  On<&TUloCppSyn::Directive>('#');
  On<&TUloCppSyn::DoubleQuoted>('"');
  On<&TUloCppSyn::CharLiteral>('\'');
  On<&TUloCppSyn::Number>("0123456789");
  OnLetters<&TUloCppSyn::Word>();
  OnHighBytes<&TUloCppSyn::Illegal>();
  On<&TUloCppSyn::Word>('_');
  On<&TUloCppSyn::Illegal>("@$\\`");
  On<&TUloCppSyn::Bang>('!');
  On<&TUloCppSyn::Percent>('%');
  On<&TUloCppSyn::Ampersand>('&');
  On<&TUloCppSyn::Star>('*');
  On<&TUloCppSyn::Plus>('+');
  On<&TUloCppSyn::Minus>('-');
  On<&TUloCppSyn::Dot>('.');
  On<&TUloCppSyn::Colon>(':');
  On<&TUloCppSyn::Less>('<');
  On<&TUloCppSyn::Equal>('=');
  On<&TUloCppSyn::Greater>('>');
  On<&TUloCppSyn::Caret>('^');
  On<&TUloCppSyn::Bar>('|');

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
}

CharSet TUloCppSyn::WordChars() const { return CharsOf(IsIdentifierChar); }

void TUloCppSyn::NextToken() {
  tokenStart_ = run_;
  if (range_ == rsComment) {
    ContinueComment(tkComment, rsUnknown);
    return;
  }
  // Every token starts in the normal range; the line's end keeps what the last token left, so a line that
  // ends with an assembler keyword starts the next one in its range.
  if (At(run_) != 0) range_ = rsUnknown;
  Dispatch();
}

void TUloCppSyn::Slash() {
  if (At(run_ + 1) == '*') {
    range_ = rsComment;
    SlashStarComment(tkComment, run_ + 2, rsUnknown);
  } else if (At(run_ + 1) == '/') {
    ToLineEnd(tkComment);
  } else {
    Operator(tkSymbol, {"/="});
  }
}

void TUloCppSyn::DoubleQuoted() { QuotedLiteral(tkString, '"', kTripleOpens | kBackslashQuote | kBackslashLineFeed); }

void TUloCppSyn::CharLiteral() { QuotedLiteral(tkString, '\'', kBackslashQuote); }

// Digits, hexadecimal digits and the suffix letters; a '.' followed by another '.' is left to the dots.
void TUloCppSyn::Number() {
  kind_ = tkNumber;
  ++run_;
  while (IsNumberChar(At(run_)) && !(At(run_) == '.' && At(run_ + 1) == '.')) ++run_;
}

void TUloCppSyn::Word() {
  int hash = 0;
  const std::size_t i = WalkWord(kHash, hash);
  kind_ = keywords_.Lookup(line_.data() + run_, static_cast<int>(i - run_), hash);
  // The assembler keywords leave their range behind: the next token clears it, but a line ending with one
  // starts the next line in it.
  const std::string_view word(line_.data() + run_, i - run_);
  if (kind_ == tkKey && (word == "asm" || word == "_asm" || word == "__asm")) range_ = rsAsm;
  run_ = i;
}

}  // namespace highlighters
