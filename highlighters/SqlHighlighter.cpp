// The SQL scanner's keyword list, dispatch table, comments and saved colour schemes.
#include "highlighters/SqlHighlighter.h"

#include <string_view>

namespace highlighters {
namespace {

constexpr std::string_view kKeywords[] = {
    "IF",         "AND",        "DO",         "AS",          "CACHE",       "AT",          "OF",         "END",
    "IN",         "ASC",        "ALL",        "BY",          "READ",        "IS",          "NO",         "ON",
    "CHECK",      "DESC",       "OR",         "TO",          "LIKE",        "BEGIN",       "FOR",        "DEBUG",
    "ANY",        "TABLE",      "ELSE",       "KEY",         "LEFT",        "CAST",        "PLAN",       "SET",
    "THEN",       "MERGE",      "DECLARE",    "JOIN",        "SCHEMA",      "ESCAPE",      "NOT",        "AFTER",
    "WHEN",       "DELETE",     "FULL",       "BEFORE",      "FROM",        "SOME",        "CREATE",     "NAMES",
    "DROP",       "WAIT",       "DATABASE",   "SHARED",      "DOMAIN",      "INDEX",       "LEVEL",      "ALTER",
    "WHILE",      "AUTO",       "INTO",       "EXIT",        "VIEW",        "NULL",        "WHERE",      "ACTIVE",
    "ORDER",      "BASE_NAME",  "GRANT",      "INNER",       "WITH",        "HAVING",      "RIGHT",      "USER",
    "SELECT",     "ONLY",       "RETAIN",     "UPDATE",      "WORK",        "DEFAULT",     "FILTER",     "SHADOW",
    "USING",      "UNION",      "COUNT",      "COMMIT",      "ROLLBACK",    "BETWEEN",     "FOREIGN",    "ASCENDING",
    "REVOKE",     "GROUP",      "COLUMN",     "OUTER",       "EXECUTE",     "INACTIVE",    "DESCENDING", "TRIGGER",
    "INSERT",     "UNIQUE",     "EXTRACT",    "CURSOR",      "EXISTS",      "PARAMETER",   "COMPUTED",   "DISTINCT",
    "SUSPEND",    "EXTERNAL",   "CURRENT",    "PRIMARY",     "FUNCTION",    "COMMITTED",   "GENERATOR",  "PROCEDURE",
    "CONTAINING", "PROTECTED",  "EXCEPTION",  "SNAPSHOT",    "ISOLATION",   "PASSWORD",    "RETURNS",    "CONDITIONAL",
    "POSITION",   "PRIVILEGES", "CONSTRAINT", "TRANSACTION", "UNCOMMITTED", "ENTRY_POINT",
};

constexpr int kTableSize = 157;

}  // namespace

TgxSQLSyn::TgxSQLSyn(const platform::Registry* settings)
    : LineScanner(tkNull, tkSymbol, &Call<&TgxSQLSyn::Stray>),
      settings_(settings),
      keywords_(kTableSize, tkIdentifier, true) {
  CommentAttri = AddAttribute(tkComment, "Comment", platform::kItalic);
  IdentifierAttri = AddAttribute(tkIdentifier, "Identifier");
  KeyAttri = AddAttribute(tkKey, "Reserved word", platform::kBold);
  NumberAttri = AddAttribute(tkNumber, "Number");
  StringAttri = AddAttribute(tkString, "String");
  SymbolAttri = AddAttribute(tkSymbol, "Symbol");
  PaintWith(tkUnknown, SymbolAttri);
  SetAttributeNotifier();

  for (std::string_view w : kKeywords) keywords_.Add(HashOf(kCaselessHash, w), w, tkKey);

  On<&TgxSQLSyn::Slash>('/');
  On<&TgxSQLSyn::Dash>('-');
  On<&TgxSQLSyn::Comment>('#');
  On<&TgxSQLSyn::DoubleQuoted>('"');
  On<&TgxSQLSyn::SingleQuoted>('\'');
  On<&TgxSQLSyn::DotOrNumber>('.');
  On<&TgxSQLSyn::Number>("0123456789");
  OnLetters<&TgxSQLSyn::Word>();
  On<&TgxSQLSyn::Word>('_');
  On<&TgxSQLSyn::Symbol>("&()*+,:;<=>?[\\]^|");

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
  ApplyUserSetting(0);
}

void TgxSQLSyn::NextToken() {
  tokenStart_ = run_;
  if (range_ == rsComment) {
    ContinueComment(tkComment, rsUnknown);
    return;
  }
  range_ = rsUnknown;
  Dispatch();
}

// "/*" opens a block comment whose closer is looked for from the opener's star, so "/*/" is a whole
// comment; "//" runs to the line's end.
void TgxSQLSyn::Slash() {
  if (At(run_ + 1) == '*') {
    range_ = rsComment;
    SlashStarComment(tkComment, run_ + 1, rsUnknown);
  } else if (At(run_ + 1) == '/') {
    ToLineEnd(tkComment);
  } else {
    Symbol();
  }
}

void TgxSQLSyn::Dash() {
  if (At(run_ + 1) == '-')
    ToLineEnd(tkComment);
  else
    Symbol();
}

void TgxSQLSyn::Word() {
  int hash = 0;
  const std::size_t end = WalkWord(kCaselessHash, hash);
  kind_ = keywords_.Lookup(line_.data() + run_, static_cast<int>(end - run_), hash);
  run_ = end;
}

std::vector<std::string> TgxSQLSyn::ListUserSettings() const {
  return settings_ ? settings_->SubKeys(kSchemesKey) : std::vector<std::string>{};
}

// A scheme is taken whole or not at all: the six attributes are loaded in turn, and the first that fails
// puts back the colours they all had.
bool TgxSQLSyn::ApplyUserSetting(int index) {
  const std::vector<std::string> schemes = ListUserSettings();
  if (index < 0 || index >= static_cast<int>(schemes.size())) return false;
  TqeHighLightAttributes* attributes[] = {CommentAttri, IdentifierAttri, KeyAttri,
                                          NumberAttri,  StringAttri,     SymbolAttri};
  std::vector<TqeHighLightAttributes> saved;
  for (TqeHighLightAttributes* a : attributes) saved.push_back(*a);
  const std::string key = std::string(kSchemesKey) + "\\" + schemes[index];
  for (TqeHighLightAttributes* a : attributes) {
    if (LoadAttribute(*settings_, key, *a)) continue;
    for (size_t i = 0; i < saved.size(); ++i) {
      attributes[i]->SetBackground(saved[i].Background());
      attributes[i]->SetForeground(saved[i].Foreground());
      attributes[i]->SetStyle(saved[i].Style());
    }
    return false;
  }
  return true;
}

}  // namespace highlighters
