// The page's elements as CSS sees them: names, ids, classes and attributes, and where each stands among
// its parent's children. The preview's own parser reads the page in one forgiving pass; this tree is built
// beside it with the implied ends of HTML (a P ends at the next block, an LI at the next item, a cell at
// the next cell), so that selectors see the structure a browser would.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace preview {

// The attributes of every element, one after another in one string: pages hold millions of them.
class PageAttributes {
 public:
  // Appends one; answers nothing, the element keeps the range.
  void Add(std::string_view lowerName, std::string_view value);
  std::size_t Size() const { return bytes_.size(); }
  // The value of the first attribute named lowerName within [begin, end).
  std::optional<std::string_view> Find(std::uint32_t begin, std::uint32_t end, std::string_view lowerName) const;
  std::string_view Bytes(std::uint32_t begin, std::uint32_t end) const {
    return std::string_view(bytes_).substr(begin, end - begin);
  }

 private:
  std::string bytes_;  // per attribute: name length, name, value length, value (lengths as 4 bytes)
};

struct PageElement {
  std::string name;  // lower case; "h1" .. "h6" for headings
  const PageAttributes* attributes = nullptr;
  std::uint32_t attributesBegin = 0;
  std::uint32_t attributesEnd = 0;
  int parent = -1;
  int previous = -1;  // the previous element among the parent's children
  bool lastChild = true;
  bool rendererTag = false;  // a tag the page builder acts on itself
  // Where the element ends: the offset of the tag that closes it, and whether that is its own end tag.
  std::size_t closeOffset = SIZE_MAX;
  bool closedByOwnEnd = false;

  std::optional<std::string_view> Attribute(std::string_view lowerName) const {
    return attributes ? attributes->Find(attributesBegin, attributesEnd, lowerName) : std::nullopt;
  }
  std::string_view Id() const { return Attribute("id").value_or(std::string_view()); }
  // The words of the CLASS attribute; classes match with their case.
  std::vector<std::string_view> Classes() const;
  bool HasClass(std::string_view name) const;
  // Calls each(class) for every class, until it answers true.
  template <typename Each>
  void ForEachClass(Each each) const {
    const auto list = Attribute("class");
    if (!list) return;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t i = 0;
    while (i < list->size()) {
      while (i < list->size() && blank((*list)[i])) ++i;
      std::size_t end = i;
      while (end < list->size() && !blank((*list)[end])) ++end;
      if (end > i && each(list->substr(i, end - i))) return;
      i = end;
    }
  }
};

class PageTreeBuilder {
 public:
  static constexpr int kMaxDepth = 256;

  PageTreeBuilder(std::vector<PageElement>& elements, PageAttributes& attributes)
      : elements_(elements), attributes_(attributes) {}
  // A start tag at offset; attributes have lower-case names. Returns the new element's index.
  int Start(std::string name, const std::vector<std::pair<std::string, std::string>>& attributes, std::size_t offset);
  // An end tag at offset: closes the innermost open element of that name and those inside it.
  void End(std::string_view name, std::size_t offset);
  // Text that shows: opens the implied BODY when the page has none yet.
  void Text(std::size_t offset);
  void Finish();
  // The innermost open element now (-1 before the first).
  int Innermost() const { return open_.empty() ? -1 : open_.back(); }

 private:
  int Push(std::string name, const std::vector<std::pair<std::string, std::string>>& attributes, bool open);
  void CloseTo(std::size_t depth, std::size_t offset, bool own);
  // The depth of the innermost open element named name above the nearest of the boundaries, or -1.
  int FindOpen(std::string_view name, std::initializer_list<std::string_view> boundaries) const;
  void EnsureRoot();
  void EnsureBody(std::size_t offset);

  std::vector<PageElement>& elements_;
  PageAttributes& attributes_;
  std::vector<int> open_;
  std::vector<int> lastChildOf_;  // per open depth: the last child element so far
  int root_ = -1;
  bool bodySeen_ = false;
};

}  // namespace preview
