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

void DumpSection(std::ostream& out, const preview::TSection& section, const std::string& indent) {
  if (const std::string marker = section.MarkerText(); !marker.empty())
    out << indent << "marker " << Quote(marker) << "\n";
  for (const preview::LineRec& line : section.Lines())
    out << indent << "line x=" << line.x << " y=" << line.y << " h=" << line.Height() << " "
        << Quote(std::string_view(section.Text()).substr(line.start, line.count)) << "\n";
  for (const preview::TFontObj& run : section.Fonts())
    out << indent << "font " << run.pos << " " << run.font.size << " " << StyleWords(run) << "\n";
  static constexpr const char* kAlignNames[] = {"top", "middle", "bottom", "left", "right"};
  for (const auto& image : section.Images())
    out << indent << "image " << image->src << " w=" << image->boxWidth << " h=" << image->boxHeight << " "
        << kAlignNames[static_cast<int>(image->align)] << "\n";
  for (const preview::TFormControlObj* control : section.Controls())
    out << indent << "control " << control->KindName() << " w=" << control->width << " h=" << control->height << "\n";
}

void DumpCell(std::ostream& out, const preview::TCell& cell, const LayoutErrors& errors, const std::string& indent);

void DumpTable(std::ostream& out, const preview::ThtmlTable& table, const LayoutErrors& errors,
               const std::string& indent) {
  if (const preview::TCellObj* caption = table.Caption()) {
    out << indent << "caption\n";
    DumpCell(out, caption->cell, errors, indent + "  ");
  }
  const auto& rows = table.Rows();
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].cells.size(); ++c) {
      const preview::TCellObj& cell = *rows[r].cells[c];
      if (cell.IsPlaceholder()) continue;
      const platform::Point origin = table.ContentOrigin(r, c);
      out << indent << "cell " << r + 1 << " " << c + 1 << " x=" << origin.x << " y=" << origin.y << " w=" << cell.wd
          << " h=" << cell.ht << "\n";
      DumpCell(out, cell.cell, errors, indent + "  ");
    }
}

void DumpCell(std::ostream& out, const preview::TCell& cell, const LayoutErrors& errors, const std::string& indent) {
  const auto& blocks = cell.Blocks();
  for (std::size_t i = 0; i <= blocks.size(); ++i) {
    errors.Print(out, cell, i, indent);
    if (i == blocks.size()) break;
    const preview::TSectionBase& block = *blocks[i];
    out << indent << KindName(block.Kind()) << " y=" << block.Top() << " h=" << block.Height();
    if (const auto* table = dynamic_cast<const preview::ThtmlTable*>(&block)) {
      out << " w=" << table->OuterWidth() << "\n";
      DumpTable(out, *table, errors, indent + "  ");
      continue;
    }
    out << "\n";
    if (const auto* section = dynamic_cast<const preview::TSection*>(&block)) DumpSection(out, *section, indent + "  ");
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
  std::string file;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--width" && i + 1 < argc && ParsePositive(argv[i + 1], width)) {
      ++i;
    } else if (arg == "--font-size" && i + 1 < argc && ParsePositive(argv[i + 1], fontSize)) {
      ++i;
    } else if (arg == "--test-font") {
      continue;
    } else if (file.empty() && arg.rfind("--", 0) != 0) {
      file = arg;
    } else {
      file.clear();
      break;
    }
  }
  if (file.empty()) {
    err << "usage: qmtool layout [--width W] [--font-size N] [--test-font] FILE\n";
    return 2;
  }
  platform::headless::PageFontEngine fonts;
  preview::PreviewSettings settings;
  settings.defFontSize = fontSize;
  settings.defBackground = platform::kColorWindow;
  preview::TSectionList document(fonts, settings);
  document.imageFolder = std::filesystem::path(file).parent_path().string();
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
  DumpCell(out, document, errors, "");
  return 0;
}

}  // namespace qmtool
