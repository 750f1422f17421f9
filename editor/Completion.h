// Completion of what is being typed in a page: element names after '<', the attributes of the element
// inside a tag, entity names after '&', CSS property names in declarations and their values after ':'.
// The names come from text tables users may extend, read once.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditTypes.h"

namespace editor {

class TqeCustomEdit;

// The tables, one file a kind in the data folder: "html-elements.txt" (a name a line),
// "html-attributes.txt" ("ELEMENT: NAME NAME ..."; "*" for the global ones), "html-entities.txt" (a name
// a line) and "css-properties.txt" ("PROPERTY: VALUE VALUE ..."; "*" for values every property takes).
// Blank lines and lines starting with '#' are skipped; a file that is missing leaves its kind empty.
struct CompletionTables {
  std::vector<std::string> elements;
  std::map<std::string, std::vector<std::string>> attributes;  // element in lower case, or "*"
  std::vector<std::string> entities;
  std::vector<std::string> properties;
  std::map<std::string, std::vector<std::string>> values;  // property in lower case, or "*"

  static CompletionTables Load(const std::filesystem::path& folder);
};

enum class CompletionKind { None, Element, Attribute, Entity, Property, Value };

// What the caret stands in: the kind, the name typed so far and where it starts, and the element or
// property it belongs to.
struct CompletionContext {
  CompletionKind kind = CompletionKind::None;
  TextPoint from;
  std::string prefix;
  std::string owner;
};

CompletionContext CompletionAt(TqeCustomEdit& editor);
// Whether typing `typed` (just done) opens the list by itself.
bool OpensCompletion(TqeCustomEdit& editor, char typed);
// The candidates in the list's order: those starting with the prefix, then those containing it, each in
// table order, ignoring case; without a prefix, all.
std::vector<std::string> Candidates(const CompletionTables& tables, const CompletionContext& context);
// Replaces the prefix with a candidate as one undo step: an attribute as name="" with the caret inside
// the quotes, an entity with its ';', a property with ": ".
void InsertCompletion(TqeCustomEdit& editor, const CompletionContext& context, std::string_view candidate);

}  // namespace editor
