// The line store: splitting, joining, saving, notifications and update nesting.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "editor/EditList.h"
#include "editor/GapVector.h"

using editor::TqeEditList;

namespace {

std::vector<std::string> Split(std::string_view text) {
  TqeEditList list;
  list.SetTextStr(text);
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.emplace_back(list.Get(i));
  return lines;
}

std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("quillmark-test-" + std::to_string(::getpid()) + "-" + name);
}

}  // namespace

TEST(EditListSplit, LineEndsAndZeroByte) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(Split("a\rb\nc"), (V{"a", "b", "c"}));
  EXPECT_EQ(Split("a\n\r\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(Split("a\r\rb"), (V{"a", "", "b"}));
  EXPECT_EQ(Split("\r\n"), (V{""}));
  EXPECT_EQ(Split(""), (V{}));
  EXPECT_EQ(Split(std::string("ab\0cd\r\nef", 9)), (V{"ab"}));
  EXPECT_EQ(Split("tab\there\x80\xff"), (V{"tab\there\x80\xff"}));
}

TEST(EditListSave, EveryLineEndsWithCrLf) {
  TqeEditList list;
  list.Add("a");
  list.Add("");
  EXPECT_EQ(list.Text(), "a\r\n\r\n");

  const auto file = TempFile("save.txt");
  list.SaveToFile(file);
  std::ifstream in(file, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(bytes, "a\r\n\r\n");

  TqeEditList reloaded;
  reloaded.LoadFromFile(file);
  EXPECT_EQ(reloaded.Text(), "a\r\n\r\n");
  std::filesystem::remove(file);
}

TEST(EditListSave, UnwritablePathRaisesCannotCreate) {
  TqeEditList list;
  list.Add("x");
  EXPECT_THROW(
      {
        try {
          list.SaveToFile("/nonexistent-folder/x.htm");
        } catch (const editor::EFileError& e) {
          EXPECT_STREQ(e.what(), "Cannot create file /nonexistent-folder/x.htm");
          throw;
        }
      },
      editor::EFileError);
}

TEST(EditListLoad, MissingFileClearsLoadingAndKeepsText) {
  TqeEditList list;
  list.Add("kept");
  bool loadingSeen = false;
  list.OnChanging = [&] { loadingSeen = list.Loading(); };
  EXPECT_THROW(list.LoadFromFile(TempFile("missing.htm")), editor::EFileError);
  EXPECT_FALSE(list.Loading());
  EXPECT_FALSE(loadingSeen);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Get(0), "kept");
}

TEST(EditListLoad, StreamLoadFiresLoadedInsideOneUpdate) {
  TqeEditList list;
  std::vector<std::string> events;
  list.OnChanging = [&] { events.push_back("changing"); };
  list.OnChanged = [&] { events.push_back("changed"); };
  list.OnLoaded = [&] { events.push_back(list.Loading() ? "loaded while loading" : "loaded"); };
  std::istringstream in("x\ny\n");
  list.LoadFromStream(in);
  EXPECT_EQ(events, (std::vector<std::string>{"changing", "loaded while loading", "changed"}));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_FALSE(list.Loading());
}

TEST(EditListEvents, EachOperationReportsItself) {
  TqeEditList list;
  std::vector<std::string> events;
  list.OnAdded = [&] { events.push_back("added"); };
  list.OnInserted = [&](int i) { events.push_back("inserted " + std::to_string(i)); };
  list.OnDeleted = [&](int i) { events.push_back("deleted " + std::to_string(i)); };
  list.OnPutted = [&](int i) { events.push_back("putted " + std::to_string(i)); };
  int changing = 0, changed = 0;
  list.OnChanging = [&] { ++changing; };
  list.OnChanged = [&] { ++changed; };

  list.Add("one");
  list.Insert(0, "zero");
  list.SetSlot(1, 7);
  list.Put(1, "uno");
  list.Delete(0);
  EXPECT_EQ(events, (std::vector<std::string>{"added", "inserted 0", "putted 1", "deleted 0"}));
  EXPECT_EQ(changing, 4);
  EXPECT_EQ(changed, 4);
  EXPECT_EQ(list.Slot(0), 7u) << "Put keeps the line's slot";
  EXPECT_EQ(list.Get(0), "uno");
}

TEST(EditListEvents, NestedUpdatesReportOnce) {
  TqeEditList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&] { ++changing; };
  list.OnChanged = [&] { ++changed; };
  list.BeginUpdate();
  list.Add("a");
  list.BeginUpdate();
  list.Add("b");
  list.EndUpdate();
  EXPECT_EQ(changed, 0);
  list.Put(0, "c");
  list.EndUpdate();
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
}

