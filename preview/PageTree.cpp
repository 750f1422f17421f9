// Building the element tree with the implied ends of HTML, the way browsers close elements a page leaves
// open: enough of the rules for selectors to see the page's structure, not the whole tree-building
// algorithm.
#include "preview/PageTree.h"

#include <algorithm>
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

const std::string* PageElement::Attribute(std::string_view lowerName) const {
  for (const auto& [name, value] : attributes)
    if (name == lowerName) return &value;
  return nullptr;
}

int PageTreeBuilder::Push(std::string name, std::vector<std::pair<std::string, std::string>> attributes, bool implied,
                          bool open) {
  const int index = static_cast<int>(elements_.size());
  PageElement element;
  element.name = std::move(name);
  element.implied = implied;
  for (auto& [key, value] : attributes) {
    if (key == "id" && element.id.empty()) element.id = value;
    if (key == "class" && element.classes.empty()) {
      std::size_t i = 0;
      while (i < value.size()) {
        while (i < value.size() && (value[i] == ' ' || value[i] == '\t' || value[i] == '\r')) ++i;
        std::size_t end = i;
        while (end < value.size() && value[end] != ' ' && value[end] != '\t' && value[end] != '\r') ++end;
        if (end > i) element.classes.push_back(value.substr(i, end - i));
        i = end;
      }
    }
  }
  element.attributes = std::move(attributes);
  element.parent = Innermost();
  int& last = lastChildOf_[open_.size()];
  element.previous = last;
  if (last >= 0) elements_[last].lastChild = false;
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
  if (root_ < 0) root_ = Push("html", {}, true, true);
}

void PageTreeBuilder::EnsureBody(std::size_t offset) {
  EnsureRoot();
  if (bodySeen_) return;
  if (const int head = FindOpen("head", {}); head >= 0) CloseTo(head, offset, false);
  bodySeen_ = true;
  Push("body", {}, true, true);
}

int PageTreeBuilder::Start(std::string name, std::vector<std::pair<std::string, std::string>> attributes,
                           std::size_t offset) {
  if (lastChildOf_.empty()) lastChildOf_.push_back(-1);
  if (name == "html") {
    if (root_ < 0) root_ = Push(std::move(name), std::move(attributes), false, true);
    return root_;
  }
  EnsureRoot();
  if (name == "body") {
    if (bodySeen_) return -1;
    if (const int head = FindOpen("head", {}); head >= 0) CloseTo(head, offset, false);
    bodySeen_ = true;
    return Push(std::move(name), std::move(attributes), false, true);
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
  return Push(std::move(name), std::move(attributes), false, open);
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
