// The preview's dumps. Their layouts are contracts that golden files and other checks compare byte for
// byte.
#include "qmtool/PreviewCommands.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileIO.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryFormControls.h"
#include "preview/CssValues.h"
#include "preview/PageStyles.h"
#include "preview/PreviewParser.h"
#include "preview/Section.h"
#include "preview/Tables.h"
#include "qmtool/TextEscape.h"

namespace qmtool {
namespace {

std::string TagLabel(const preview::THtmlTokenizer& t) {
  std::string name(preview::TagName(t.tag));
  if (t.tag == preview::Tag::H && t.headingLevel > 0) name += std::to_string(t.headingLevel);
  return (t.kind == preview::TokenKind::EndTag ? "</" : "<") + name + ">";
}

bool ParsePositive(const char* text, int& value) {
  const std::string_view s = text;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  return error == std::errc() && end == s.data() + s.size() && value > 0;
}

struct DumpOptions {
  bool colors = false;
};

// Reads "[--width W] [OPTION...] FILE", taking the other options with take(arg, next) (true when arg was
// one; next is set when it took the word after it too). False on anything else or without a file.
template <typename Take>
bool ReadPageArguments(int argc, char** argv, int& width, std::string& file, Take take) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    bool next = false;
    if (arg == "--width" && i + 1 < argc && ParsePositive(argv[i + 1], width)) {
      ++i;
    } else if (take(arg, i + 1 < argc ? argv[i + 1] : nullptr, next)) {
      i += next ? 1 : 0;
    } else if (file.empty() && arg.rfind("--", 0) != 0) {
      file = arg;
    } else {
      return false;
    }
  }
  return !file.empty();
}

std::string StyleWords(const preview::TFontObj& run) {
  static constexpr std::pair<platform::FontStyle, const char*> kWords[] = {{platform::kBold, "bold"},
                                                                           {platform::kItalic, "italic"},
                                                                           {platform::kUnderline, "underline"},
                                                                           {platform::kStrikeOut, "strike"}};
  std::string words;
  for (const auto& [bit, word] : kWords)
    if (run.font.style & bit) words += (words.empty() ? "" : ",") + std::string(word);
  if (words.empty()) words = "plain";
  if (run.subSup == preview::SubSup::Sub) words += " sub";
  if (run.subSup == preview::SubSup::Sup) words += " sup";
  if (!run.Link().url.empty()) words += " link " + Quote(run.Link().url);
  return words;
}

const char* KindName(preview::BlockKind kind) {
  switch (kind) {
    case preview::BlockKind::Section:
      return "Section";
    case preview::BlockKind::PreFormated:
      return "PreFormated";
    case preview::BlockKind::OListItem:
      return "OListItem";
    case preview::BlockKind::UListItem:
      return "UListItem";
    case preview::BlockKind::DListItem:
      return "DListItem";
    case preview::BlockKind::ParagraphSpace:
      return "ParagraphSpace";
    case preview::BlockKind::HeadingSpace:
      return "HeadingSpace";
    case preview::BlockKind::HorzLine:
      return "HorzLine";
    case preview::BlockKind::Table:
      return "Table";
  }
  return "?";
}

// The messages layout raised, each with the cell and the index of the block it dropped.
struct LayoutErrors {
  std::vector<std::pair<const preview::TCell*, std::pair<std::size_t, std::string>>> entries;

  void Print(std::ostream& out, const preview::TCell& cell, std::size_t index, const std::string& indent) const {
    for (const auto& [where, error] : entries)
      if (where == &cell && error.first == index) out << indent << "error " << Quote(error.second) << "\n";
  }
};

