// CSS selectors: compound selectors joined by combinators, their specificity, and matching against the
// page's elements from the rightmost compound leftwards.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/PageTree.h"

namespace preview {

struct CssAttributeTest {
  enum class Op : std::uint8_t { Exists, Equals, Word, Prefix, Suffix, Contains } op = Op::Exists;
  std::string name;  // lower case
  std::string value;
};

struct CssCompound {
  std::string tag;  // lower case; empty for any element
  std::string id;
  std::vector<std::string> classes;
  std::vector<CssAttributeTest> attributes;
  bool firstChild = false;
  bool lastChild = false;
  bool link = false;  // :link and :visited: an A with an HREF
  bool root = false;
  std::vector<CssCompound> negations;  // :not(simple)
  bool Matches(const std::vector<PageElement>& elements, int index) const;
};

enum class CssCombinator : std::uint8_t { Descendant, Child, Adjacent, Sibling };

struct CssSelector {
  std::vector<CssCompound> compounds;      // leftmost first
  std::vector<CssCombinator> combinators;  // combinators[i] joins compounds[i] and compounds[i + 1]
  std::uint32_t specificity = 0;           // ids << 16 | classes << 8 | types
  bool Matches(const std::vector<PageElement>& elements, int index) const;
  const CssCompound& Rightmost() const { return compounds.back(); }
};

// One selector of a group; nothing when any part of it is not understood. A selector of a pseudo-element
// (::before and ::after draw nothing here) or of a state a still page is never in (:hover, :focus...)
// comes back with no compounds: it matches nothing.
std::optional<CssSelector> ParseSelector(std::string_view text);
// A comma-separated group; empty when any of its selectors fails, as a rule with one bad selector is dropped.
std::vector<CssSelector> ParseSelectorGroup(std::string_view text);

}  // namespace preview
