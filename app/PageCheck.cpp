// The page check over libtidy: one tidy document per check, its messages caught by a callback instead
// of being printed, and its parsed tree walked for the links.
#include "app/PageCheck.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <system_error>

#include "platform/Cp1252.h"

namespace app {
namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Where a server block that starts at text[at] ends (after its closing mark), or npos when none starts.
std::size_t ServerBlockEnd(std::string_view text, std::size_t at) {
  const std::string_view rest = text.substr(at);
  std::string_view close;
  if (rest.starts_with("<%")) {
    close = "%>";
  } else if (rest.starts_with("<?php") || rest.starts_with("<?=") ||
             (rest.size() > 2 && rest.starts_with("<?") && (rest[2] == ' ' || rest[2] == '\t' || IsLineEnd(rest[2])))) {
    close = "?>";
  } else {
    return std::string_view::npos;
  }
  const std::size_t end = text.find(close, at + 2);
  return end == std::string_view::npos ? text.size() : end + close.size();
}

struct Span {
  std::size_t from, to;
};

// Every server block of a text, in order.
std::vector<Span> ServerBlocks(std::string_view text) {
  std::vector<Span> blocks;
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at)) {
    const std::size_t end = ServerBlockEnd(text, at);
    if (end == std::string_view::npos) {
      ++at;
      continue;
    }
    blocks.push_back({at, end});
    at = end;
  }
  return blocks;
}

// Where each line starts.
std::vector<std::size_t> LineStarts(std::string_view text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) starts.push_back(i + 1);
  return starts;
}

struct TidyDocDeleter {
  void operator()(TidyDoc doc) const { tidyRelease(doc); }
};

// One tidy document with its messages collected and nothing printed.
class TidySession {
 public:
  explicit TidySession(platform::TextEncoding encoding) : doc_(tidyCreate()) {
    tidySetAppData(Doc(), this);
    tidySetMessageCallback(Doc(), &TidySession::Collect);
    tidyBufInit(&errors_);
    tidySetErrorBuffer(Doc(), &errors_);
    const char* name = encoding == platform::TextEncoding::Utf8 ? "utf8" : "win1252";
    tidySetInCharEncoding(Doc(), name);
    tidySetOutCharEncoding(Doc(), name);
    tidyOptSetBool(Doc(), TidyQuiet, yes);
  }
  ~TidySession() { tidyBufFree(&errors_); }
  TidySession(const TidySession&) = delete;
  TidySession& operator=(const TidySession&) = delete;

  TidyDoc Doc() const { return doc_.get(); }
  const std::vector<PageProblem>& Problems() {
    Settle();
    return problems_;
  }

  // Parses the bytes (which may hold zeros: the length is given, not looked for).
  int Parse(std::string_view text) {
    TidyBuffer input;
    tidyBufInit(&input);
    tidyBufAttach(&input, reinterpret_cast<byte*>(const_cast<char*>(text.data())), static_cast<uint>(text.size()));
    const int status = tidyParseBuffer(Doc(), &input);
    tidyBufDetach(&input);
    return status;
  }

 private:
  // What the tidy command shows with -q -e: the messages that have a place in the text and that tidy
  // goes on to print. Tidy decides that after asking us (it leaves out some kinds of note, and errors past
  // its limit), so a message is kept once the error output is seen to have grown after it.
  static Bool TIDY_CALL Collect(TidyMessage message) {
    auto* self = static_cast<TidySession*>(tidyGetAppData(tidyGetMessageDoc(message)));
    self->Settle();
    const int line = tidyGetMessageLine(message);
    if (line <= 0) return yes;
    ProblemSeverity severity;
    switch (tidyGetMessageLevel(message)) {
      case TidyInfo:
        severity = ProblemSeverity::Info;
        break;
      case TidyWarning:
        severity = ProblemSeverity::Warning;
        break;
      case TidyAccess:
        severity = ProblemSeverity::Access;
        break;
      case TidyError:
      case TidyBadDocument:
      case TidyFatal:
        severity = ProblemSeverity::Error;
        break;
      default:
        return yes;
    }
    self->pending_ = PageProblem{line, tidyGetMessageColumn(message), severity, tidyGetMessage(message)};
    self->printed_ = self->errors_.size;
    return yes;
  }

  void Settle() {
    if (pending_ && errors_.size > printed_) problems_.push_back(std::move(*pending_));
    pending_.reset();
  }

  std::unique_ptr<const _TidyDoc, TidyDocDeleter> doc_;
  TidyBuffer errors_;
  std::vector<PageProblem> problems_;
  std::optional<PageProblem> pending_;  // the last message, until it is known whether tidy printed it
  uint printed_ = 0;                    // the error output's size when it came
};

