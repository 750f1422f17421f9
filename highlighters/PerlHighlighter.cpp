// The Perl scanner's word lists, its dispatch table and the rules for strings, numbers and words.
#include "highlighters/PerlHighlighter.h"

#include <string_view>

namespace highlighters {
namespace {

constexpr std::string_view kKeywords[] = {
    "m",
    "q",
    "lc",
    "if",
    "do",
    "uc",
    "no",
    "qq",
    "tr",
    "my",
    "qw",
    "qx",
    "die",
    "abs",
    "eof",
    "chr",
    "ref",
    "vec",
    "map",
    "tie",
    "log",
    "cos",
    "hex",
    "ord",
    "oct",
    "for",
    "sin",
    "sub",
    "int",
    "use",
    "exp",
    "pop",
    "pos",
    "each",
    "read",
    "bind",
    "pack",
    "getc",
    "glob",
    "exec",
    "rand",
    "seek",
    "eval",
    "else",
    "send",
    "chop",
    "redo",
    "kill",
    "link",
    "grep",
    "pipe",
    "time",
    "recv",
    "join",
    "tell",
    "open",
    "fork",
    "last",
    "wait",
    "dump",
    "warn",
    "goto",
    "exit",
    "stat",
    "keys",
    "next",
    "push",
    "sort",
    "sqrt",
    "atan2",
    "chdir",
    "local",
    "chmod",
    "alarm",
    "flock",
    "undef",
    "elsif",
    "close",
    "chomp",
    "mkdir",
    "fcntl",
    "index",
    "srand",
    "bless",
    "sleep",
    "while",
    "ioctl",
    "shift",
    "rmdir",
    "chown",
    "umask",
    "times",
    "reset",
    "semop",
    "utime",
    "untie",
    "lstat",
    "write",
    "split",
    "print",
    "crypt",
    "study",
    "accept",
    "caller",
    "delete",
    "scalar",
    "rename",
    "fileno",
    "splice",
    "select",
    "length",
    "unpack",
    "gmtime",
    "semget",
    "msgget",
    "shmget",
    "semctl",
    "socket",
    "format",
    "rindex",
    "msgctl",
    "shmctl",
    "msgsnd",
    "listen",
    "chroot",
    "values",
    "unlink",
    "msgrcv",
    "unless",
    "import",
    "return",
    "exists",
    "substr",
    "system",
    "package",
    "defined",
    "foreach",
    "readdir",
    "binmode",
    "shmread",
    "dbmopen",
    "seekdir",
    "connect",
    "getppid",
    "telldir",
    "opendir",
    "waitpid",
    "lcfirst",
    "getpgrp",
    "sysread",
    "syscall",
    "reverse",
    "require",
    "ucfirst",
    "unshift",
    "setpgrp",
    "sprintf",
    "symlink",
    "dbmclose",
    "readlink",
    "getgrgid",
    "getgrnam",
    "closedir",
    "endgrent",
    "getlogin",
    "formline",
    "getgrent",
    "getpwnam",
    "endpwent",
    "truncate",
    "getpwuid",
    "setgrent",
    "getpwent",
    "shmwrite",
    "setpwent",
    "shutdown",
    "syswrite",
    "localtime",
    "endnetent",
    "rewinddir",
    "getnetent",
    "quotemeta",
    "wantarray",
    "setnetent",
    "socketpair",
    "endhostent",
    "endservent",
    "getsockopt",
    "gethostent",
    "getservent",
    "setsockopt",
    "sethostent",
    "setservent",
    "getpeername",
    "getsockname",
    "endprotoent",
    "getprotoent",
    "getpriority",
    "setprotoent",
    "setpriority",
    "getnetbyaddr",
    "getnetbyname",
    "gethostbyaddr",
    "gethostbyname",
    "getservbyname",
    "getservbyport",
    "getprotobyname",
    "getprotobynumber",
};
constexpr std::string_view kWordOperators[] = {"ge", "le", "ne", "eq", "gt", "lt", "or", "and", "cmp", "not", "xor"};
constexpr std::string_view kPragmas[] = {"less",    "vars",    "subs",     "locale",     "strict",
                                         "integer", "sigtrap", "constant", "diagnostics"};
constexpr std::string_view kVariables[] = {
    "$NR",
    "$RS",
    "$GID",
    "$ARG",
    "%INC",
    "$PID",
    "$UID",
    "$SIG",
    "$ENV",
    "$ORS",
    "@INC",
    "$EGID",
    "$EUID",
    "$ARGV",
    "$OFMT",
    "@ARGV",
    "$MATCH",
    "$ERRNO",
    "$PERLDB",
    "$SUBSEP",
    "$WARNING",
    "$BASETIME",
    "$PREMATCH",
    "$OS_ERROR",
    "$DEBUGGING",
    "$POSTMATCH",
    "$PROCESS_ID",
    "$EVAL_ERROR",
    "$ACCUMULATOR",
    "$FORMAT_NAME",
    "$CHILD_ERROR",
    "$INPLACE_EDIT",
    "$PROGRAM_NAME",
    "$REAL_USER_ID",
    "$PERL_VERSION",
    "$REAL_GROUP_ID",
    "$SYSTEM_FD_MAX",
    "$LIST_SEPARATOR",
    "$EXECUTABLE_NAME",
    "$FORMAT_FORMFEED",
    "$FORMAT_TOP_NAME",
    "$LAST_PAREN_MATCH",
    "$OUTPUT_AUTOFLUSH",
    "$EFFECTIVE_USER_ID",
    "$FORMAT_LINES_LEFT",
    "$INPUT_LINE_NUMBER",
    "$MULTILINE_MATCHING",
    "$EFFECTIVE_GROUP_ID",
    "$FORMAT_PAGE_NUMBER",
    "$SUBSCRIPT_SEPARATOR",
    "$FORMAT_LINES_PER_PAGE",
    "$INPUT_RECORD_SEPARATOR",
    "$OUTPUT_FIELD_SEPARATOR",
    "$FORMAT_LINE_BREAK_CHARACTERS",
};

constexpr int kTableSize = 2168;

// The hash walks '$', '%', the digits, '@' to 'Z', '_' and a to z; each adds its own code.
constexpr auto kHash = HashTable([](unsigned char c) {
  const bool walked =
      c == '$' || c == '%' || IsDigit(c) || (c >= '@' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z');
  return walked ? static_cast<int>(c) : -1;
});

// The characters after '$' that make a two-character punctuation variable.
bool PunctuationVariable(unsigned char c) {
  return (c >= '!' && c <= '@' && c != ',') || c == '[' || c == '\\' || c == ']' || c == '_' || c == '`' || c == '|' ||
         c == '~';
}

}  // namespace

TUloPerlSyn::TUloPerlSyn()
    : LineScanner(tkNull, tkSpace, &Call<&TUloPerlSyn::Symbol>), keywords_(kTableSize, tkIdentifier, false) {
  using platform::kBold;
  CommentAttri = AddAttribute(tkComment, "Comment", platform::kItalic);
  IdentifierAttri = AddAttribute(tkIdentifier, "Identifier");
  InvalidAttri = AddAttribute(tkUnknown, "Illegal char");
  KeyAttri = AddAttribute(tkKey, "Reserved word", kBold);
  NumberAttri = AddAttribute(tkNumber, "Number");
  OperatorAttri = AddAttribute(tkOperator, "Operator");
  PragmaAttri = AddAttribute(tkPragma, "Pragma", kBold);
  SpaceAttri = AddAttribute(tkSpace, "Space");
  SpaceAttri->SetForeground(platform::kColorWindow);
  StringAttri = AddAttribute(tkString, "String");
  SymbolAttri = AddAttribute(tkSymbol, "Symbol");
  VariableAttri = AddAttribute(tkVariable, "Variable", kBold);
  SetAttributeNotifier();

  for (std::string_view w : kKeywords) keywords_.Add(HashOf(kHash, w), w, tkKey);
  for (std::string_view w : kWordOperators) keywords_.Add(HashOf(kHash, w), w, tkOperator);
  for (std::string_view w : kPragmas) keywords_.Add(HashOf(kHash, w), w, tkPragma);
  for (std::string_view w : kVariables) keywords_.Add(HashOf(kHash, w), w, tkVariable);

  On<&TUloPerlSyn::Comment>('#');
  On<&TUloPerlSyn::DoubleQuoted>('"');
  On<&TUloPerlSyn::SingleQuoted>('\'');
  On<&TUloPerlSyn::DotOrNumber>('.');
  On<&TUloPerlSyn::Number>("0123456789");
  On<&TUloPerlSyn::Word>("$%@_");
  OnLetters<&TUloPerlSyn::Word>();
  OnHighBytes<&TUloPerlSyn::Illegal>();
  On<&TUloPerlSyn::Illegal>('`');
  On<&TUloPerlSyn::Bang>('!');
  On<&TUloPerlSyn::Ampersand>('&');
  On<&TUloPerlSyn::Star>('*');
  On<&TUloPerlSyn::Plus>('+');
  On<&TUloPerlSyn::Minus>('-');
  On<&TUloPerlSyn::Slash>('/');
  On<&TUloPerlSyn::Colon>(':');
  On<&TUloPerlSyn::Less>('<');
  On<&TUloPerlSyn::Equal>('=');
  On<&TUloPerlSyn::Greater>('>');
  On<&TUloPerlSyn::Caret>('^');
  On<&TUloPerlSyn::Bar>('|');

  ResetRangeState();
  SetDefaultFilter(kDefaultFilter);
}

CharSet TUloPerlSyn::WordChars() const {
  return CharsOf([](unsigned char c) { return IsIdentifierChar(c) || c == '$' || c == '%' || c == '@'; });
}

void TUloPerlSyn::SingleQuoted() {
  kind_ = tkString;
  ++run_;
  while (!EndsLine(At(run_)) && At(run_) != '\'') ++run_;
  if (At(run_) == '\'') ++run_;
}

void TUloPerlSyn::Word() {
  const unsigned char first = At(run_), next = At(run_ + 1);
  if (first == '$' && PunctuationVariable(next)) return Take(tkVariable, 2);
  if (first == '$' && next == '^') {
    const unsigned char third = At(run_ + 2);
    if (third == 0) return Take(tkVariable, 2);
    if (std::string_view("ADFILPTWX").find(static_cast<char>(third)) != std::string_view::npos)
      return Take(tkVariable, 3);
  }
  if (first == '%' && (next == 0 || next == '=')) return Take(tkSymbol, next == '=' ? 2 : 1);
  if (first == 'x' && (next == 0 || next == '=')) return Take(tkSymbol, next == '=' ? 2 : 1);
  HashedWord();
}

void TUloPerlSyn::HashedWord() {
  int hash = 0;
  const std::size_t i = WalkWord(kHash, hash);
  kind_ = keywords_.Lookup(line_.data() + run_, static_cast<int>(i - run_), hash);
  run_ = i;
  while (IsIdentifierChar(At(run_))) ++run_;
}

}  // namespace highlighters
