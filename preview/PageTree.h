// The page's elements as CSS sees them: names, ids, classes and attributes, and where each stands among
// its parent's children. The preview's own parser reads the page in one forgiving pass; this tree is built
// beside it with the implied ends of HTML (a P ends at the next block, an LI at the next item, a cell at
// the next cell), so that selectors see the structure a browser would.
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace preview {

struct PageElement {
  std::string name;  // lower case; "h1" .. "h6" for headings
  std::string id;
  std::vector<std::string> classes;
  std::vector<std::pair<std::string, std::string>> attributes;  // lower-case name, value as written
  int parent = -1;
  int previous = -1;  // the previous element among the parent's children
  bool lastChild = true;
  bool implied = false;      // an HTML or BODY the page leaves out
  bool rendererTag = false;  // a tag the page builder acts on itself
  // Where the element ends: the offset of the tag that closes it, and whether that is its own end tag.
  std::size_t closeOffset = SIZE_MAX;
  bool closedByOwnEnd = false;

  const std::string* Attribute(std::string_view lowerName) const;
};

class PageTreeBuilder {
 public:
  static constexpr int kMaxDepth = 256;

  explicit PageTreeBuilder(std::vector<PageElement>& elements) : elements_(elements) {}
  // A start tag at offset; attributes have lower-case names. Returns the new element's index.
  int Start(std::string name, std::vector<std::pair<std::string, std::string>> attributes, std::size_t offset);
  // An end tag at offset: closes the innermost open element of that name and those inside it.
  void End(std::string_view name, std::size_t offset);
  // Text that shows: opens the implied BODY when the page has none yet.
  void Text(std::size_t offset);
  void Finish();
  // The innermost open element now (-1 before the first).
  int Innermost() const { return open_.empty() ? -1 : open_.back(); }

 private:
  int Push(std::string name, std::vector<std::pair<std::string, std::string>> attributes, bool implied, bool open);
  void CloseTo(std::size_t depth, std::size_t offset, bool own);
  // The depth of the innermost open element named name above the nearest of the boundaries, or -1.
  int FindOpen(std::string_view name, std::initializer_list<std::string_view> boundaries) const;
  void EnsureRoot();
  void EnsureBody(std::size_t offset);

  std::vector<PageElement>& elements_;
  std::vector<int> open_;
  std::vector<int> lastChildOf_;  // per open depth: the last child element so far
  int root_ = -1;
  bool bodySeen_ = false;
};

}  // namespace preview