struct LinkUse {
  int line = 0, column = 0;
  std::string target;
};

// Each href, src and action of the parsed tree, and every name and id it defines.
void GatherLinks(TidyNode node, std::vector<LinkUse>& links, std::set<std::string>& anchors) {
  for (TidyNode child = tidyGetChild(node); child; child = tidyGetNext(child)) {
    for (TidyAttr attr = tidyAttrFirst(child); attr; attr = tidyAttrNext(attr)) {
      const ctmbstr name = tidyAttrName(attr), value = tidyAttrValue(attr);
      if (!name || !value) continue;
      const std::string_view n = name;
      if (n == "name" || n == "id")
        anchors.insert(value);
      else if (n == "href" || n == "src" || n == "action")
        links.push_back({static_cast<int>(tidyNodeLine(child)), static_cast<int>(tidyNodeColumn(child)), value});
    }
    GatherLinks(child, links, anchors);
  }
}

bool HasScheme(std::string_view target) {
  const std::size_t colon = target.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  return std::all_of(target.begin(), target.begin() + colon, [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
           c == '.';
  });
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(c | 0x20);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A UTF-8 text from tidy in the page's own bytes, for a file name.
std::string InPageEncoding(std::string_view utf8, platform::TextEncoding encoding) {
  if (encoding == platform::TextEncoding::Utf8) return std::string(utf8);
  return platform::Transcode(utf8, platform::TextEncoding::Utf8, platform::TextEncoding::Cp1252);
}

// Whether the tag that starts at a place tidy gives holds a server block: its link is made by the
// server, and is not checked. The tag's end is looked for in the blanked text, where no block's '>' is.
bool TagHoldsServerBlock(std::string_view text, std::string_view blanked, const std::vector<std::size_t>& lineStarts,
                         const std::vector<Span>& blocks, const LinkUse& link, platform::TextEncoding encoding) {
  if (link.line < 1 || static_cast<std::size_t>(link.line) > lineStarts.size()) return false;
  const std::size_t lineStart = lineStarts[link.line - 1];
  const std::size_t from = lineStart + ByteOfCheckColumn(text.substr(lineStart), link.column, encoding);
  const std::size_t to = std::min(blanked.find('>', from), blanked.size());
  return std::any_of(blocks.begin(), blocks.end(),
                     [&](const Span& block) { return block.from < to && block.to > from; });
}

// The links that lead nowhere: a missing local file, an anchor no name or id defines. Web addresses,
// addresses from the server's root, and links a server block writes are not checked.
void CheckLinks(std::string_view text, std::string_view blanked, const std::vector<LinkUse>& links,
                const std::set<std::string>& anchors, platform::TextEncoding encoding,
                const std::filesystem::path& folder, std::vector<PageProblem>& out) {
  const std::vector<Span> blocks = ServerBlocks(text);
  const std::vector<std::size_t> lineStarts = blocks.empty() ? std::vector<std::size_t>{} : LineStarts(text);
  for (const LinkUse& link : links) {
    std::string_view target = link.target;
    while (!target.empty() && (target.front() == ' ' || target.front() == '\t')) target.remove_prefix(1);
    while (!target.empty() && (target.back() == ' ' || target.back() == '\t')) target.remove_suffix(1);
    if (target.empty() || HasScheme(target) || target.starts_with("/") ||
        (!blocks.empty() && TagHoldsServerBlock(text, blanked, lineStarts, blocks, link, encoding)))
      continue;
    if (target.front() == '#') {
      const std::string name = PercentDecoded(target.substr(1));
      if (!name.empty() && !anchors.count(name))
        out.push_back({link.line, link.column, ProblemSeverity::Link, "No anchor named " + name});
      continue;
    }
    const std::string_view file = target.substr(0, target.find_first_of("?#"));
    if (file.empty() || folder.empty()) continue;
    std::error_code error;
    const std::filesystem::path path = folder / InPageEncoding(PercentDecoded(file), encoding);
    if (!std::filesystem::exists(path, error))
      out.push_back({link.line, link.column, ProblemSeverity::Link, "Broken link: " + std::string(file)});
  }
}

// Tidy keeps server blocks in place but trims the blank after "<%" and indents a block's lines: each
// block of its output gets the original's bytes back (line ends as the output's). Empty when the blocks
// do not pair up one for one.
std::string WithOriginalBlocks(std::string_view original, std::string_view tidied, bool crlf) {
  const std::vector<Span> before = ServerBlocks(original), after = ServerBlocks(tidied);
  if (before.size() != after.size()) return {};
  std::string out;
  std::size_t copied = 0;
  for (std::size_t i = 0; i < after.size(); ++i) {
    out.append(tidied.substr(copied, after[i].from - copied));
    const std::string_view block = original.substr(before[i].from, before[i].to - before[i].from);
    for (std::size_t at = 0; at < block.size(); ++at) {
      if (!IsLineEnd(block[at])) {
        out += block[at];
        continue;
      }
      if (block[at] == '\r' && at + 1 < block.size() && block[at + 1] == '\n') ++at;
      out += crlf ? "\r\n" : "\n";
    }
    copied = after[i].to;
  }
  out.append(tidied.substr(copied));
  return out;
}

}  // namespace

