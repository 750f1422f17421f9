// Where the caret stands for completion, the tables' candidates, and putting one in.
#include "editor/Completion.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "editor/CustomEdit.h"
#include "highlighters/HtmlHighlighter.h"
#include "platform/FileIO.h"
#include "platform/TextBits.h"

namespace editor {
namespace {

using highlighters::TzrHTMLSyn;

bool IsNameByte(unsigned char c) { return std::isalnum(c) || c == '-' || c == '_' || c == ':'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The lines of a table that say something: no blanks around them, no comments.
std::vector<std::string> TableLines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::string text;
  try {
    text = platform::ReadFileBytes(file);
  } catch (const std::exception&) {
    return lines;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string line = platform::Trimmed(std::string_view(text).substr(start, end - start));
    if (!line.empty() && line[0] != '#') lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t from = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > from) words.emplace_back(text.substr(from, i - from));
  }
  return words;
}

// "KEY: WORD WORD ..." lines, keys in lower case; later lines for a key add to it.
std::map<std::string, std::vector<std::string>> KeyedTable(const std::filesystem::path& file,
                                                           std::vector<std::string>* keys) {
  std::map<std::string, std::vector<std::string>> table;
  for (const std::string& line : TableLines(file)) {
    const std::size_t colon = line.find(':');
    const std::string key = platform::AsciiLower(platform::Trimmed(std::string_view(line).substr(0, colon)));
    if (key.empty()) continue;
    if (keys && key != "*" && std::find(keys->begin(), keys->end(), key) == keys->end()) keys->push_back(key);
    auto& words = table[key];
    if (colon != std::string::npos)
      for (std::string& word : Words(std::string_view(line).substr(colon + 1))) words.push_back(std::move(word));
  }
  return table;
}

// The element whose start tag the byte `at` of a line stands in, not yet ended by its '>'.
std::optional<std::string> ElementOfTag(DocumentOutline& outline, int index, int at) {
  std::optional<std::string> found;
  for (const OutlineEvent& e : outline.Events(index)) {
    if (e.from >= at) break;
    if (e.kind == OutlineKind::StartTag && (e.to < 0 || e.to > at))
      found = e.name;
    else if (e.to >= 0 && e.to <= at)
      found.reset();
  }
  const int carriedEnd = outline.CarriedTagEnd(index);
  if (found || (carriedEnd >= 0 && carriedEnd < at)) return found;
  if (const auto start = outline.TagOpenAtLineStart(index)) return outline.At(*start).name;
  return std::nullopt;
}

}  // namespace

CompletionTables CompletionTables::Load(const std::filesystem::path& folder) {
  CompletionTables tables;
  tables.elements = TableLines(folder / "html-elements.txt");
  tables.attributes = KeyedTable(folder / "html-attributes.txt", nullptr);
  tables.entities = TableLines(folder / "html-entities.txt");
  tables.values = KeyedTable(folder / "css-properties.txt", &tables.properties);
  return tables;
}

