// Reading selectors and matching them. Matching goes from the rightmost compound leftwards and tries
// other ancestors or siblings when a later compound fails; a step budget keeps hostile selectors over
// deep pages from taking exponential time (past it the selector does not match).
#include "preview/CssSelector.h"

#include <algorithm>

#include "platform/TextBits.h"
#include "preview/CssValues.h"

namespace preview {
namespace {

constexpr std::size_t kMaxCompounds = 32;
constexpr int kMatchSteps = 10000;

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

class SelectorReader {
 public:
  explicit SelectorReader(std::string_view text) : s_(text) {}

  // False on anything not understood; neverMatches is set for a pseudo-element.
  bool Read(CssSelector& selector, bool& neverMatches) {
    SkipBlanks();
    for (;;) {
      CssCompound compound;
      if (!ReadCompound(compound, neverMatches, true)) return false;
      selector.compounds.push_back(std::move(compound));
      if (selector.compounds.size() > kMaxCompounds) return false;
      const bool blank = SkipBlanks();
      if (AtEnd()) return true;
      CssCombinator combinator = CssCombinator::Descendant;
      if (Peek() == '>' || Peek() == '+' || Peek() == '~') {
        combinator = Peek() == '>'   ? CssCombinator::Child
                     : Peek() == '+' ? CssCombinator::Adjacent
                                     : CssCombinator::Sibling;
        ++i_;
        SkipBlanks();
      } else if (!blank) {
        return false;
      }
      if (AtEnd()) return false;
      selector.combinators.push_back(combinator);
    }
  }

  bool AtEnd() const { return i_ >= s_.size(); }

 private:
  char Peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
  bool SkipBlanks() {
    const std::size_t from = i_;
    while (!AtEnd() && IsCssBlank(s_[i_])) ++i_;
    return i_ > from;
  }
  // An identifier with its escapes read as the characters they stand for.
  std::string ReadName() {
    std::string name;
    while (!AtEnd()) {
      if (s_[i_] == '\\' && i_ + 1 < s_.size()) {
        name += s_[i_ + 1];
        i_ += 2;
      } else if (IsNameChar(s_[i_])) {
        name += s_[i_++];
      } else {
        break;
      }
    }
    return name;
  }
  std::string ReadValue() {
    if (Peek() == '"' || Peek() == '\'') {
      const char quote = s_[i_++];
      std::string value;
      while (!AtEnd() && s_[i_] != quote) value += s_[i_++];
      if (AtEnd()) return value;
      ++i_;
      return value;
    }
    return ReadName();
  }

  bool ReadAttributeTest(CssCompound& compound) {
    ++i_;  // [
    SkipBlanks();
    CssAttributeTest test;
    test.name = platform::AsciiLower(ReadName());
    if (test.name.empty()) return false;
    SkipBlanks();
    if (Peek() != ']') {
      static constexpr std::pair<char, CssAttributeTest::Op> kOps[] = {{'~', CssAttributeTest::Op::Word},
                                                                       {'^', CssAttributeTest::Op::Prefix},
                                                                       {'$', CssAttributeTest::Op::Suffix},
                                                                       {'*', CssAttributeTest::Op::Contains}};
      test.op = CssAttributeTest::Op::Equals;
      if (Peek() != '=') {
        const auto op =
            std::find_if(std::begin(kOps), std::end(kOps), [&](const auto& k) { return k.first == Peek(); });
        if (op == std::end(kOps)) return false;
        test.op = op->second;
        ++i_;
      }
      if (Peek() != '=') return false;
      ++i_;
      SkipBlanks();
      test.value = ReadValue();
      SkipBlanks();
    }
    if (Peek() != ']') return false;
    ++i_;
    compound.attributes.push_back(std::move(test));
    return true;
  }

  bool ReadPseudo(CssCompound& compound, bool& neverMatches, bool allowNot) {
    ++i_;  // :
    const bool element = Peek() == ':';
    if (element) ++i_;
    const std::string name = platform::AsciiLower(ReadName());
    if (element || name == "before" || name == "after" || name == "first-line" || name == "first-letter") {
      if (name.empty()) return false;
      neverMatches = true;
      return true;
    }
    // The states a still page is never in: the selector is sound, it only matches nothing.
    if (name == "hover" || name == "active" || name == "focus" || name == "focus-within" || name == "focus-visible" ||
        name == "target") {
      neverMatches = true;
      return true;
    }
    if (name == "root") return compound.root = true;
    if (name == "first-child") return compound.firstChild = true;
    if (name == "last-child") return compound.lastChild = true;
    if (name == "link" || name == "visited") return compound.link = true;
    if (name == "not" && allowNot && Peek() == '(') {
      ++i_;
      SkipBlanks();
      CssCompound inner;
      bool innerNever = false;
      if (!ReadCompound(inner, innerNever, false) || innerNever) return false;
      SkipBlanks();
      if (Peek() != ')') return false;
      ++i_;
      compound.negations.push_back(std::move(inner));
      return true;
    }
    return false;
  }

