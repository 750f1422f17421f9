// The export loop over the selected lines and the RTF it writes.
#include "editor/RtfExport.h"

#include <algorithm>
#include <utility>

#include "editor/CustomEdit.h"

namespace editor {
namespace {

// A scanner without export operations is driven by its ordinary ones, every token handed on as the
// exporting scanners hand theirs.
void ExportLine(highlighters::TqeCustomHighLighter& highlighter, std::string_view text,
                highlighters::TokenExporter& exporter) {
  if (highlighter.Capabilities() & highlighters::kExportable) {
    highlighter.StartExportLine(text);
    while (!highlighter.AtLineEnd()) highlighter.ExportNextToken();
    return;
  }
  highlighter.StartLine(text, 0);
  for (;; highlighter.NextToken()) {
    if (highlighter.AtLineEnd()) {
      exporter.ExportToken({}, nullptr, false, false);
      return;
    }
    exporter.ExportToken(highlighter.TokenText(), highlighter.TokenAttribute(), false, true);
  }
}

// Braces and backslashes are always escaped, in the text whatever the scanner asks and in the title: left
// as they are, they would open and close groups and swallow or scramble the text when a word processor reads it.
// The document declares the ANSI code page: Windows-1252 bytes above 127 are written as "\\'hh", as RTF
// asks of 7-bit files; UTF-8 characters beyond ASCII are written as Unicode escapes (two, as UTF-16 halves,
// above U+FFFF) with '?' for older readers.
void AppendEscaped(std::string& out, std::string_view text, platform::TextEncoding encoding) {
  auto unicode = [&out](unsigned unit) { out += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + "?"; };
  platform::ForEachCharacter(text, encoding, [&](std::size_t start, int, char32_t code) {
    const auto c = static_cast<unsigned char>(text[start]);
    if (c < 0x80) {
      if (c == '\\' || c == '{' || c == '}') out += '\\';
      out += static_cast<char>(c);
    } else if (encoding != platform::TextEncoding::Utf8) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += {'\\', '\'', kHex[c >> 4], kHex[c & 15]};
    } else if (code > 0xFFFF) {
      unicode(0xD800 + ((code - 0x10000) >> 10));
      unicode(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      unicode(code);
    }
  });
}

// How many bytes at the end of text start a UTF-8 sequence that the text cuts short. Scanners may end a
// token inside a character (a token a byte, outside strings and comments): its rest comes with the next one.
std::size_t CutSequenceTail(std::string_view text) {
  for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const auto b = static_cast<unsigned char>(text[text.size() - back]);
    if ((b & 0xC0) == 0x80) continue;  // a continuation byte: its lead stands further back
    const std::size_t needed = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return needed > back ? back : 0;
  }
  return 0;
}

// Detaches the exporter from the highlighter however the export ends.
class ExporterScope {
 public:
  ExporterScope(highlighters::TqeCustomHighLighter& highlighter, highlighters::TokenExporter* exporter)
      : highlighter_(highlighter) {
    highlighter_.SetExporter(exporter);
  }
  ~ExporterScope() { highlighter_.SetExporter(nullptr); }

 private:
  highlighters::TqeCustomHighLighter& highlighter_;
};

}  // namespace

std::string TqeCustomExport::Export(const TqeCustomEdit& editor, highlighters::TqeCustomHighLighter* highlighter) {
  if (!highlighter) throw EqeEditError("Invalid Parameter");
  if (!editor.HasSelection()) throw EqeEditError("There is no selected text to export");
  const ExporterScope scope(*highlighter, this);
  encoding_ = editor.Encoding();
  Reset(editor);
  TextPoint first = editor.SelectionStart(), last = editor.SelectionEnd();
  if (IsBefore(last, first)) std::swap(first, last);
  // Whole lines in line mode; otherwise the text between the corners, as a normal selection has it.
  if (editor.SelectionMode() == smLine) {
    first.column = 1;
    last.column = static_cast<int>(editor.Lines().Get(last.line - 1).size()) + 1;
  }
  output_.reserve(static_cast<std::size_t>(last.line - first.line + 1) * 100);
  highlighter->SetRangeState(editor.Lines().Slot(first.line - 1));
  for (int line = first.line; line <= last.line; ++line) {
    std::string_view text = editor.Lines().Get(line - 1);
    if (line == last.line) text = text.substr(0, std::min<std::size_t>(text.size(), last.column - 1));
    if (line == first.line) text.remove_prefix(std::min<std::size_t>(text.size(), first.column - 1));
    ExportLine(*highlighter, text, *this);
  }
  FlushPending();
  // The body ends with the last line's text.
  if (output_.size() >= LineEnd().size() &&
      std::string_view(output_).substr(output_.size() - LineEnd().size()) == LineEnd())
    output_.resize(output_.size() - LineEnd().size());
  std::string exported = Header() + output_ + Footer();
  output_.clear();
  return exported;
}