std::string_view SeverityName(ProblemSeverity severity) {
  switch (severity) {
    case ProblemSeverity::Error:
      return "error";
    case ProblemSeverity::Warning:
      return "warning";
    case ProblemSeverity::Access:
      return "access";
    case ProblemSeverity::Info:
      return "info";
    case ProblemSeverity::Link:
      return "link";
  }
  return "info";
}

std::string BlankServerBlocks(std::string_view text) {
  std::string out(text);
  for (const Span& block : ServerBlocks(text))
    for (std::size_t i = block.from; i < block.to; ++i)
      if (!IsLineEnd(out[i])) out[i] = ' ';
  return out;
}

std::vector<PageProblem> CheckPage(std::string_view text, platform::TextEncoding encoding,
                                   const std::filesystem::path& folder) {
  const std::string blanked = BlankServerBlocks(text);
  TidySession tidy(encoding);
  std::vector<LinkUse> links;
  std::set<std::string> anchors;
  if (tidy.Parse(blanked) >= 0) {
    GatherLinks(tidyGetRoot(tidy.Doc()), links, anchors);
    tidyCleanAndRepair(tidy.Doc());
    tidyRunDiagnostics(tidy.Doc());
  }
  std::vector<PageProblem> problems = tidy.Problems();
  CheckLinks(text, blanked, links, anchors, encoding, folder, problems);
  std::stable_sort(problems.begin(), problems.end(), [](const PageProblem& a, const PageProblem& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
  });
  return problems;
}

int ByteOfCheckColumn(std::string_view line, int column, platform::TextEncoding encoding) {
  int shown = 1;
  std::size_t at = 0;
  while (at < line.size() && !IsLineEnd(line[at])) {
    const int next = line[at] == '\t' ? (shown - 1) / 8 * 8 + 9 : shown + 1;
    if (next > column) break;
    shown = next;
    at += platform::CharacterLength(line, at, encoding);
  }
  return static_cast<int>(at);
}

TidyUpResult TidyUpPage(std::string_view text, platform::TextEncoding encoding, int indent, bool crlf) {
  TidySession tidy(encoding);
  const TidyDoc doc = tidy.Doc();
  tidyOptSetInt(doc, TidyIndentContent, TidyAutoState);
  tidyOptSetInt(doc, TidyIndentSpaces, std::clamp(indent, 0, 16));
  tidyOptSetInt(doc, TidyWrapLen, 0);
  tidyOptSetInt(doc, TidyNewline, crlf ? TidyCRLF : TidyLF);
  tidyOptSetBool(doc, TidyMark, no);
  TidyUpResult result;
  const int status = tidy.Parse(text);
  if (status >= 0) tidyCleanAndRepair(doc);
  const uint errors = tidyErrorCount(doc);
  TidyBuffer output;
  tidyBufInit(&output);
  if (status >= 0 && errors == 0 && tidySaveBuffer(doc, &output) >= 0 && output.bp) {
    result.mended = true;
    result.text =
        WithOriginalBlocks(text, std::string_view(reinterpret_cast<const char*>(output.bp), output.size), crlf);
    if (result.text.empty()) {
      result.mended = false;
      result.message = "Tidy would change the page's server blocks. The text is unchanged.";
    }
  } else {
    result.message = "Tidy cannot mend this page: it has " + std::to_string(std::max<uint>(errors, 1)) +
                     (errors == 1 ? " error" : " errors") + " (see Check Page). The text is unchanged.";
  }
  tidyBufFree(&output);
  return result;
}

int ChangedLineCount(std::string_view before, std::string_view after) {
  auto split = [](std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
        lines.push_back(text.substr(start, i + 1 - start));
        start = i + 1;
      }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
  };
  auto trimmed = [](std::string_view line) {
    while (!line.empty() && IsLineEnd(line.back())) line.remove_suffix(1);
    return line;
  };
  const auto a = split(before), b = split(after);
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && trimmed(a[head]) == trimmed(b[head])) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         trimmed(a[a.size() - 1 - tail]) == trimmed(b[b.size() - 1 - tail]))
    ++tail;
  return static_cast<int>(std::max(a.size() - head - tail, b.size() - head - tail));
}

}  // namespace app
