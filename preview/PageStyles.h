// The styles of one page: its element tree and sheets, read in a pass of their own before the page is
// built, and the computed style of each element, found again by the offset of its start tag while the
// parser reads the page.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/HtmlTokenizer.h"
#include "preview/PreviewBlocks.h"
#include "preview/StyleEngine.h"

namespace preview {

// Reads a linked or imported sheet: its bytes, or nothing when it cannot be read.
using SheetReader = std::function<std::optional<std::string>(const std::string& path)>;

struct PageStyleSource {
  std::string_view page;
  TIncludeType include;
  platform::TextEncoding encoding = platform::TextEncoding::Cp1252;
  // Where links relative to the page are found; without it no sheet file is read.
  std::string folder;
  SheetReader readSheet;  // the file system when empty
};

class PageStyles {
 public:
  static constexpr int kMaxImportDepth = 16;
  static constexpr int kNotATag = -2;  // what InnermostAfter answers for an offset where no tag was read

  PageStyles(const PageStyleSource& source, StyleDefaults defaults);

  // Styles every element for layout width (the @media conditions depend on it).
  void Compute(int width);
  // Whether a relayout at width would style the page otherwise than now.
  bool RestyleNeededAt(int width) const { return !engine_.SameMediaAt(width_, width); }

  // The tree, until ReleaseTree.
  const std::vector<PageElement>& Elements() const { return elements_; }
  // What the page builder needs of each element, kept after the tree is released.
  struct Placed {
    std::int32_t parent = -1;
    std::uint32_t style = 0;
    std::uint32_t closeOffset = UINT32_MAX;  // as PageElement's
    std::uint16_t name = 0;                  // index into Names()
    bool closedByOwnEnd = false;
    bool rendererTag = false;
    bool floats = false;  // a block CSS floats, which the builder makes a floating one-cell table
  };
  const Placed& PlaceOf(int element) const { return places_[static_cast<std::size_t>(element)]; }
  std::string_view NameOf(int element) const { return names_[PlaceOf(element).name]; }
  int ElementCount() const { return static_cast<int>(places_.size()); }
  const ComputedStyle& StyleOf(int element) const { return engine_.Style(PlaceOf(element).style); }
  const StyleEngine& Engine() const { return engine_; }
  // The element whose start tag is at offset, and the innermost element open after the tag there
  // (-1 for none, kNotATag when no tag stands there); offsets are asked in increasing order as a rule, so
  // the lookup keeps its place.
  int ElementStartedAt(std::size_t offset) const;
  int InnermostAfter(std::size_t offset) const;
  // The colour blocks inside element are drawn on: the nearest authored background of a block around
  // the text, the page's own excepted.
  std::optional<platform::Color> BlockBackground(int element) const;
  // The colour behind an inline element's text (a MARK's yellow, a SPAN's background), or nothing.
  std::optional<platform::Color> InlineBackground(int element) const;
  // The horizontal box the blocks inside element are laid out in, and the box their background (that
  // of BlockBackground) is drawn in.
  TSectionBase::Box BoxOf(int element) const { return BoxIn(boxes_, element); }
  TSectionBase::Box BackgroundBoxOf(int element) const { return BoxIn(backBoxes_, element); }
  // The sheet files read, for watching them.
  const std::vector<std::string>& SheetFiles() const { return sheetFiles_; }
  // Frees the tree (names, attributes) once the styles are computed; the places stay for the page build.
  void ReleaseTree();
  // Frees the places and tags once the page is built; the sheets stay, for RestyleNeededAt.
  void ReleasePlaces();

 private:
  struct TagAt {
    std::uint32_t offset;
    std::int32_t started;    // the element the tag starts, or -1
    std::int32_t innermost;  // the innermost open element after it
  };
  const TagAt* Find(std::size_t offset) const;
  // Each under media, all of which must hold.
  void ReadSheetFile(const std::string& path, std::vector<MediaList> media, int depth);
  void AddSheetText(std::string_view text, const std::string& folder, std::vector<MediaList> media, int depth);

  StyleEngine engine_;
  SheetReader readSheet_;
  std::vector<PageElement> elements_;
  PageAttributes attributes_;
  std::vector<TagAt> tags_;
  std::vector<Placed> places_;
  std::vector<std::string> names_;
  std::vector<std::uint32_t> blockBackground_;  // colour + 1, 0 for none
  std::vector<std::uint32_t> inlineBackground_;
  std::vector<TSectionBase::Box> boxes_;
  std::vector<TSectionBase::Box> backBoxes_;
  static TSectionBase::Box BoxIn(const std::vector<TSectionBase::Box>& boxes, int element) {
    return element >= 0 && static_cast<std::size_t>(element) < boxes.size() ? boxes[static_cast<std::size_t>(element)]
                                                                            : TSectionBase::Box{};
  }
  std::vector<std::string> sheetFiles_;
  mutable std::size_t cursor_ = 0;
  int width_ = -1;
};

// With a SCRIPT or TEXTAREA start tag current, reads its body as the page builder does (up to and past
// its end tag), so that both readings of a page meet the same tags.
void SkipRawBody(THtmlTokenizer& tokenizer);

}  // namespace preview