void DumpSection(std::ostream& out, const preview::TSection& section, const std::string& indent,
                 const DumpOptions& options) {
  if (const std::string marker = section.MarkerText(); !marker.empty())
    out << indent << "marker " << Quote(marker) << "\n";
  for (const preview::LineRec& line : section.Lines())
    out << indent << "line x=" << line.x << " y=" << line.y << " h=" << line.Height() << " "
        << Quote(std::string_view(section.Text()).substr(line.start, line.count)) << "\n";
  for (const preview::TFontObj& run : section.Fonts())
    out << indent << "font " << run.pos << " " << run.font.size << " " << StyleWords(run)
        << (options.colors ? " color " + preview::CssHex(run.font.color) : std::string()) << "\n";
  static constexpr const char* kAlignNames[] = {"top", "middle", "bottom", "left", "right"};
  for (const auto& image : section.Images())
    out << indent << "image " << image->src << " w=" << image->boxWidth << " h=" << image->boxHeight << " "
        << kAlignNames[static_cast<int>(image->align)] << "\n";
  for (const preview::TFormControlObj* control : section.Controls())
    out << indent << "control " << control->KindName() << " w=" << control->width << " h=" << control->height << "\n";
}

void DumpCell(std::ostream& out, const preview::TCell& cell, const LayoutErrors& errors, const std::string& indent,
              const DumpOptions& options);

void DumpTable(std::ostream& out, const preview::ThtmlTable& table, const LayoutErrors& errors,
               const std::string& indent, const DumpOptions& options) {
  if (const preview::TCellObj* caption = table.Caption()) {
    out << indent << "caption\n";
    DumpCell(out, caption->cell, errors, indent + "  ", options);
  }
  const auto& rows = table.Rows();
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].cells.size(); ++c) {
      const preview::TCellObj& cell = *rows[r].cells[c];
      if (cell.IsPlaceholder()) continue;
      const platform::Point origin = table.ContentOrigin(r, c);
      out << indent << "cell " << r + 1 << " " << c + 1 << " x=" << origin.x << " y=" << origin.y << " w=" << cell.wd
          << " h=" << cell.ht << "\n";
      DumpCell(out, cell.cell, errors, indent + "  ", options);
    }
}

void DumpCell(std::ostream& out, const preview::TCell& cell, const LayoutErrors& errors, const std::string& indent,
              const DumpOptions& options) {
  const auto& blocks = cell.Blocks();
  for (std::size_t i = 0; i <= blocks.size(); ++i) {
    errors.Print(out, cell, i, indent);
    if (i == blocks.size()) break;
    const preview::TSectionBase& block = *blocks[i];
    out << indent << KindName(block.Kind()) << " y=" << block.Top() << " h=" << block.Height();
    if (const auto* table = dynamic_cast<const preview::ThtmlTable*>(&block)) {
      out << " w=" << table->OuterWidth() << "\n";
      DumpTable(out, *table, errors, indent + "  ", options);
      continue;
    }
    if (options.colors && block.Background()) out << " background " << preview::CssHex(*block.Background());
    out << "\n";
    if (const auto* section = dynamic_cast<const preview::TSection*>(&block))
      DumpSection(out, *section, indent + "  ", options);
  }
}

}  // namespace

int RunHtmlTokensCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc != 1) {
    err << "usage: qmtool htmltokens FILE\n";
    return 2;
  }
  std::string page;
  try {
    page = platform::ReadFileBytes(argv[0]);
  } catch (const platform::EFileError& e) {
    err << "qmtool htmltokens: " << e.what() << "\n";
    return 1;
  }
  preview::THtmlTokenizer t(page);
  t.Start();
  for (t.NextHtmlToken(); t.kind != preview::TokenKind::EndOfFile; t.NextHtmlToken()) {
    switch (t.kind) {
      case preview::TokenKind::StartTag:
      case preview::TokenKind::EndTag:
        out << TagLabel(t) << "\n";
        if (t.kind == preview::TokenKind::StartTag && preview::KeepsAttributes(t.tag))
          for (const preview::TAttribute& a : t.attributes.Items())
            out << "  " << preview::AttrName(a.kind) << " " << a.value << " " << Quote(a.text) << "\n";
        break;
      case preview::TokenKind::Text:
        out << "Text " << Quote(t.text) << "\n";
        break;
      case preview::TokenKind::OtherChar:
        out << "OtherChar " << Quote(t.text) << "\n";
        break;
      default:
        out << "UnknownTag " << Quote(t.text) << "\n";
    }
  }
  return 0;
}

int RunLayoutCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  int width = 600, fontSize = 12;
  DumpOptions options;
  std::string file;
  const bool read =
      ReadPageArguments(argc, argv, width, file, [&](const std::string& arg, const char* after, bool& next) {
        if (arg == "--font-size" && after && ParsePositive(after, fontSize)) return next = true;
        if (arg == "--colors") options.colors = true;
        return arg == "--test-font" || arg == "--colors";
      });
  if (!read) {
    err << "usage: qmtool layout [--width W] [--font-size N] [--test-font] [--colors] FILE\n";
    return 2;
  }
  platform::headless::PageFontEngine fonts;
  preview::PreviewSettings settings;
  settings.defFontSize = fontSize;
  settings.defBackground = platform::kColorWindow;
  preview::TSectionList document(fonts, settings);
  document.imageFolder = std::filesystem::path(file).parent_path().string();
  if (document.imageFolder.empty()) document.imageFolder = ".";
  document.styleWidth = width;
  platform::headless::MemoryFormControlHost controlHost;
  document.controlHost = &controlHost;
  preview::TNameList names;
  LayoutErrors errors;
  document.onLayoutError = [&errors](const preview::TCell& cell, std::size_t index, const std::string& message) {
    errors.entries.push_back({&cell, {index, message}});
  };
  preview::ParseResult parsed;
  try {
    const bool text = file.size() >= 4 && preview::SameText(std::string_view(file).substr(file.size() - 4), ".txt");
    parsed = text ? preview::ParseTextFile(file, document, names) : preview::ParseHtmlFile(file, document, names, {});
  } catch (const std::exception& e) {
    err << "qmtool layout: " << e.what() << "\n";
    return 1;
  }
  const int height = document.DoLayout(width);
  out << "title " << Quote(parsed.title) << "\n";
  out << "size " << document.Widest() << " " << height << "\n";
  DumpCell(out, document, errors, "", options);
  return 0;
}

int RunCssCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  int width = 600;
  std::string file;
  if (!ReadPageArguments(argc, argv, width, file, [](const std::string&, const char*, bool&) { return false; })) {
    err << "usage: qmtool css [--width W] FILE\n";
    return 2;
  }
  std::string page;
  try {
    page = platform::ReadFileBytes(file);
  } catch (const platform::EFileError& e) {
    err << "qmtool css: " << e.what() << "\n";
    return 1;
  }
  const preview::PreviewSettings settings;
  preview::StyleDefaults defaults;
  defaults.fontName = settings.defFontName;
  defaults.preFontName = settings.defPreFontName;
  defaults.color = settings.defFontColor;
  defaults.linkColor = settings.defHotSpotColor;
  std::string folder = std::filesystem::path(file).parent_path().string();
  if (folder.empty()) folder = ".";
  preview::PageStyles styles({page, {}, platform::DetectEncoding(page), folder, {}}, std::move(defaults));
  styles.Compute(width);
  const auto& elements = styles.Elements();
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const preview::PageElement& e = elements[i];
    std::string label = platform::AsciiUpper(e.name);
    if (const std::string_view id = e.Id(); !id.empty()) label += "#" + std::string(id);
    for (std::string_view c : e.Classes()) label += "." + std::string(c);
    const preview::ComputedStyle* parent = e.parent >= 0 ? &styles.StyleOf(e.parent) : nullptr;
    const std::string differences = styles.Engine().Differences(styles.StyleOf(static_cast<int>(i)), parent);
    out << label << ":" << (differences.empty() ? "" : " " + differences) << "\n";
  }
  return 0;
}

}  // namespace qmtool