  // A compound; inside :not() only one simple selector is allowed.
  bool ReadCompound(CssCompound& compound, bool& neverMatches, bool allowNot) {
    bool any = false;
    if (Peek() == '*') {
      ++i_;
      any = true;
    } else if (IsNameChar(Peek()) && !(Peek() >= '0' && Peek() <= '9')) {
      compound.tag = platform::AsciiLower(ReadName());
      any = true;
    }
    while (!AtEnd()) {
      if (!allowNot && any) break;
      const char c = Peek();
      if (c == '#' || c == '.') {
        ++i_;
        std::string name = ReadName();
        if (name.empty()) return false;
        if (c == '#') {
          if (!compound.id.empty() && compound.id != name) neverMatches = true;
          compound.id = std::move(name);
        } else {
          compound.classes.push_back(std::move(name));
        }
      } else if (c == '[') {
        if (!ReadAttributeTest(compound)) return false;
      } else if (c == ':') {
        if (!ReadPseudo(compound, neverMatches, allowNot)) return false;
      } else {
        break;
      }
      any = true;
    }
    return any;
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

std::uint32_t CompoundWeight(const CssCompound& c, std::uint32_t& ids, std::uint32_t& classes) {
  std::uint32_t types = c.tag.empty() ? 0 : 1;
  ids += c.id.empty() ? 0 : 1;
  classes += static_cast<std::uint32_t>(c.classes.size() + c.attributes.size()) + (c.firstChild ? 1 : 0) +
             (c.lastChild ? 1 : 0) + (c.link ? 1 : 0) + (c.root ? 1 : 0);
  for (const CssCompound& n : c.negations) types += CompoundWeight(n, ids, classes);
  return types;
}

bool Passes(const CssAttributeTest& test, std::string_view v) {
  const std::string_view w = test.value;
  switch (test.op) {
    case CssAttributeTest::Op::Exists:
      return true;
    case CssAttributeTest::Op::Equals:
      return v == w;
    case CssAttributeTest::Op::Word:
      return HasCssWord(v, w);
    case CssAttributeTest::Op::Prefix:
      return !w.empty() && v.substr(0, w.size()) == w;
    case CssAttributeTest::Op::Suffix:
      return !w.empty() && v.size() >= w.size() && v.substr(v.size() - w.size()) == w;
    case CssAttributeTest::Op::Contains:
      return !w.empty() && v.find(w) != std::string_view::npos;
  }
  return false;
}

struct Matcher {
  const CssSelector& selector;
  const std::vector<PageElement>& elements;
  int steps = kMatchSteps;

  bool From(std::size_t compound, int index) {
    if (--steps < 0 || !selector.compounds[compound].Matches(elements, index)) return false;
    if (compound == 0) return true;
    const PageElement& e = elements[index];
    switch (selector.combinators[compound - 1]) {
      case CssCombinator::Descendant:
        for (int p = e.parent; p >= 0 && steps >= 0; p = elements[p].parent)
          if (From(compound - 1, p)) return true;
        return false;
      case CssCombinator::Child:
        return e.parent >= 0 && From(compound - 1, e.parent);
      case CssCombinator::Adjacent:
        return e.previous >= 0 && From(compound - 1, e.previous);
      case CssCombinator::Sibling:
        for (int s = e.previous; s >= 0 && steps >= 0; s = elements[s].previous)
          if (From(compound - 1, s)) return true;
        return false;
    }
    return false;
  }
};

}  // namespace

bool CssCompound::Matches(const std::vector<PageElement>& elements, int index) const {
  const PageElement& e = elements[index];
  if (!tag.empty() && e.name != tag) return false;
  if (!id.empty() && e.Id() != id) return false;
  for (const std::string& c : classes)
    if (!e.HasClass(c)) return false;
  for (const CssAttributeTest& test : attributes) {
    const auto value = e.Attribute(test.name);
    if (!value || !Passes(test, *value)) return false;
  }
  if (root && e.parent >= 0) return false;
  if (firstChild && e.previous >= 0) return false;
  if (lastChild && !e.lastChild) return false;
  if (link && !(e.name == "a" && e.Attribute("href"))) return false;
  for (const CssCompound& n : negations)
    if (n.Matches(elements, index)) return false;
  return true;
}

bool CssSelector::Matches(const std::vector<PageElement>& elements, int index) const {
  if (compounds.empty()) return false;
  Matcher matcher{*this, elements};
  return matcher.From(compounds.size() - 1, index);
}

std::optional<CssSelector> ParseSelector(std::string_view text) {
  SelectorReader reader(text);
  CssSelector selector;
  bool neverMatches = false;
  if (!reader.Read(selector, neverMatches)) return std::nullopt;
  if (neverMatches) return CssSelector{};
  std::uint32_t ids = 0, classes = 0, types = 0;
  for (const CssCompound& c : selector.compounds) types += CompoundWeight(c, ids, classes);
  selector.specificity = std::min(ids, 255u) << 16 | std::min(classes, 255u) << 8 | std::min(types, 255u);
  return selector;
}

std::vector<CssSelector> ParseSelectorGroup(std::string_view text) {
  std::vector<CssSelector> group;
  std::size_t start = 0;
  int depth = 0;
  char quote = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ',';
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') quote = c;
    if (c == '(' || c == '[') ++depth;
    if ((c == ')' || c == ']') && depth > 0) --depth;
    if (c != ',' || (depth > 0 && i < text.size())) continue;
    auto selector = ParseSelector(text.substr(start, i - start));
    if (!selector) return {};
    if (!selector->compounds.empty()) group.push_back(std::move(*selector));
    start = i + 1;
  }
  if (quote) return {};
  return group;
}

}  // namespace preview