TEST(EditListEvents, ClearOutsideLoadLeavesOneEmptyLine) {
  TqeEditList list;
  list.SetTextStr("a\nb\nc");
  int added = 0;
  list.OnAdded = [&] { ++added; };
  list.Clear();
  EXPECT_EQ(added, 1);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Get(0), "");
}

TEST(EditListEvents, PutMayTakeItsOwnText) {
  TqeEditList list;
  list.SetTextStr("hello world\r\n");
  list.Put(0, list.Get(0).substr(6));
  EXPECT_EQ(list.Get(0), "world");
  list.Put(0, list.Get(0).substr(1, 3));
  EXPECT_EQ(list.Get(0), "orl");
}

TEST(EditListErrors, IndexOutsideRaisesListError) {
  TqeEditList list;
  list.Add("a");
  EXPECT_THROW(list.Get(1), editor::EListError);
  EXPECT_THROW(list.Delete(-1), editor::EListError);
  EXPECT_THROW(list.Insert(3, "x"), editor::EListError);
  try {
    list.Put(5, "x");
  } catch (const editor::EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
}

// The gap vector under random inserts and erases behaves as a plain vector.
TEST(GapVector, MatchesPlainVectorUnderRandomEdits) {
  editor::GapVector<int> gap;
  std::vector<int> plain;
  std::mt19937 random(42);
  for (int step = 0; step < 20000; ++step) {
    if (plain.empty() || random() % 3 != 0) {
      const size_t at = random() % (plain.size() + 1);
      gap.insert(at, step);
      plain.insert(plain.begin() + static_cast<long>(at), step);
    } else {
      const size_t at = random() % plain.size();
      gap.erase(at);
      plain.erase(plain.begin() + static_cast<long>(at));
    }
    if (step % 1000 == 0) {
      ASSERT_EQ(gap.size(), plain.size());
      for (size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(gap[i], plain[i]) << "at " << i << " step " << step;
    }
  }
}

TEST(EditListSplice, ReplacesPartOfALineInPlaceAndTellsWhereTheChangeStarts) {
  editor::TqeEditList lines;
  lines.SetTextStr("hello world\r\nnext\r\n");
  std::vector<int> putted;
  lines.OnPutted = [&](int index) { putted.push_back(index); };
  lines.Splice(0, 5, 6, ", there");
  EXPECT_EQ(lines.Get(0), "hello, there");
  EXPECT_EQ(lines.PutFrom(), 5);
  for (int i = 0; i < 200; ++i) lines.Splice(0, 1000, 0, "!");  // past the end: appended
  EXPECT_EQ(lines.Get(0).size(), 212u);
  EXPECT_EQ(lines.Get(0).substr(0, 13), "hello, there!");
  lines.Splice(0, -3, 5, "");
  EXPECT_EQ(lines.Get(0).substr(0, 8), ", there!") << "a negative start is the line's start";
  lines.Put(0, "again");
  EXPECT_EQ(lines.PutFrom(), 0);
  EXPECT_EQ(lines.Get(1), "next");
  EXPECT_EQ(putted.size(), 203u);
  EXPECT_THROW(lines.Splice(2, 0, 0, "x"), editor::EListError);
  lines.Add({});
  lines.Splice(2, 0, 0, {});  // an empty line holds no memory at all: nothing to move
  EXPECT_EQ(lines.Get(2), "");
}
