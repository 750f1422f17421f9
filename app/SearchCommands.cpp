// Replace and Replace All as the main window offers them.
#include "app/SearchCommands.h"

#include <optional>
#include <string>

#include "editor/RegexSearch.h"

namespace app {
namespace {

using editor::TqeCustomEdit;
using editor::TSearchOptions;

std::optional<editor::TqeRegexSearch> PatternOf(std::string_view find, TSearchOptions options) {
  if (!(options & editor::soRegularExpression)) return std::nullopt;
  return std::optional<editor::TqeRegexSearch>(std::in_place, find, options & editor::soMatchCase, false);
}

bool SelectionIsMatch(const TqeCustomEdit& editor, std::string_view find,
                      std::optional<editor::TqeRegexSearch>& pattern) {
  if (!editor.HasSelection()) return false;
  const std::string selected = editor.SelectedText();
  return pattern ? pattern->MatchesWhole(selected) : selected == find;
}

}  // namespace

bool ReplaceOne(TqeCustomEdit& editor, std::string_view find, std::string_view replacement, TSearchOptions options) {
  std::optional<editor::TqeRegexSearch> pattern = PatternOf(find, options);
  if (!SelectionIsMatch(editor, find, pattern) && editor.SearchReplace(find, {}, options) == 0) return false;
  std::string with(replacement);
  if (pattern) {
    const auto matches = pattern->FindAll(editor.SelectedText(), &with);
    if (!matches.empty()) with = matches.front().replacement;
  }
  editor.SetSelectedText(with);
  return true;
}

int ReplaceEvery(TqeCustomEdit& editor, std::string_view find, std::string_view replacement, TSearchOptions options) {
  options |= editor::soReplace | editor::soReplaceAll;
  std::optional<editor::TqeRegexSearch> pattern = PatternOf(find, options);
  if (SelectionIsMatch(editor, find, pattern)) {
    const auto [first, last] = editor.NormalizedSelection();
    if (!(options & editor::soBackwards))
      editor.SetCaretXY(first);
    else if (last.column <= static_cast<int>(editor.Lines().Get(last.line - 1).size()))
      editor.SetCaretXY({last.column + 1, last.line});  // a backwards search stops one column short of it
    else if (last.line < editor.LineCount())
      editor.SetCaretXY({1, last.line + 1});
    else
      options |= editor::soEntireScope;  // nothing follows the match at the end of the text
  }
  return editor.SearchReplace(find, replacement, options);
}

}  // namespace app