CompletionContext CompletionAt(TqeCustomEdit& editor) {
  CompletionContext context;
  DocumentOutline& outline = editor.Document().Outline();
  if (editor.HasSelection() || !outline.Markup()) return context;
  const TextPoint caret = editor.CaretXY();
  const int index = caret.line - 1;
  const std::string_view text = std::as_const(editor).Lines().Get(index);
  // Past the line's end the caret stands after blanks the line does not keep.
  const bool pastEnd = caret.column - 1 > static_cast<int>(text.size());
  const int at = std::min<int>(caret.column - 1, text.size());
  int start = at;
  while (!pastEnd && start > 0 && IsNameByte(static_cast<unsigned char>(text[start - 1]))) --start;
  context.from = {pastEnd ? caret.column : start + 1, caret.line};
  context.prefix = std::string(text.substr(start, at - start));
  const char before = pastEnd ? ' ' : start > 0 ? text[start - 1] : '\n';

  const TokenAtByte token = start > 0 ? outline.TokenAt(index, start - 1) : TokenAtByte{};
  if (token.language == "css" ||
      (before == '"' && start >= 7 && platform::AsciiLower(std::string(text.substr(start - 7, 6))) == "style=")) {
    int p = start - 1;
    while (p >= 0 && IsBlank(text[p])) --p;
    const char c = p >= 0 ? text[p] : '\n';
    if (c == ':') {
      int end = p;
      while (end > 0 && IsBlank(text[end - 1])) --end;
      int from = end;
      while (from > 0 && IsNameByte(static_cast<unsigned char>(text[from - 1]))) --from;
      context.kind = CompletionKind::Value;
      context.owner = platform::AsciiLower(std::string(text.substr(from, end - from)));
    } else if (c == '{' || c == ';' || c == '"' || c == '\'' || c == '\n') {
      context.kind = CompletionKind::Property;
    }
    return context;
  }
  if (before == '&') {
    if (token.html && token.kind != TzrHTMLSyn::tkComment && token.kind != TzrHTMLSyn::tkASP)
      context.kind = CompletionKind::Entity;
    return context;
  }
  const int lt = before == '<' ? start - 1 : (before == '/' && start >= 2 && text[start - 2] == '<') ? start - 2 : -1;
  if (lt >= 0) {
    const TokenAtByte open = outline.TokenAt(index, lt);
    if (open.html && open.kind == TzrHTMLSyn::tkSymbol) context.kind = CompletionKind::Element;
    return context;
  }
  if (IsBlank(before) && (pastEnd || (token.html && token.kind == TzrHTMLSyn::tkSpace))) {
    if (auto element = ElementOfTag(outline, index, start)) {
      context.kind = CompletionKind::Attribute;
      context.owner = std::move(*element);
    }
  }
  return context;
}

bool OpensCompletion(TqeCustomEdit& editor, char typed) {
  const CompletionContext context = CompletionAt(editor);
  switch (context.kind) {
    case CompletionKind::Element:
      return typed == '<' || typed == '/' || context.prefix.size() == 1;
    case CompletionKind::Entity:
      return typed == '&';
    case CompletionKind::Attribute:
      return IsBlank(typed) && context.prefix.empty();
    case CompletionKind::Property:
    case CompletionKind::Value:
      return typed == ':' || context.prefix.size() == 1;
    case CompletionKind::None:
      break;
  }
  return false;
}

std::vector<std::string> Candidates(const CompletionTables& tables, const CompletionContext& context) {
  std::vector<const std::string*> pool;
  auto add = [&](const std::vector<std::string>& names) {
    for (const std::string& name : names)
      if (std::none_of(pool.begin(), pool.end(), [&](const std::string* p) { return *p == name; }))
        pool.push_back(&name);
  };
  auto addKeyed = [&](const std::map<std::string, std::vector<std::string>>& table, const std::string& key) {
    if (const auto it = table.find(key); it != table.end()) add(it->second);
    if (const auto it = table.find("*"); it != table.end()) add(it->second);
  };
  switch (context.kind) {
    case CompletionKind::Element:
      add(tables.elements);
      break;
    case CompletionKind::Attribute:
      addKeyed(tables.attributes, context.owner);
      break;
    case CompletionKind::Entity:
      add(tables.entities);
      break;
    case CompletionKind::Property:
      add(tables.properties);
      break;
    case CompletionKind::Value:
      addKeyed(tables.values, context.owner);
      break;
    case CompletionKind::None:
      return {};
  }
  const std::string prefix = platform::AsciiLower(context.prefix);
  std::vector<std::string> starting, containing;
  for (const std::string* name : pool) {
    const std::string lower = platform::AsciiLower(*name);
    if (lower.compare(0, prefix.size(), prefix) == 0)
      starting.push_back(*name);
    else if (lower.find(prefix) != std::string::npos)
      containing.push_back(*name);
  }
  starting.insert(starting.end(), containing.begin(), containing.end());
  return starting;
}

void InsertCompletion(TqeCustomEdit& editor, const CompletionContext& context, std::string_view candidate) {
  std::string text(candidate);
  std::string_view ahead;  // what of the text is left after the caret
  switch (context.kind) {
    case CompletionKind::Attribute:
      text += "=\"\"";
      ahead = "\"";
      break;
    case CompletionKind::Entity:
      text += ';';
      break;
    case CompletionKind::Property:
      text += ": ";
      break;
    default:
      break;
  }
  const TextPoint end = editor.ReplaceRange(context.from, editor.CaretXY(), text);
  if (!ahead.empty()) {
    editor.SetCaretXY({end.column - static_cast<int>(ahead.size()), end.line});
    editor.MarkCompleted(ahead, true);
  }
}

}  // namespace editor
