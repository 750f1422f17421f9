// Building the element tree with the implied ends of HTML, the way browsers close elements a page leaves
// open: enough of the rules for selectors to see the page's structure, not the whole tree-building
// algorithm.
#include "preview/PageTree.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace preview {
namespace {

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsVoid(std::string_view name) {
  return OneOf(name, {"area",  "base",   "basefont", "bgsound", "br",    "col",    "embed", "frame", "hr",    "img",
                      "input", "keygen", "link",     "meta",    "param", "source", "track", "wbr",   "style", "wrap"});
}

// Elements that belong in the head; anything else opens the body.
bool IsHeadContent(std::string_view name) {
  return OneOf(name, {"head", "title", "meta", "link", "style", "script", "base", "basefont", "bgsound", "noscript",
                      "template"});
}

bool ClosesParagraph(std::string_view name) {
  return OneOf(name,
               {"address", "article", "aside",    "blockquote", "center", "details", "dialog", "dir",  "div",  "dl",
                "dd",      "dt",      "fieldset", "figcaption", "figure", "footer",  "form",   "h1",   "h2",   "h3",
                "h4",      "h5",      "h6",       "header",     "hgroup", "hr",      "li",     "main", "menu", "nav",
                "ol",      "p",       "pre",      "section",    "table",  "ul",      "summary"});
}

bool IsTablePart(std::string_view name) {
  return OneOf(name, {"table", "caption", "thead", "tbody", "tfoot", "tr", "td", "th", "colgroup"});
}

}  // namespace

void PageAttributes::Add(std::string_view lowerName, std::string_view value) {
  for (std::string_view part : {lowerName, value}) {
    const auto size = static_cast<std::uint32_t>(part.size());
    bytes_.append(reinterpret_cast<const char*>(&size), sizeof size);
    bytes_.append(part);
  }
}

std::optional<std::string_view> PageAttributes::Find(std::uint32_t begin, std::uint32_t end,
                                                     std::string_view lowerName) const {
  const std::string_view all = bytes_;
  const auto read = [&](std::uint32_t& at) {
    std::uint32_t size = 0;
    std::memcpy(&size, all.data() + at, sizeof size);
    const std::string_view part = all.substr(at + sizeof size, size);
    at += static_cast<std::uint32_t>(sizeof size) + size;
    return part;
  };
  for (std::uint32_t at = begin; at < end;) {
    const std::string_view name = read(at);
    const std::string_view value = read(at);
    if (name == lowerName) return value;
  }
  return std::nullopt;
}

std::vector<std::string_view> PageElement::Classes() const {
  std::vector<std::string_view> classes;
  ForEachClass([&](std::string_view c) {
    classes.push_back(c);
    return false;
  });
  return classes;
}

bool PageElement::HasClass(std::string_view name) const {
  bool found = false;
  ForEachClass([&](std::string_view c) { return found = c == name; });
  return found;
}

int PageTreeBuilder::Push(std::string name, const std::vector<std::pair<std::string, std::string>>& attributes,
                          bool open) {
  const int index = static_cast<int>(elements_.size());
  PageElement element;
  element.name = std::move(name);
  element.attributes = &attributes_;
  element.attributesBegin = static_cast<std::uint32_t>(attributes_.Size());
  for (const auto& [key, value] : attributes) attributes_.Add(key, value);
  element.attributesEnd = static_cast<std::uint32_t>(attributes_.Size());
  element.parent = Innermost();
  int& last = lastChildOf_[open_.size()];
  element.previous = last;
  if (last >= 0) elements_[static_cast<std::size_t>(last)].lastChild = false;
  last = index;
  elements_.push_back(std::move(element));
  if (open && open_.size() < kMaxDepth) {
    open_.push_back(index);
    lastChildOf_.push_back(-1);
  }
  return index;
}

