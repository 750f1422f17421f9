// SearchReplace: the area to search, the walk over its lines and matches, selecting a match, and replacing
// one match (recorded for undo as any written text is) or every match (one undo step for the whole run).
#include <algorithm>
#include <climits>
#include <memory>

#include "editor/CustomEdit.h"
#include "editor/RegexSearch.h"
#include "editor/TextUtil.h"

namespace editor {
namespace {

// The area of a search: its corners, and whether it is the selection (whose mode then decides which
// matches lie inside it).
struct SearchArea {
  TextPoint first, last;  // last.column: the column after the area's last byte on its line
  bool selection = false;
  TSelectionMode mode = smNormal;

  bool Holds(int line, const TextMatch& m) const {
    const int end = m.position + m.length;
    if (selection && mode == smLine) return true;
    if (selection && mode == smColumn) return m.position >= first.column && end <= last.column;
    if (line == first.line && m.position < first.column) return false;
    return !(line == last.line && end > last.column);
  }
};

// Where the end of text lies once it is split into lines: lines below its first, and the column after it.
TextPoint EndOf(std::string_view text) {
  const std::vector<std::string_view> pieces = SplitAtLineEnds(text);
  return {static_cast<int>(pieces.back().size()) + 1, static_cast<int>(pieces.size()) - 1};
}

}  // namespace

// The matches of one line that a replace-all run replaces, in ascending order.
struct TqeCustomEdit::LineMatches {
  int line;
  std::vector<TextMatch> matches;
};

void TqeCustomEdit::ReplaceEveryMatch(std::vector<LineMatches> batches, const std::string& replacement, bool regex,
                                      bool backwards) {
  if (batches.empty()) return;
  std::sort(batches.begin(), batches.end(), [](const auto& a, const auto& b) { return a.line < b.line; });
  auto with = [&](const TextMatch& m) -> const std::string& { return regex ? m.replacement : replacement; };
  const int first = batches.front().line, last = batches.back().line;
  std::string before;
  std::size_t size = 0;
  for (int line = first; line <= last; ++line) size += lines_.Get(line - 1).size() + 2;
  before.reserve(size);
  for (int line = first; line <= last; ++line) {
    if (line > first) before += "\r\n";
    before += lines_.Get(line - 1);
  }
  const std::size_t oldLastLength = lines_.Get(last - 1).size();

  // The line's new text, and where the replacement to select ends up in it.
  struct Composed {
    std::string text;
    TextPoint selectedStart, selectedEnd;  // line: lines below the batch's own
  };
  auto compose = [&](const LineMatches& batch, const TextMatch& selected) {
    const std::string_view old = lines_.Get(batch.line - 1);
    Composed c;
    std::size_t from = 0;
    for (const TextMatch& m : batch.matches) {
      c.text.append(old, from, m.position - 1 - from);
      if (&m == &selected) c.selectedStart = EndOf(c.text);
      c.text += with(m);
      if (&m == &selected) c.selectedEnd = EndOf(c.text);
      from = m.position - 1 + m.length;
    }
    c.text.append(old.substr(std::min(from, old.size())));
    return c;
  };

  // Forwards the last replacement in the text stays selected, backwards the first one.
  const std::size_t selectedBatch = backwards ? 0 : batches.size() - 1;
  const TextMatch& selected =
      backwards ? batches[selectedBatch].matches.front() : batches[selectedBatch].matches.back();
  std::vector<Composed> composed;
  for (const LineMatches& batch : batches) composed.push_back(compose(batch, selected));
  int added = 0, above = 0;  // lines the replacements add in all, and above the selected one
  IncPaintLock();
  lines_.BeginUpdate();
  // From the bottom up, so lines a replacement splits never move the lines still to do.
  for (std::size_t b = batches.size(); b-- > 0;) {
    const std::vector<std::string_view> pieces = SplitAtLineEnds(composed[b].text);
    const int line = batches[b].line;
    lines_.Put(line - 1, pieces[0]);
    for (std::size_t i = 1; i < pieces.size(); ++i) lines_.Insert(line - 1 + static_cast<int>(i), pieces[i]);
    const int more = static_cast<int>(pieces.size()) - 1;
    if (more > 0) marks_.ShiftLines(line + 1, INT_MAX, more);
    added += more;
    if (b < selectedBatch) above += more;
  }
  lines_.EndUpdate();
  // One step for undo: the stretch of lines replaced by its new text, as block indenting records its lines.
  const TextPoint start{1, first};
  undoList_.AddRecord(UndoSelectionReplaced, start, smNormal, std::move(before),
                      {static_cast<int>(oldLastLength) + 1, last});
  undoList_.AddRecord(UndoInsert, start, smNormal, {}, {LineLength(last + added) + 1, last + added});
  const int selectedLine = batches[selectedBatch].line + above;
  const TextPoint selStart{composed[selectedBatch].selectedStart.column,
                           selectedLine + composed[selectedBatch].selectedStart.line};
  const TextPoint selEnd{composed[selectedBatch].selectedEnd.column,
                         selectedLine + composed[selectedBatch].selectedEnd.line};
  SetCaretXY(backwards ? selStart : selEnd);
  SetSelectionStart(selStart);
  SetSelectionEnd(selEnd);
  DecPaintLock();
}

int TqeCustomEdit::SearchReplace(std::string_view search, std::string_view replacement, TSearchOptions options) {
  if (search.empty()) return 0;
  Activate();
  const bool backwards = options & soBackwards;
  const bool regex = options & soRegularExpression;
  bool replaceAll = options & soReplaceAll;
  const bool replace = replaceAll || (options & soReplace);
  const std::string replacementText(replacement);

  SearchArea area{{1, 1}, {LineLength(LineCount()) + 1, LineCount()}};
  if ((options & soSelectedOnly) && HasSelection()) {
    auto [first, last] = NormalizedSelection();
    area = {first, last, true, selectionMode_};
    if (selectionMode_ == smLine) area.first.column = 1, area.last.column = LineLength(last.line) + 1;
    if (selectionMode_ == smColumn)
      area.first.column = std::min(first.column, last.column), area.last.column = std::max(first.column, last.column);
  } else if (!(options & soEntireScope)) {
    // Backwards the area ends before the caret: the match the caret stands behind is not found again.
    if (backwards)
      area.last = {caret_.column - 1, caret_.line};
    else
      area.first = caret_;
  }

  std::unique_ptr<TqeRegexSearch> pattern;
  if (regex) {
    pattern = std::make_unique<TqeRegexSearch>(search, options & soMatchCase, options & soWholeWord);
  } else {
    search_.SetPattern(search);
    search_.SetCaseSensitive(options & soMatchCase);
    search_.SetWholeWord(options & soWholeWord);
  }
  auto matchesOf = [&](std::string_view text) {
    if (regex) return pattern->FindAll(text, replace ? &replacementText : nullptr);
    std::vector<TextMatch> found;
    search_.FindAllMatches(text);
    for (int i = 0; i < search_.MatchCount(); ++i)
      found.push_back({search_.MatchAt(i), static_cast<int>(search.size()), {}});
    return found;
  };

  int count = 0;
  std::vector<LineMatches> batches;  // what replace-all replaces, once the walk is over
  const int step = backwards ? -1 : 1;
  for (int line = backwards ? area.last.line : area.first.line; line >= area.first.line && line <= area.last.line;
       line += step) {
    std::vector<TextMatch> matches = matchesOf(lines_.Get(line - 1));
    if (backwards) std::reverse(matches.begin(), matches.end());
    LineMatches batch{line, {}};
    for (std::size_t i = 0; i < matches.size(); ++i) {
      const TextMatch& m = matches[i];
      if (!area.Holds(line, m)) continue;
      ++count;
      if (replaceAll) {
        batch.matches.push_back(m);
        continue;
      }
      const TextPoint start{m.position, line}, end{m.position + m.length, line};
      SetSelectionStart(start);
      SetSelectionEnd(end);
      SetCaretXY(backwards ? start : end);
      if (!replace) return count;
      TqeReplaceAction action = ReplaceOne;
      if (OnReplaceText) {
        action = ReplaceCancel;
        OnReplaceText(search, replacementText, line, m.position, action);
      }
      if (action == ReplaceCancel) return count;
      if (action == ReplaceSkip) continue;
      if (action == ReplaceAll) {
        replaceAll = true;
        batch.matches.push_back(m);
        continue;
      }
      const std::string& with = regex ? m.replacement : replacementText;
      const TextPoint after = SetSelectedText(with);
      if (!backwards) SetCaretXY(after);
      if (!OnReplaceText) return count;
      // A line break in the replacement moves the lines below and ends this line's walk; otherwise the
      // later matches of the line move with the replacement.
      if (after.line > line) {
        if (!backwards) area.last.line += after.line - line, line = after.line;
        break;
      }
      const int delta = static_cast<int>(with.size()) - m.length;
      for (std::size_t j = i + 1; j < matches.size(); ++j)
        if (matches[j].position > m.position) matches[j].position += delta;
    }
    if (batch.matches.empty()) continue;
    if (backwards) std::reverse(batch.matches.begin(), batch.matches.end());
    batches.push_back(std::move(batch));
  }
  ReplaceEveryMatch(std::move(batches), replacementText, regex, backwards);
  return count;
}

}  // namespace editor
