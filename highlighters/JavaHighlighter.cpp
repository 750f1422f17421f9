// The Java scanner's keyword list, its dispatch table and the rules for comments, literals and numbers.
#include "highlighters/JavaHighlighter.h"

#include <string_view>

namespace highlighters {
namespace {

constexpr std::string_view kKeywords[] = {
    "if",        "do",         "case",     "char",      "catch",      "for",          "break",    "else",     "new",
    "int",       "final",      "false",    "package",   "long",       "void",         "byte",     "class",    "float",
    "this",      "goto",       "while",    "null",      "double",     "try",          "true",     "public",   "boolean",
    "default",   "const",      "native",   "static",    "super",      "short",        "finally",  "switch",   "throw",
    "interface", "abstract",   "import",   "extends",   "private",    "return",       "volatile", "continue", "throws",
    "protected", "instanceof", "strictfp", "transient", "implements", "synchronized",
};

constexpr int kTableSize = 173;

// The hash walks '$', digits, letters and '_': A to Z count 1 to 26, a to z 2 to 27, the others nothing.
constexpr auto kHash = HashTable([](unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  if (c >= 'a' && c <= 'z') return c - 'a' + 2;
  return IsDigit(c) || c == '_' || c == '$' ? 0 : -1;
});

bool IsNumberChar(unsigned char c) {
  return IsDigit(c) || c == '-' || c == '.' || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == 'L' ||
         c == 'X' || c == 'l' || c == 'x';
}

}  // namespace

TUloJavaSyn::TUloJavaSyn()
    : LineScanner(tkNull, tkSpace, &Call<&TUloJavaSyn::Symbol>), keywords_(kTableSize, tkIdentifier, false) {
  CommentAttri = AddAttribute(tkComment, "Comment", platform::kItalic);
  DocumentAttri = AddAttribute(tkDocument, "Documentation", platform::kItalic);
  IdentifierAttri = AddAttribute(tkIdentifier, "Identifier");
  InvalidAttri = AddAttribute(tkInvalid, "Invalid symbol");
  KeyAttri = AddAttribute(tkKey, "Reserved word", platform::kBold);
  NumberAttri = AddAttribute(tkNumber, "Number");
  SpaceAttri = AddAttribute(tkSpace, "Space");
  SpaceAttri->SetForeground(platform::kColorWindow);
  StringAttri = AddAttribute(tkString, "String");
  SymbolAttri = AddAttribute(tkSymbol, "Symbol");
  PaintWith(tkUnknown, InvalidAttri);
  SetAttributeNotifier();

  for (std::string_view w : kKeywords) keywords_.Add(HashOf(kHash, w), w, tkKey);

  On<&TUloJavaSyn::Slash>('/');
  On<&TUloJavaSyn::DoubleQuoted>('"');
  On<&TUloJavaSyn::CharLiteral>('\'');
  On<&TUloJavaSyn::Number>("0123456789");
  OnLetters<&TUloJavaSyn::Word>();
  OnHighBytes<&TUloJavaSyn::Illegal>();
  On<&TUloJavaSyn::Word>("$_");
  On<&TUloJavaSyn::InvalidSymbol>(",#@");
  On<&TUloJavaSyn::Illegal>("\\`");
  On<&TUloJavaSyn::Bang>('!');
  On<&TUloJavaSyn::Percent>('%');
  On<&TUloJavaSyn::Ampersand>('&');
  On<&TUloJavaSyn::Star>('*');
  On<&TUloJavaSyn::Plus>('+');
  On<&TUloJavaSyn::Minus>('-');
  On<&TUloJavaSyn::Less>('<');
  On<&TUloJavaSyn::Equal>('=');
  On<&TUloJavaSyn::Greater>('>');
  On<&TUloJavaSyn::Caret>('^');
  On<&TUloJavaSyn::Bar>('|');

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
}

CharSet TUloJavaSyn::WordChars() const {
  return CharsOf([](unsigned char c) { return IsIdentifierChar(c) || c == '$'; });
}

void TUloJavaSyn::NextToken() {
  tokenStart_ = run_;
  if (range_ == rsComment || range_ == rsDocument) {
    ContinueComment(range_ == rsComment ? tkComment : tkDocument, rsUnknown);
    return;
  }
  range_ = rsUnknown;
  Dispatch();
}

// "/**" opens a documentation comment and "/*" a block comment; the closing "*/" is looked for after the
// opener, so "/**/" stays open. "//" runs to the line's end.
void TUloJavaSyn::Slash() {
  if (At(run_ + 1) == '*' && At(run_ + 2) == '*') {
    range_ = rsDocument;
    SlashStarComment(tkDocument, run_ + 3, rsUnknown);
  } else if (At(run_ + 1) == '*') {
    range_ = rsComment;
    SlashStarComment(tkComment, run_ + 2, rsUnknown);
  } else if (At(run_ + 1) == '/') {
    ToLineEnd(tkComment);
  } else {
    Operator(tkSymbol, {"/="});
  }
}

// Digits, hexadecimal digits, '-' and the suffix letters; a '.' followed by another '.' ends the number.
void TUloJavaSyn::Number() {
  kind_ = tkNumber;
  ++run_;
  while (IsNumberChar(At(run_)) && !(At(run_) == '.' && At(run_ + 1) == '.')) ++run_;
}

void TUloJavaSyn::Word() {
  int hash = 0;
  const std::size_t i = WalkWord(kHash, hash);
  kind_ = keywords_.Lookup(line_.data() + run_, static_cast<int>(i - run_), hash);
  run_ = i;
}

}  // namespace highlighters
