// The converter's single pass: control words change states, the character writer turns pending states into
// tags before each character.
#include "app/Rtf2Html.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "app/TextFiles.h"
#include "platform/TextBits.h"

namespace app {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// A character that is no hexadecimal digit counts as 0.
int HexOr0(char c) { return std::max(platform::HexDigitValue(c), 0); }

// 0 off, 1 to open, 2 open, 3 to close.
enum Format { kOff = 0, kToOpen = 1, kOpen = 2, kToClose = 3 };

class Converter {
 public:
  explicit Converter(std::string_view rtf) : in_(rtf) { Reset(); }

  std::string Run() {
    while (pos_ < in_.size()) {
      const auto c = static_cast<unsigned char>(in_[pos_]);
      if (c < 32) {
        ++pos_;
      } else if (c == '\\') {
        ++pos_;
        Control();
      } else if (c == '{' || c == '}') {
        c == '{' ? OpenGroup() : CloseGroup();
        ++pos_;
      } else {
        EndColourTable();
        Write(static_cast<char>(c));
        ++pos_;
        // The rest of the run goes out as it is, up to what the main loop must look at.
        while (pos_ < in_.size()) {
          const auto d = static_cast<unsigned char>(in_[pos_]);
          if (d < 32 || d == '<' || d == '>' || d == '\\' || d == '{' || d == '}') break;
          out_ += static_cast<char>(d);
          ++pos_;
        }
      }
    }
    return Finish(std::move(out_));
  }

 private:
  // What \deflang clears, and the state every call starts in.
  void Reset() {
    inFontTable_ = false;
    alignment_ = 0;
    paraOpen_ = false;
    paraState_ = 0;
    fontIndex_ = defaultFont_;
    sizeCode_ = 3;
    colourIndex_ = 0;
    bold_ = italic_ = underline_ = kOff;
    formatFlushed_ = false;
  }

  // Skips the rest of the current group, its closing brace included.
  void SkipGroup() {
    for (int nested = 0; pos_ < in_.size(); ++pos_) {
      if (in_[pos_] == '{') ++nested;
      if (in_[pos_] == '}' && nested-- == 0) {
        ++pos_;
        CloseGroup();
        return;
      }
    }
  }

  // Bold, italic and underline end with the group that set them, as RTF has it: "{\ul word}" underlines
  // one word, not the rest of the document. (Face, size and colour stay as they are, as they always have.)
  void OpenGroup() { groups_.push_back({bold_ != kOff, italic_ != kOff, underline_ != kOff}); }
  void CloseGroup() {
    if (groups_.empty()) return;
    const std::array<bool, 3> before = groups_.back();
    groups_.pop_back();
    Format* formats[] = {&bold_, &italic_, &underline_};
    for (int i = 0; i < 3; ++i) {
      if (before[i] || *formats[i] == kOff || *formats[i] == kToClose) continue;
      *formats[i] = *formats[i] == kOpen ? kToClose : kOff;
      formatFlushed_ = false;
    }
  }

  void Control() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (c == '\\' || c == '{' || c == '}') {
      EndColourTable();
      Write(c);
      ++pos_;
      return;
    }
    if (c == '\'') {
      if (pos_ + 2 >= in_.size()) {  // cut off: the conversion ends here
        pos_ = in_.size();
        return;
      }
      EndColourTable();
      const char byte = static_cast<char>(HexOr0(in_[pos_ + 1]) * 16 + HexOr0(in_[pos_ + 2]));
      // A zero byte would end the editor's text there; it is left out, and nothing after it is lost.
      if (byte != 0) Write(byte);
      pos_ += 3;
      return;
    }
    if (c == '*') {
      ++pos_;
      SkipGroup();
      return;
    }
    // A line break ends the word too (RTF ignores line breaks): "\\par" at a line's end must not take the
    // next line's first word into it.
    std::string word = "\\";
    while (pos_ < in_.size()) {
      const char d = in_[pos_];
      if (d == ' ' || (d >= '0' && d <= '9') || d == ';' || d == '\\' || d == '{' || d == '}' ||
          static_cast<unsigned char>(d) < 32)
        break;
      word += d;
      ++pos_;
    }
    std::string parameter;
    while (pos_ < in_.size() && ((in_[pos_] >= '0' && in_[pos_] <= '9') || (in_[pos_] >= 'a' && in_[pos_] <= 'z')))
      parameter += in_[pos_++];
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    Word(word, parameter);
    // Braces right after a word open and close groups; a ";" ends an entry of the font or colour table and
    // is text anywhere else.
    while (pos_ < in_.size()) {
      const char d = in_[pos_];
      if (d == '{') {
        OpenGroup();
      } else if (d == '}') {
        CloseGroup();
      } else if (d == ';' && (inFontTable_ || inColourTable_)) {
        // Every ";" of the colour table ends an entry, an empty one (the automatic colour) included: RTF
        // numbers the colours so.
        if (inColourTable_) colours_.push_back(std::exchange(colourBuilder_, {}));
      } else {
        break;
      }
      ++pos_;
    }
  }

