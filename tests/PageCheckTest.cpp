// The page check: server blocks blanked in place, links that lead nowhere, libtidy's columns read back
// as bytes, Tidy Up Page, and the panel's logic on a worker with results dropped for a changed text.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "TestFiles.h"
#include "app/PageCheck.h"
#include "app/PageChecker.h"
#include "editor/Document.h"
#include "platform/BackgroundJob.h"
#include "platform/headless/PollEventLoop.h"

namespace app {
void PrintTo(const PageProblem& problem, std::ostream* out) {
  *out << problem.line << ':' << problem.column << ' ' << SeverityName(problem.severity) << ' ' << problem.message;
}
}  // namespace app

namespace {

namespace fs = std::filesystem;
using app::PageProblem;
using app::ProblemSeverity;
constexpr auto kUtf8 = platform::TextEncoding::Utf8;

TEST(PageCheck, ServerBlocksBecomeBlanksOfTheirLengthWithTheirLineEndsKept) {
  EXPECT_EQ(app::BlankServerBlocks("a<%= x %>b<?php\r\n echo 1; ?>c<?= $y ?>d"),
            "a        b     \r\n           c         d");
  EXPECT_EQ(app::BlankServerBlocks("<?xml version=\"1.0\"?><p><? echo ?>"), "<?xml version=\"1.0\"?><p>          ")
      << "an XML declaration is no server block";
  EXPECT_EQ(app::BlankServerBlocks("<p><% open\nto the end"), "<p>       \n          ");
  EXPECT_EQ(app::BlankServerBlocks("<p>1 < 2</p>"), "<p>1 < 2</p>");
}

TEST(PageCheck, LinksToMissingFilesAndAnchorsAreReportedInOrderWithTidysMessages) {
  const fs::path folder = fs::path(testing::TempDir()) / "page-check-links";
  fs::remove_all(folder);
  testfiles::Write(folder / "here.htm", "x");
  testfiles::Write(folder / "a b.css", "x");
  const std::string page =
      "<!DOCTYPE html><html><head><title>t</title><link rel=\"stylesheet\" href=\"a%20b.css\"></head><body>\n"
      "<p id=\"top\"><a href=\"here.htm#x\">1</a> <a href=\"gone.htm?q\">2</a> <a href=\"#top\">3</a>\n"
      "<a href=\"#nowhere\">4</a> <a href=\"https://example.com/x\">5</a> <a href=\"/root.htm\">6</a>\n"
      "<a href=\"<%= url %>\">7</a> <img src=\"pics/<%= n %>.png\" alt=\"\"></span></p></body></html>\n";
  auto links = [](std::vector<PageProblem> problems) {
    std::erase_if(problems, [](const PageProblem& p) { return p.severity != ProblemSeverity::Link; });
    return problems;
  };
  // Links written by a server block are not checked (tidy still has its say on the blanks).
  const std::vector<PageProblem> expected = {
      {2, 40, ProblemSeverity::Link, "Broken link: gone.htm"},
      {3, 1, ProblemSeverity::Link, "No anchor named nowhere"},
  };
  const auto problems = app::CheckPage(page, kUtf8, folder);
  EXPECT_EQ(links(problems), expected);
  EXPECT_EQ(problems.back(), (PageProblem{4, 64, ProblemSeverity::Warning, "discarding unexpected </span>"}))
      << "tidy's own in document order";
  // A page never saved has no folder: its anchors are checked, its files are not.
  EXPECT_EQ(links(app::CheckPage(page, kUtf8, {})), (std::vector<PageProblem>{expected[1]}));
  fs::remove_all(folder);
}

TEST(PageCheck, AnyBytesAreChecked) {
  EXPECT_NO_THROW(app::CheckPage(std::string("<p>\0zero\xFF\xFE<", 12), kUtf8, {}));
  EXPECT_NO_THROW(app::CheckPage("", platform::TextEncoding::Cp1252, {}));
  const auto problems = app::CheckPage(std::string(3000, '<') + "<tabel>", kUtf8, {});
  EXPECT_TRUE(std::is_sorted(problems.begin(), problems.end(), [](const PageProblem& a, const PageProblem& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
  }));
}

TEST(PageCheck, ColumnsCountCharactersWithTabsToStopsOfEight) {
  EXPECT_EQ(app::ByteOfCheckColumn("abc<p>", 4, kUtf8), 3);
  EXPECT_EQ(app::ByteOfCheckColumn("\t<p>", 9, kUtf8), 1);
  EXPECT_EQ(app::ByteOfCheckColumn("ab\t<p>", 9, kUtf8), 3);
  EXPECT_EQ(app::ByteOfCheckColumn("é<p>", 2, kUtf8), 2);
  EXPECT_EQ(app::ByteOfCheckColumn("\xE9<p>", 2, platform::TextEncoding::Cp1252), 1);
  EXPECT_EQ(app::ByteOfCheckColumn("ab", 40, kUtf8), 2) << "past the end: the line's end";
  EXPECT_EQ(app::ByteOfCheckColumn("ab", -2, kUtf8), 0) << "libtidy can name a column before the start";
  // The positions tidy gives land on the bytes they name.
  const std::string line = "\tx</span>";
  const auto problems = app::CheckPage("<!DOCTYPE html><title>t</title>\n" + line + "\n", kUtf8, {});
  const auto stray = std::find_if(problems.begin(), problems.end(),
                                  [](const PageProblem& p) { return p.message == "discarding unexpected </span>"; });
  ASSERT_NE(stray, problems.end());
  EXPECT_EQ(line.substr(app::ByteOfCheckColumn(line, stray->column, kUtf8), 7), "</span>");
}

TEST(PageCheck, TidyUpIndentsAndKeepsServerBlocksOrRefusesAPageItCannotMend) {
  const std::string page =
      "<!DOCTYPE html><html><head><title>t</title></head><body><div><p>one<% x %></div></body></html>";
  const auto lf = app::TidyUpPage(page, kUtf8, 3, false);
  ASSERT_TRUE(lf.mended) << lf.message;
  EXPECT_NE(lf.text.find("\n   <div>\n"), std::string::npos) << lf.text;
  EXPECT_NE(lf.text.find("<% x %>"), std::string::npos);
  EXPECT_EQ(lf.text.find('\r'), std::string::npos);
  const auto crlf = app::TidyUpPage(page, kUtf8, 3, true);
  EXPECT_NE(crlf.text.find("</div>\r\n"), std::string::npos);
  // Windows-1252 in, Windows-1252 out.
  const auto cp1252 = app::TidyUpPage("<title>t</title><p>caf\xE9</p>", platform::TextEncoding::Cp1252, 2, false);
  ASSERT_TRUE(cp1252.mended);
  EXPECT_NE(cp1252.text.find("caf\xE9"), std::string::npos);

  const auto refused = app::TidyUpPage("<title>t</title><tabel><p>x</tabel>", kUtf8, 2, false);
  EXPECT_FALSE(refused.mended);
  EXPECT_TRUE(refused.text.empty());
  EXPECT_NE(refused.message.find("1 error"), std::string::npos) << refused.message;
}

TEST(PageCheck, ChangedLinesAreCountedBetweenTheCommonHeadAndTail) {
  EXPECT_EQ(app::ChangedLineCount("a\r\nb\r\nc\r\n", "a\nb\nc\n"), 0) << "line ends are no change";
  EXPECT_EQ(app::ChangedLineCount("a\nb\nc\nd\n", "a\nB\nC\nd\n"), 2);
  EXPECT_EQ(app::ChangedLineCount("a\nd\n", "a\nb\nc\nd\n"), 2);
  EXPECT_EQ(app::ChangedLineCount("a\nb\nc\n", "a\n"), 2);
  EXPECT_EQ(app::ChangedLineCount("", "x"), 1);
}

TEST(BackgroundJob, WorkRunsOnAThreadAndDoneOnTheLoopUnlessTheJobWasDropped) {
  platform::headless::PollEventLoop loop;
  auto result = std::make_shared<std::thread::id>();
  bool done = false;
  auto job = platform::StartBackgroundJob(
      loop, [result] { *result = std::this_thread::get_id(); }, [&] { done = true; });
  ASSERT_TRUE(loop.RunUntil([&] { return done; }, 10000));
  EXPECT_TRUE(*result != std::this_thread::get_id()) << "the work ran on a thread of its own";

  // Dropped before its end: done is never heard, even once the work has finished.
  auto release = std::make_shared<std::atomic<bool>>(false);
  auto finished = std::make_shared<std::atomic<bool>>(false);
  bool heard = false;
  auto dropped = platform::StartBackgroundJob(
      loop,
      [release, finished] {
        while (!*release) std::this_thread::yield();
        *finished = true;
      },
      [&] { heard = true; });
  dropped.reset();
  *release = true;
  while (!*finished) std::this_thread::yield();
  // One more job after it: once that one is heard, the loop has long seen the dropped one's byte.
  bool next = false;
  auto after = platform::StartBackgroundJob(
      loop, [] {}, [&] { next = true; });
  ASSERT_TRUE(loop.RunUntil([&] { return next; }, 10000));
  EXPECT_FALSE(heard);
}

TEST(PageChecker, ChecksOnAWorkerMarksTheGutterAndDropsResultsForAChangedText) {
  platform::headless::PollEventLoop loop;
  editor::TqeDocument document;
  document.Lines().SetTextStr("<!DOCTYPE html><title>t</title>\r\n<p>one<tabel></p>\r\n</span>\r\n");
  app::PageChecker checker(loop);
  int heard = 0;
  checker.OnChecked = [&] { ++heard; };
  checker.Check(document, {});
  EXPECT_FALSE(checker.Running()) << "nothing while the panel is closed";

  checker.SetOpen(true);
  checker.Check(document, {});
  ASSERT_TRUE(checker.Running());
  ASSERT_TRUE(loop.RunUntil([&] { return heard == 1; }, 20000));
  EXPECT_EQ(checker.Checked(), &document);
  ASSERT_FALSE(checker.Problems().empty());
  ASSERT_TRUE(document.NoteOn(2));
  EXPECT_TRUE(document.NoteOn(2)->error);
  EXPECT_NE(document.NoteOn(2)->message.find("<tabel> is not recognized!"), std::string::npos);
  ASSERT_TRUE(document.NoteOn(3));
  EXPECT_FALSE(document.NoteOn(3)->error);
  EXPECT_FALSE(document.NoteOn(1));

  // A change while the worker runs: its result is dropped, and the check after the pause is kept.
  checker.Check(document, {});
  document.Lines().Put(1, "<p>one</p>");
  checker.TextChanged(document, {});
  ASSERT_TRUE(loop.RunUntil([&] { return heard == 2; }, 20000));
  ASSERT_TRUE(document.NoteOn(2));
  EXPECT_FALSE(document.NoteOn(2)->error) << "the line was mended: " << document.NoteOn(2)->message;
  EXPECT_TRUE(document.NoteOn(3));

  checker.SetOpen(false);
  EXPECT_FALSE(document.NoteOn(3)) << "a closed panel leaves no marks";
  EXPECT_TRUE(checker.Problems().empty());

  // A document that goes while its check runs is never heard of again.
  checker.SetOpen(true);
  checker.Check(document, {});
  checker.Forget(document);
  EXPECT_FALSE(checker.Running());
}

}  // namespace
