// PCRE2 behind TqeRegexSearch.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "editor/RegexSearch.h"

#include <pcre2.h>

#include "editor/EditTypes.h"
#include "editor/TextUtil.h"

namespace editor {
namespace {

// How much work one match may do before it is given up: far beyond any sensible pattern over one line,
// far below a hang.
constexpr uint32_t kMatchLimit = 10'000'000;
constexpr uint32_t kDepthLimit = 100'000;

std::string ErrorText(int code) {
  PCRE2_UCHAR text[256];
  pcre2_get_error_message(code, text, sizeof text);
  return reinterpret_cast<const char*>(text);
}

}  // namespace

struct TqeRegexSearch::Code {
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
  pcre2_match_context* context = nullptr;
  ~Code() {
    pcre2_match_context_free(context);
    pcre2_match_data_free(data);
    pcre2_code_free(code);
  }
};

TqeRegexSearch::TqeRegexSearch(std::string_view pattern, bool caseSensitive, bool wholeWord)
    : code_(std::make_unique<Code>()), wholeWord_(wholeWord) {
  int error = 0;
  PCRE2_SIZE offset = 0;
  code_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                              caseSensitive ? 0 : PCRE2_CASELESS, &error, &offset, nullptr);
  if (!code_->code)
    throw EqeEditError("Invalid regular expression at position " + std::to_string(offset + 1) + ": " +
                       ErrorText(error));
  pcre2_jit_compile(code_->code, PCRE2_JIT_COMPLETE);  // without a JIT the interpreter runs it
  code_->data = pcre2_match_data_create_from_pattern(code_->code, nullptr);
  code_->context = pcre2_match_context_create(nullptr);
  pcre2_set_match_limit(code_->context, kMatchLimit);
  pcre2_set_depth_limit(code_->context, kDepthLimit);
}

TqeRegexSearch::~TqeRegexSearch() = default;

std::vector<TextMatch> TqeRegexSearch::FindAll(std::string_view line, const std::string* replacementTemplate) {
  std::vector<TextMatch> matches;
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(line.data() ? line.data() : "");
  for (PCRE2_SIZE from = 0; from <= line.size();) {
    const int found = pcre2_match(code_->code, subject, line.size(), from, 0, code_->data, code_->context);
    if (found == PCRE2_ERROR_NOMATCH) break;
    if (found < 0) throw EqeEditError("The regular expression could not be matched: " + ErrorText(found));
    const PCRE2_SIZE* groups = pcre2_get_ovector_pointer(code_->data);
    const PCRE2_SIZE start = groups[0], end = groups[1];
    // An empty match is taken once; the next search starts a byte further on.
    from = end > start ? end : start + 1;
    if (wholeWord_ && !IsWholeWord(line, start, end)) continue;
    TextMatch match{static_cast<int>(start) + 1, static_cast<int>(end - start), {}};
    if (replacementTemplate) {
      const std::string& t = *replacementTemplate;
      for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '$' && i + 1 < t.size() && t[i + 1] >= '0' && t[i + 1] <= '9') {
          const int group = t[++i] - '0';
          if (group < found && groups[2 * group] != PCRE2_UNSET)
            match.replacement.append(line.substr(groups[2 * group], groups[2 * group + 1] - groups[2 * group]));
        } else if (t[i] == '$' && i + 1 < t.size() && t[i + 1] == '$') {
          match.replacement += t[++i];
        } else {
          match.replacement += t[i];
        }
      }
    }
    matches.push_back(std::move(match));
  }
  return matches;
}

bool TqeRegexSearch::MatchesWhole(std::string_view text) {
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data() ? text.data() : "");
  const int found = pcre2_match(code_->code, subject, text.size(), 0, PCRE2_ANCHORED | PCRE2_ENDANCHORED, code_->data,
                                code_->context);
  if (found == PCRE2_ERROR_NOMATCH) return false;
  if (found < 0) throw EqeEditError("The regular expression could not be matched: " + ErrorText(found));
  return true;
}

}  // namespace editor
