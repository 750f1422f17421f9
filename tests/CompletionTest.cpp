// The completion tables as users extend them, and the shipped ones the window and qmtool read.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "app/DataFolder.h"
#include "editor/Completion.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(CompletionTables, ReadLinesOfNamesAndKeyedListsWhateverTheirLineEndsAndSkipComments) {
  const fs::path folder = fs::path(testing::TempDir()) / "completion-tables";
  fs::remove_all(folder);
  testfiles::Write(folder / "html-elements.txt", "# elements\r\nb\r\n\r\n  i  \r\nmy-widget\n");
  testfiles::Write(folder / "html-attributes.txt", "*: id class\r\nA: href\r\na: target\r\nbroken line\r\n");
  testfiles::Write(folder / "css-properties.txt", "*: inherit\r\nColor: red blue\r\nwidth:\r\n");
  const auto tables = editor::CompletionTables::Load(folder);
  EXPECT_EQ(tables.elements, (Names{"b", "i", "my-widget"}));
  // Keys ignore case; a second line for a key adds to it; a line without a colon is a key with no names.
  EXPECT_EQ(tables.attributes.at("a"), (Names{"href", "target"}));
  EXPECT_EQ(tables.attributes.at("*"), (Names{"id", "class"}));
  EXPECT_EQ(tables.properties, (Names{"color", "width"}));
  EXPECT_TRUE(tables.entities.empty()) << "a missing file leaves its kind empty";

  // Prefix matches first, then those containing it, ignoring case; the element's own before the global.
  editor::CompletionContext context{editor::CompletionKind::Attribute, {}, "A", "a"};
  EXPECT_EQ(editor::Candidates(tables, context), (Names{"target", "class"}));
  context.prefix.clear();
  EXPECT_EQ(editor::Candidates(tables, context), (Names{"href", "target", "id", "class"}));
  fs::remove_all(folder);
}

TEST(CompletionTables, TheShippedTablesHoldEachKind) {
  const auto tables = editor::CompletionTables::Load(app::FindShippedData(fs::current_path()));
  for (const char* name : {"table", "section", "video", "font"})
    EXPECT_NE(std::find(tables.elements.begin(), tables.elements.end(), name), tables.elements.end()) << name;
  EXPECT_FALSE(tables.attributes.at("img").empty());
  EXPECT_NE(std::find(tables.entities.begin(), tables.entities.end(), "nbsp"), tables.entities.end());
  EXPECT_FALSE(tables.values.at("display").empty());
}

}  // namespace