void PageTreeBuilder::CloseTo(std::size_t depth, std::size_t offset, bool own) {
  while (open_.size() > depth) {
    PageElement& element = elements_[open_.back()];
    element.closeOffset = offset;
    element.closedByOwnEnd = own && open_.size() == depth + 1;
    open_.pop_back();
  }
  lastChildOf_.resize(open_.size() + 1);
}

int PageTreeBuilder::FindOpen(std::string_view name, std::initializer_list<std::string_view> boundaries) const {
  for (std::size_t d = open_.size(); d-- > 0;) {
    const std::string& open = elements_[open_[d]].name;
    if (open == name) return static_cast<int>(d);
    if (OneOf(open, boundaries)) return -1;
  }
  return -1;
}

void PageTreeBuilder::EnsureRoot() {
  if (lastChildOf_.empty()) lastChildOf_.push_back(-1);
  if (root_ < 0) root_ = Push("html", {}, true);
}

void PageTreeBuilder::EnsureBody(std::size_t offset) {
  EnsureRoot();
  if (bodySeen_) return;
  if (const int head = FindOpen("head", {}); head >= 0) CloseTo(head, offset, false);
  bodySeen_ = true;
  Push("body", {}, true);
}

int PageTreeBuilder::Start(std::string name, const std::vector<std::pair<std::string, std::string>>& attributes,
                           std::size_t offset) {
  if (lastChildOf_.empty()) lastChildOf_.push_back(-1);
  if (name == "html") {
    if (root_ < 0) root_ = Push(std::move(name), attributes, true);
    return root_;
  }
  EnsureRoot();
  if (name == "body") {
    if (bodySeen_) return -1;
    if (const int head = FindOpen("head", {}); head >= 0) CloseTo(head, offset, false);
    bodySeen_ = true;
    return Push(std::move(name), attributes, true);
  }
  if (!IsHeadContent(name) || (name == "head" && bodySeen_)) EnsureBody(offset);
  const auto closeOpen = [&](std::string_view open, std::initializer_list<std::string_view> boundaries) {
    if (const int d = FindOpen(open, boundaries); d >= 0) CloseTo(d, offset, false);
  };
  if (ClosesParagraph(name)) closeOpen("p", {"td", "th", "table", "button", "caption"});
  if (name == "li") closeOpen("li", {"ul", "ol", "menu", "dir", "td", "th", "table"});
  if (name == "dt" || name == "dd") {
    closeOpen("dt", {"dl", "td", "th", "table"});
    closeOpen("dd", {"dl", "td", "th", "table"});
  }
  if (name == "td" || name == "th" || name == "tr" || name == "thead" || name == "tbody" || name == "tfoot") {
    closeOpen("td", {"tr", "table"});
    closeOpen("th", {"tr", "table"});
  }
  if (name == "tr" || name == "thead" || name == "tbody" || name == "tfoot") closeOpen("tr", {"table"});
  if (name == "thead" || name == "tbody" || name == "tfoot")
    for (std::string_view group : {"thead", "tbody", "tfoot"}) closeOpen(group, {"table"});
  if (name == "option") closeOpen("option", {"select"});
  if (name == "a") closeOpen("a", {"td", "th", "table"});
  const bool open = !IsVoid(name);
  return Push(std::move(name), attributes, open);
}

void PageTreeBuilder::End(std::string_view name, std::size_t offset) {
  if (name == "html" || name == "body" || open_.empty()) return;
  // An end tag does not reach out of a table cell, except one that ends a part of the table.
  const int d = IsTablePart(name) ? FindOpen(name, {"table"}) : FindOpen(name, {"td", "th", "caption", "table"});
  if (d >= 0) CloseTo(d, offset, true);
}

void PageTreeBuilder::Text(std::size_t offset) {
  // A title's text, or a script's, stays in the head.
  if (const int open = Innermost(); open >= 0 && IsHeadContent(elements_[static_cast<std::size_t>(open)].name) &&
                                    elements_[static_cast<std::size_t>(open)].name != "head")
    return;
  EnsureBody(offset);
}

void PageTreeBuilder::Finish() { CloseTo(0, SIZE_MAX, false); }

}  // namespace preview
