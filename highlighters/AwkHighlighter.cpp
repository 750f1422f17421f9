// The AWK scanner's word list, dispatch table, strings, field references and export.
#include "highlighters/AwkHighlighter.h"

#include <string_view>

namespace highlighters {
namespace {

// The word list, each word with what it is. kNextFile marks next, the one keyword that may be followed by
// the word file.
constexpr std::uint8_t kNextFile = 10;
struct ListedWord {
  std::string_view word;
  std::uint8_t kind;
};
constexpr ListedWord kWords[] = {
    {"BEGIN", TzrAWKSyn::tkKey},
    {"break", TzrAWKSyn::tkKey},
    {"continue", TzrAWKSyn::tkKey},
    {"do", TzrAWKSyn::tkKey},
    {"else", TzrAWKSyn::tkKey},
    {"END", TzrAWKSyn::tkKey},
    {"exit", TzrAWKSyn::tkKey},
    {"for", TzrAWKSyn::tkKey},
    {"function", TzrAWKSyn::tkKey},
    {"getline", TzrAWKSyn::tkKey},
    {"if", TzrAWKSyn::tkKey},
    {"print", TzrAWKSyn::tkKey},
    {"return", TzrAWKSyn::tkKey},
    {"while", TzrAWKSyn::tkKey},
    {"next", kNextFile},
    {"atan2", TzrAWKSyn::tkInterFunc},
    {"close", TzrAWKSyn::tkInterFunc},
    {"cos", TzrAWKSyn::tkInterFunc},
    {"delete", TzrAWKSyn::tkInterFunc},
    {"exp", TzrAWKSyn::tkInterFunc},
    {"gsub", TzrAWKSyn::tkInterFunc},
    {"index", TzrAWKSyn::tkInterFunc},
    {"int", TzrAWKSyn::tkInterFunc},
    {"jindex", TzrAWKSyn::tkInterFunc},
    {"jlength", TzrAWKSyn::tkInterFunc},
    {"jsubstr", TzrAWKSyn::tkInterFunc},
    {"length", TzrAWKSyn::tkInterFunc},
    {"log", TzrAWKSyn::tkInterFunc},
    {"match", TzrAWKSyn::tkInterFunc},
    {"printf", TzrAWKSyn::tkInterFunc},
    {"rand", TzrAWKSyn::tkInterFunc},
    {"sin", TzrAWKSyn::tkInterFunc},
    {"split", TzrAWKSyn::tkInterFunc},
    {"sprintf", TzrAWKSyn::tkInterFunc},
    {"sqrt", TzrAWKSyn::tkInterFunc},
    {"srand", TzrAWKSyn::tkInterFunc},
    {"strftime", TzrAWKSyn::tkInterFunc},
    {"sub", TzrAWKSyn::tkInterFunc},
    {"substr", TzrAWKSyn::tkInterFunc},
    {"system", TzrAWKSyn::tkInterFunc},
    {"systime", TzrAWKSyn::tkInterFunc},
    {"tolower", TzrAWKSyn::tkInterFunc},
    {"toupper", TzrAWKSyn::tkInterFunc},
    {"ARGC", TzrAWKSyn::tkSysVar},
    {"ARGIND", TzrAWKSyn::tkSysVar},
    {"ARGV", TzrAWKSyn::tkSysVar},
    {"CONVFMT", TzrAWKSyn::tkSysVar},
    {"ENVIRON", TzrAWKSyn::tkSysVar},
    {"ERRNO", TzrAWKSyn::tkSysVar},
    {"FIELDWIDTH", TzrAWKSyn::tkSysVar},
    {"FILENAME", TzrAWKSyn::tkSysVar},
    {"FNR", TzrAWKSyn::tkSysVar},
    {"FS", TzrAWKSyn::tkSysVar},
    {"IGNORECASE", TzrAWKSyn::tkSysVar},
    {"NF", TzrAWKSyn::tkSysVar},
    {"NR", TzrAWKSyn::tkSysVar},
    {"OFMT", TzrAWKSyn::tkSysVar},
    {"OFS", TzrAWKSyn::tkSysVar},
    {"ORS", TzrAWKSyn::tkSysVar},
    {"RLENGTH", TzrAWKSyn::tkSysVar},
    {"RS", TzrAWKSyn::tkSysVar},
    {"RSTART", TzrAWKSyn::tkSysVar},
    {"SUBSEP", TzrAWKSyn::tkSysVar},
};

// Words are letters only; the table is keyed by the sum of their codes and compares with regard to case.
constexpr HashValues kHash = HashTable([](unsigned char c) { return IsLetter(c) ? c - 'A' : -1; });
constexpr int kTableSize = 512;

}  // namespace

TzrAWKSyn::TzrAWKSyn()
    : LineScanner(tkNull, tkSpace, &Call<&TzrAWKSyn::Symbol>), words_(kTableSize, tkIdentifier, false) {
  using platform::kBold;
  using platform::Rgb;
  CommentAttri = AddAttribute(tkComment, "Comment");
  CommentAttri->SetForeground(Rgb(0, 0, 255));
  IdentifierAttri = AddAttribute(tkIdentifier, "Identifier");
  InterFuncAttri = AddAttribute(tkInterFunc, "Internal function", kBold);
  InterFuncAttri->SetForeground(Rgb(128, 128, 64));
  KeyAttri = AddAttribute(tkKey, "Reserved word", kBold);
  KeyAttri->SetForeground(0xFF0080);
  NumberAttri = AddAttribute(tkNumber, "Number");
  SpaceAttri = AddAttribute(tkSpace, "Space");
  StringAttri = AddAttribute(tkString, "String");
  StringAttri->SetForeground(Rgb(0, 128, 128));
  SymbolAttri = AddAttribute(tkSymbol, "Symbol", kBold);
  SysVarAttri = AddAttribute(tkSysVar, "System value", kBold);
  SysVarAttri->SetForeground(Rgb(255, 128, 0));
  SetAttributeNotifier();

  for (const ListedWord& w : kWords) words_.Add(HashOf(kHash, w.word), w.word, w.kind);

  On<&TzrAWKSyn::Comment>('#');
  On<&TzrAWKSyn::Quoted>("\"'");
  On<&TzrAWKSyn::Field>('$');
  On<&TzrAWKSyn::Number>("0123456789");
  OnLetters<&TzrAWKSyn::Word>();
  On<&TzrAWKSyn::Bang>('!');
  On<&TzrAWKSyn::WithEqual>("%*/<=>^");
  On<&TzrAWKSyn::Plus>('+');
  On<&TzrAWKSyn::Minus>('-');
  On<&TzrAWKSyn::Doubled>("&|?");
  On<&TzrAWKSyn::Single>("()[]");

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
}

CharSet TzrAWKSyn::WordChars() const {
  return CharsOf([](unsigned char c) { return IsDigit(c) || IsLetter(c); });
}

void TzrAWKSyn::StartExportLine(std::string_view text) {
  BeginLine(text);
  ExportNextToken();
}

// Nothing asks to be escaped; the line's end passes its empty text.
void TzrAWKSyn::ExportNextToken() {
  NextToken();
  if (TokenExporter* exporter = Exporter())
    exporter->ExportToken(TokenText(), TokenAttribute(), kind_ == tkSpace, false);
}

// A string ends at a double quote after anything but a backslash; a single quote opens one but never
// closes it. A control character (the line's end among them) first makes the token an identifier.
void TzrAWKSyn::Quoted() {
  for (++run_;; ++run_) {
    const unsigned char c = At(run_);
    if (c < 32) {
      kind_ = tkIdentifier;
      return;
    }
    if (c == '"' && At(run_ - 1) != '\\') {
      ++run_;
      kind_ = tkString;
      return;
    }
  }
}

// '$' with a single digit is a field reference; '$' before anything else stands alone.
void TzrAWKSyn::Field() {
  const unsigned char digit = At(run_ + 1), after = At(run_ + 2);
  if (IsDigit(digit) && !IsDigit(after) && !IsLetter(after))
    Take(tkSymbol, 2);
  else
    Take(tkIdentifier, 1);
}

void TzrAWKSyn::Number() {
  kind_ = tkNumber;
  while (IsDigit(At(run_))) ++run_;
}

void TzrAWKSyn::Word() {
  int hash = 0;
  const std::size_t end = WalkWord(kHash, hash);
  const std::uint8_t kind = words_.Lookup(line_.data() + run_, static_cast<int>(end - run_), hash);
  run_ = end;
  if (kind != kNextFile) {
    kind_ = kind;
    return;
  }
  // "next file" is one keyword when file stands alone after the blanks.
  kind_ = tkKey;
  std::size_t i = run_;
  while (At(i) == ' ') ++i;
  if (i > run_ && StandsAt(i, "file") && (At(i + 4) < '!' || At(i + 4) == ';')) run_ = i + 4;
}

}  // namespace highlighters