void TqeCustomExport::ExportToClipboardAs(const TqeCustomEdit& editor, highlighters::TqeCustomHighLighter* highlighter,
                                          platform::Clipboard& clipboard, std::string_view format) {
  std::string exported = Export(editor, highlighter);
  if (!clipboard.SetItems({{std::string(format), std::move(exported)},
                           {std::string(platform::PlainTextFormat(editor.Encoding())), editor.SelectedText()}}))
    throw EqeEditError("Clipboard copy operation failed");
}

void TqeRtfExport::Reset(const TqeCustomEdit& editor) {
  output_.clear();
  pending_.clear();
  last_ = {};
  colors_.clear();
  fontSize_ = "\\fs" + std::to_string(2 * editor.Font().pointSize);
  fontName_ = editor.Font().family.substr(0, 32);
}

int TqeRtfExport::ColorNumber(platform::Color color) {
  const auto found = std::find(colors_.begin(), colors_.end(), color);
  if (found != colors_.end()) return static_cast<int>(found - colors_.begin());
  colors_.push_back(color);
  return static_cast<int>(colors_.size()) - 1;
}

void TqeRtfExport::ExportToken(std::string_view text, const highlighters::TqeHighLightAttributes* attribute, bool,
                               bool) {
  if (!attribute) {
    FlushPending();
    output_ += LineEnd();
    return;
  }
  const int foreground = ColorNumber(attribute->Foreground());
  const int background = UseBackGround ? ColorNumber(attribute->Background()) : 0;
  const Look look{attribute->Foreground(), UseBackGround ? attribute->Background() : 0, attribute->Style()};
  const bool changed = !(look == last_);
  if (changed) {
    output_ += "\\plain" + fontSize_;
    if (UseBackGround) output_ += "\\cb" + std::to_string(background);
    output_ += "\\cf" + std::to_string(foreground);
    if (look.style & platform::kBold) output_ += "\\b";
    if (look.style & platform::kItalic) output_ += "\\i";
    if (look.style & platform::kUnderline) output_ += "\\ul";
    if (look.style & platform::kStrikeOut) output_ += "\\strike";
    output_ += ' ';
    last_ = look;
  }
  // A character the token cuts short is written whole, with the token that ends it.
  std::string joined;
  if (encoding_ == platform::TextEncoding::Utf8) {
    if (!pending_.empty()) text = joined = std::exchange(pending_, {}) + std::string(text);
    const std::size_t cut = CutSequenceTail(text);
    pending_ = text.substr(text.size() - cut);
    text.remove_suffix(cut);
  }
  AppendEscaped(output_, text, encoding_);
  if (changed && UseBackGround) output_ += "\\plain\\f0" + fontSize_;
}

void TqeRtfExport::FlushPending() { AppendEscaped(output_, std::exchange(pending_, {}), encoding_); }

std::string TqeRtfExport::Header() const {
  std::string header = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern ";
  AppendEscaped(header, fontName_, platform::TextEncoding::Cp1252);
  header += ";}}\r\n{\\colortbl";
  for (platform::Color color : colors_) {
    const platform::Color rgb = platform::ClassicRgb(color);
    header += "\\red" + std::to_string(rgb & 0xFF) + "\\green" + std::to_string((rgb >> 8) & 0xFF) + "\\blue" +
              std::to_string((rgb >> 16) & 0xFF) + ";";
  }
  header += "}\r\n{\\info{\\comment Generated by qeRtfExport}\r\n{\\title ";
  AppendEscaped(header, Title(), encoding_);
  header += "}}\r\n";
  header += "\\deflang1033\\pard\\plain \r\n";
  return header;
}

}  // namespace editor
