// libFuzzer entry point: the preview over arbitrary pages, tables, images, maps, forms and style sheets included. The
// first byte picks the layout width, the second the default font size; the rest is the page, which also comes back once
// through an include directive, and as the style sheet every link and @import of the page reads, and as a sheet of its
// own over the page's elements. Checks that the tokenizer always moves on, that every section's lines cover its text in
// order, that positions number the text in order, that hit tests, finding, copying and drawing stay inside the
// document, and that every element gets a style.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryFormControls.h"
#include "preview/PageStyles.h"
#include "preview/PreviewParser.h"
#include "preview/Section.h"
#include "testsupport/RecordingCanvas.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckTokens(std::string_view page) {
  preview::THtmlTokenizer t(page);
  t.Start();
  std::size_t tokens = 0;
  for (t.NextHtmlToken(); t.kind != preview::TokenKind::EndOfFile; t.NextHtmlToken()) {
    Check(++tokens <= page.size());
    Check(t.text.size() <= 150 || t.kind != preview::TokenKind::Text);
  }
}

// Sections number their text from where the block before them ended (a table's cells between them count
// their own text).
void CheckSection(const preview::TSection& section, int& position) {
  Check(section.StartPosition() >= position);
  position = section.StartPosition();
  int expected = 0;
  for (const preview::LineRec& line : section.Lines()) {
    Check(line.start == expected && line.count >= 0 && line.Height() >= 0);
    expected += line.count;
  }
  Check(section.Lines().empty() || expected == static_cast<int>(section.Text().size()));
  position += static_cast<int>(section.Text().size());
}

// The page's bytes as sheets: linked and imported from the page itself, and read as one sheet on their own.
void CheckStyles(std::string_view page, int width) {
  preview::PageStyleSource source{page, {}, platform::TextEncoding::Cp1252, "/fuzz", {}};
  source.readSheet = [page](const std::string&) { return std::optional<std::string>(page); };
  preview::PageStyles styles(source, preview::StyleDefaults{});
  styles.Compute(width);
  preview::StyleEngine engine{preview::StyleDefaults{}};
  engine.AddAuthorSheet(preview::ParseStyleSheet(page));
  const std::vector<std::uint32_t> computed = engine.Compute(styles.Elements(), width);
  Check(computed.size() == styles.Elements().size());
  for (std::size_t i = 0; i < computed.size(); ++i) {
    Check(computed[i] < engine.StyleCount());
    const int parent = styles.Elements()[i].parent;
    Check(parent < static_cast<int>(i));
    engine.Differences(engine.Style(computed[i]), parent >= 0 ? &engine.Style(computed[parent]) : nullptr);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int width = 1 + data[0] * 4;
  const std::string_view page(reinterpret_cast<const char*>(data + 2), size - 2);
  CheckTokens(page);
  CheckStyles(page, width);

  platform::headless::PageFontEngine fonts;
  preview::PreviewSettings settings;
  settings.defFontSize = data[1] % 40;
  preview::TSectionList document(fonts, settings);
  platform::headless::MemoryFormControlHost controls;
  document.controlHost = &controls;
  document.onFormSubmit = [](const std::string&, const std::string&, const std::string&, const std::string&,
                             const std::vector<std::string>&) {};
  document.onScript = [](const std::string&, const std::string& script) { Check(script.size() <= 1 << 20); };
  preview::TNameList names;
  preview::ParseCallbacks callbacks;
  bool included = false;
  callbacks.include = [&](const std::string&, const std::vector<std::string>&, std::string& buffer) {
    if (!included) buffer.assign(page.substr(0, 256));
    included = true;
  };
  preview::ParseHtmlBuffer(page, document, names, callbacks);
  const int height = document.DoLayout(width);
  Check(height >= 0);

  int position = 0;
  for (const auto& block : document.Blocks()) {
    Check(block->Height() >= 0 && block->DrawHeight() >= block->Height());
    if (const auto* section = dynamic_cast<const preview::TSection*>(block.get())) CheckSection(*section, position);
  }
  Check(document.CharCount() >= position);
  position = document.CharCount();

  for (int y = 0; y < height; y += 7) {
    const int at = document.CursorAt(width / 2, y);
    Check(at >= -1 && at <= position);
    document.UrlAt(width / 3, y);
  }
  if (page.size() > 4) Check(document.FindText(0, page.substr(0, 3), false) < position);
  document.SetSelection(position / 3, position);
  document.SelectedText();
  platform::fakes::RecordingCanvas canvas;
  document.Paint(canvas, {0, 0, width, height}, {0, 0}, {0, 0, width, height});
  // Every control answers a click and Enter as a person's would.
  for (platform::headless::MemoryFormControl* control : controls.made) {
    if (control->onClick) control->onClick();
    if (control->onEnter) control->onEnter();
  }
  document.TickAnimations(1000);
  return 0;
}