  // Destinations that hold no text of the document: dropped with their group, as "{\\*...}" is.
  static bool HoldsNoText(const std::string& w) {
    static const std::array<std::string_view, 15> kWords = {
        "\\stylesheet", "\\info",      "\\pict",    "\\header",   "\\headerl",
        "\\headerr",    "\\headerf",   "\\footer",  "\\footerl",  "\\footerr",
        "\\footerf",    "\\listtable", "\\rsidtbl", "\\xmlnstbl", "\\listoverridetable"};
    return std::find(kWords.begin(), kWords.end(), w) != kWords.end();
  }

  static int Number(const std::string& parameter, int otherwise) {
    if (parameter.empty()) return otherwise;
    int value = 0;
    for (char c : parameter) {
      if (c < '0' || c > '9') return otherwise;
      value = value > 100000000 ? value : value * 10 + (c - '0');
    }
    return value;
  }

  static std::string Hex2(int value) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(value));
    return hex;
  }

  void Word(const std::string& w, const std::string& parameter) {
    const bool colourWord = w == "\\red" || w == "\\green" || w == "\\blue" || w == "\\colortbl";
    if (!colourWord) EndColourTable();
    // Writers that put \deflang before the font table would leave it open for the whole document, every
    // later \f read as a font name: the table also ends at the first other word after it.
    if (inFontTable_ && w != "\\f" && w != "\\fonttbl") inFontTable_ = false;
    if (HoldsNoText(w)) {
      SkipGroup();
    } else if (w == "\\par") {
      if (paraState_ == 2) paraState_ = 3;
      paraOpen_ = false;
    } else if (w == "\\pard") {
      alignment_ = 0;
      if (paraState_ > 0) paraState_ = 4;
      paraOpen_ = false;
    } else if (w == "\\qc" || w == "\\qr") {
      alignment_ = w == "\\qc" ? 2 : 1;
      paraOpen_ = false;
    } else if (w == "\\pntext") {
      paraOpen_ = false;
      paraState_ = 2;
      SkipGroup();
    } else if (w == "\\fi") {
      paraOpen_ = false;
      paraState_ = 1;
      Write(std::nullopt);
    } else if (w == "\\b" || w == "\\i" || w == "\\ul" || w == "\\ulnone") {
      Format& format = w == "\\b" ? bold_ : w == "\\i" ? italic_ : underline_;
      formatFlushed_ = false;
      // "\b0" and "\ulnone" turn the format off; one never written goes without a trace.
      if (w == "\\ulnone" || parameter == "0")
        format = format == kOpen ? kToClose : format == kToOpen ? kOff : format;
      else if (format == kOff)
        format = kToOpen;
    } else if (w == "\\plain") {
      for (Format* f : {&bold_, &italic_, &underline_})
        if (*f == kOpen) *f = kToClose;
      if (bold_ == kToClose || italic_ == kToClose || underline_ == kToClose || colourIndex_ != 0) {
        colourIndex_ = 0;
        formatFlushed_ = false;
        Write(std::nullopt);
      }
    } else if (w == "\\f") {
      if (inFontTable_) return ReadFontName();
      const int index = Number(parameter, 0);
      SetFontPart(fontIndex_, index);
    } else if (w == "\\fs") {
      const int points = Number(parameter, 11) / 2;
      const int code = points >= 1 && points <= 5     ? 1
                       : points >= 6 && points <= 9   ? 2
                       : points >= 10 && points <= 11 ? 3
                       : points >= 12 && points <= 13 ? 4
                       : points >= 14 && points <= 15 ? 5
                                                      : 6;
      SetFontPart(sizeCode_, code);
    } else if (w == "\\cf") {
      const int index = Number(parameter, 0);
      SetFontPart(colourIndex_, index);
    } else if (w == "\\tab") {
      Write('\t');
    } else if (w == "\\red") {
      colourBuilder_ = "#" + Hex2(Number(parameter, 255));
    } else if (w == "\\green") {
      colourBuilder_ += Hex2(Number(parameter, 255));
    } else if (w == "\\blue") {
      colourBuilder_ += Hex2(Number(parameter, 255));
      colourBuilder_ = colourBuilder_.substr(0, 10);
      if (!inColourTable_) colours_.push_back(colourBuilder_);
    } else if (w == "\\colortbl") {
      inColourTable_ = true;
      colourBuilder_.clear();
    } else if (w == "\\deff") {
      defaultFont_ = Number(parameter, 0);
    } else if (w == "\\fonttbl") {
      inFontTable_ = true;
    } else if (w == "\\deflang") {
      Reset();
    }
  }

  void EndColourTable() { inColourTable_ = false; }

  // A new face, size or colour: the FONT tag is written again before the next character.
  void SetFontPart(int& part, int value) {
    if (value == part) return;
    part = value;
    fontPending_ = true;
    formatFlushed_ = false;
  }

  void ReadFontName() {
    while (pos_ < in_.size() && in_[pos_] != ' ') ++pos_;
    if (pos_ < in_.size()) ++pos_;
    std::string name;
    while (pos_ < in_.size() && in_[pos_] != ';') {
      if (name.size() < 63) name += in_[pos_];
      ++pos_;
    }
    if (pos_ >= in_.size()) return;
    fontNames_.push_back(name);
    pos_ += 2;  // the ";" and the entry's "}"
    CloseGroup();
  }

  void Write(std::optional<char> c) {
    std::string tags;
    static constexpr const char* kOpenTags[] = {"<B>", "<I>", "<U>"};
    static constexpr const char* kCloseTags[] = {"</B>", "</I>", "</U>"};
    Format* formats[] = {&bold_, &italic_, &underline_};
    if (!paraOpen_) {
      for (int i = 0; i < 3; ++i) {
        if (*formats[i] == kOpen || *formats[i] == kToClose) tags += kCloseTags[i];
        if (*formats[i] == kToClose) *formats[i] = kOff;
      }
      switch (paraState_) {
        case 0:
          tags += std::string(kCrLf) + (alignment_ == 1   ? "<P ALIGN=RIGHT>"
                                        : alignment_ == 2 ? "<P ALIGN=CENTER>"
                                                          : "<P>");
          break;
        case 1:
          tags += std::string(kCrLf) + "<UL>";
          break;
        case 2:
          tags += std::string(kCrLf) + "<LI>";
          break;
        case 3:
          tags += "</LI>";
          break;
        default:
          tags += std::string(kCrLf) + "</UL>";
          paraState_ = 0;
      }
      for (int i = 0; i < 3; ++i)
        if (*formats[i] == kOpen) tags += kOpenTags[i];
      paraOpen_ = true;
    }
    if (!formatFlushed_) {
      if (fontPending_) {
        // A number past the font or colour table (or the automatic colour) leaves its attribute out.
        tags += "<FONT";
        if (fontIndex_ >= 0 && fontIndex_ < static_cast<int>(fontNames_.size()))
          tags += " FACE=\"" + fontNames_[fontIndex_] + "\"";
        if (colourIndex_ >= 0 && colourIndex_ < static_cast<int>(colours_.size()) && !colours_[colourIndex_].empty())
          tags += " COLOR=\"" + colours_[colourIndex_] + "\"";
        tags += " SIZE=\"" + std::to_string(sizeCode_) + "\">";
        fontPending_ = false;
      }
      for (int i = 0; i < 3; ++i) {
        if (*formats[i] == kToOpen) {
          tags += kOpenTags[i];
          *formats[i] = kOpen;
        } else if (*formats[i] == kToClose) {
          tags += kCloseTags[i];
          *formats[i] = kOff;
        }
      }
      formatFlushed_ = true;
    }
    out_ += tags;
    if (!c) return;
    if (*c == '<')
      out_ += "&lt";
    else if (*c == '>')
      out_ += "&gt";
    else
      out_ += *c;
  }

  // Every CR LF "<P>" CR LF "<P" loses its first six characters to "</P>": an empty paragraph followed by
  // another paragraph start.
  static std::string Finish(std::string out) {
    static constexpr std::string_view kEmpty = "\r\n<P>\r\n<P";
    for (std::size_t at = out.find(kEmpty); at != std::string::npos; at = out.find(kEmpty, at))
      out.replace(at, 6, "</P>");
    return out;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  std::string out_;
  // For each open group, whether bold, italic and underline were on when it opened.
  std::vector<std::array<bool, 3>> groups_;
  bool inFontTable_ = false;
  bool inColourTable_ = false;
  std::vector<std::string> fontNames_;
  std::vector<std::string> colours_;
  std::string colourBuilder_;
  int defaultFont_ = 0;
  int fontIndex_ = 0;
  int colourIndex_ = 0;
  int sizeCode_ = 3;
  bool fontPending_ = false;
  Format bold_ = kOff, italic_ = kOff, underline_ = kOff;
  bool formatFlushed_ = false;
  int alignment_ = 0;  // 0 left, 1 right, 2 centre
  int paraState_ = 0;
  bool paraOpen_ = false;
};

}  // namespace

std::string RtfToHtml(std::string_view rtf) { return Converter(rtf).Run(); }

std::string ReadRtfFile(const std::filesystem::path& file) {
  std::string text;
  for (const std::string& line : ReadLines(file)) text += line + "\r\n";
  if (!text.empty()) text.resize(text.size() - 2);
  return text;
}

}  // namespace app
