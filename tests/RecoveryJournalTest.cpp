// The recovery journal: its file format, writing once changes pause, removal when work is saved or given
// up, and the offer at the next start, through the main window's logic with fake dialogs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/MainForm.h"
#include "app/RecoveryJournal.h"
#include "editor/CustomEdit.h"
#include "platform/FileIO.h"
#include "platform/MemoryRegistry.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/ManualEventLoop.h"
#include "platform/headless/MemoryClipboard.h"
#include "tests/ViewedMainForm.h"
#include "testsupport/FakeDialogs.h"
#include "testsupport/FakePrinter.h"
#include "testsupport/FakeShell.h"

namespace fs = std::filesystem;
using app::JournalEntry;
using platform::MessageAnswer;

TEST(JournalFormat, EntriesComeBackByteForByteAndDamageIsRecognised) {
  const JournalEntry entry{"/site/dir\nwith a line end/page.htm", 12, 7, 1765221000,
                           std::string("line one\r\nline two\0three\xE9\r\n", 28)};
  const std::string bytes = app::FormatJournal(entry);
  EXPECT_EQ(app::ParseJournal(bytes), entry);
  EXPECT_EQ(app::ParseJournal(app::FormatJournal(JournalEntry{})), JournalEntry{}) << "an untitled empty text";

  auto damage = [](const std::string& bytes) {
    try {
      app::ParseJournal(bytes);
    } catch (const app::EJournalDamaged& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(damage(bytes.substr(0, bytes.size() - 3)), "it is cut short");
  EXPECT_EQ(damage(bytes.substr(0, 60)), "its column line is missing");
  EXPECT_EQ(damage(bytes + "x"), "it is cut short");
  EXPECT_EQ(damage("<html>not a journal</html>"), "it is not a recovery journal");
  std::string badNumber = bytes;
  badNumber.replace(badNumber.find("caret 12"), 8, "caret xy");
  EXPECT_EQ(damage(badNumber), "its caret line is not a number");
  std::string hugeLength = bytes;
  hugeLength.replace(hugeLength.find("text 28"), 7, "text 99999999999");
  EXPECT_EQ(damage(hugeLength), "it is cut short");
}

namespace {

class RecoveryTest : public ::testing::Test {
 protected:
  RecoveryTest() : dir(fs::temp_directory_path() / ("quillmark-recovery-" + std::to_string(::getpid()))) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "default.htm", std::ios::binary) << "<html>\r\n</html>\r\n";
    for (const char* name : {"recent.ini", "libhtml.kls", "libevents.kls", "libfunctions.kls"})
      std::ofstream(dir / name, std::ios::binary) << "";
  }
  ~RecoveryTest() override { fs::remove_all(dir); }

  // One run of the program: a window's logic with an editor for each of its documents.
  struct Program {
    Program(RecoveryTest& test, std::vector<std::string> arguments = {})
        : window({test.registry, test.dialogs, test.shell, test.printer, "", &test.loop}, test.dir.string()),
          form(window.form) {
      app::WindowPlacement placement;
      form.FormCreate(placement);
      form.FormShow(arguments);
      form.OfferRecovery(arguments);
    }
    editor::TqeCustomEdit& Editor() { return form.Editor(); }
    ViewedMainForm window;
    app::MainForm& form;
  };

  std::vector<fs::path> Files(const std::string& extension) const {
    std::vector<fs::path> found;
    for (const auto& item : fs::directory_iterator(dir / "recovery"))
      if (item.path().extension() == extension) found.push_back(item.path());
    return found;
  }

  fs::path dir;
  platform::MemoryRegistry registry;
  platform::fakes::FakeDialogs dialogs;
  platform::fakes::FakeShell shell;
  platform::fakes::FakePrinter printer;
  // The idle timer on a clock of the test's own, so that a busy machine cannot make typing seem to pause.
  platform::headless::ManualEventLoop loop;
};

}  // namespace

TEST_F(RecoveryTest, TheJournalIsWrittenWhenTypingPausesAndGoesWhenTheWorkIsSaved) {
  Program program(*this);
  program.Editor().KeyPress('a');
  ASSERT_TRUE(program.form.Current().Journal()) << "a document gets its journal once it holds unsaved work";
  app::RecoveryJournal& journal = *program.form.Current().Journal();
  loop.Advance(app::RecoveryJournal::kIdleMs / 2);
  program.Editor().KeyPress('b');
  loop.Advance(app::RecoveryJournal::kIdleMs / 2 + 100);
  journal.Flush();
  EXPECT_FALSE(fs::exists(journal.Path())) << "typing went on: nothing is written yet";
  loop.Advance(app::RecoveryJournal::kIdleMs / 2 + 100);
  journal.Flush();
  ASSERT_TRUE(fs::exists(journal.Path()));
  const JournalEntry entry = app::ParseJournal(platform::ReadFileBytes(journal.Path()));
  EXPECT_EQ(entry.text, "ab<html>\r\n</html>\r\n");
  EXPECT_EQ(entry.fileName, "");
  EXPECT_EQ(entry.caretColumn, 3);

  // Saved work needs no journal: it goes with its file (the journal object with it).
  const fs::path first = journal.Path();
  dialogs.files = {(dir / "saved.htm").string()};
  program.form.SaveAs1Click();
  EXPECT_EQ(program.form.Current().Journal(), nullptr);
  EXPECT_FALSE(fs::exists(first));
  program.Editor().KeyPress('c');
  ASSERT_TRUE(program.form.Current().Journal());
  app::RecoveryJournal& again = *program.form.Current().Journal();
  loop.Advance(app::RecoveryJournal::kIdleMs + 100);
  again.Flush();
  const fs::path second = again.Path();
  EXPECT_EQ(app::ParseJournal(platform::ReadFileBytes(second)).fileName, (dir / "saved.htm").string());
  EXPECT_EQ(dialogs.fileDialogs.size(), 1u);

  dialogs.answers = {MessageAnswer::No};  // "Save changes?" on closing
  EXPECT_TRUE(program.form.FormClose({}));
  EXPECT_FALSE(fs::exists(second)) << "work given up needs no journal";
}

TEST_F(RecoveryTest, ALeftJournalIsOfferedAndRecoveredWithItsFileName) {
  const fs::path page = dir / "page.htm";
  {
    std::ofstream(page, std::ios::binary) << "on disk\r\n";
    Program first(*this, {page.string()});
    first.Editor().KeyPress('x');
    loop.Advance(app::RecoveryJournal::kIdleMs + 100);
    first.form.Current().Journal()->Flush();
    // The program ends without the close that removes the journal, as a crash or kill would.
  }
  EXPECT_EQ(Files(".journal").size(), 1u);
  dialogs.answers = {MessageAnswer::Yes};
  Program second(*this);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].substr(0, 48 + page.string().size()),
            "Quillmark was closed without saving " + page.string() + " (changed 20");
  EXPECT_EQ(dialogs.messages[0].substr(dialogs.messages[0].size() - 14), "). Recover it?");
  EXPECT_EQ(second.Editor().Lines().Text(), "xon disk\r\n");
  EXPECT_TRUE(second.form.Modified());
  EXPECT_EQ(second.form.OpenedFileName(), page.string());
  EXPECT_EQ(second.form.Title(), "Tarnwell Quillmark 3.01 - [" + page.string() + "]");
  EXPECT_EQ(platform::ReadFileBytes(page), "on disk\r\n") << "a journal never writes the file itself";
  const auto journals = Files(".journal");
  ASSERT_EQ(journals.size(), 1u) << "the old journal went; the recovered text is in the new program's";
  EXPECT_EQ(journals[0], second.form.Current().Journal()->Path());

  dialogs.files = {std::nullopt};
  second.form.SaveAs1Click();
  EXPECT_EQ(dialogs.fileDialogs.back().proposedName, "page.htm") << "saving goes back where it belongs";
  EXPECT_EQ(dialogs.fileDialogs.back().initialFolder, dir.string());
}

TEST_F(RecoveryTest, SeveralJournalsAreOfferedInTurnAndDamagedOnesSetAside) {
  fs::create_directories(dir / "recovery");
  auto leave = [&](const std::string& name, const std::string& text) {
    platform::WriteFileDurably(dir / "recovery" / name, {app::FormatJournal({"", 1, 1, 1765221000, text})});
  };
  leave("100-1.journal", "first\r\n");
  leave("101-2.journal", "second\r\n");
  leave("102-3.journal", "third\r\n");
  std::ofstream(dir / "recovery" / "103-4.journal", std::ios::binary) << "Quillmark recovery journal 1\nchanged 5\n";
  fs::last_write_time(dir / "recovery" / "101-2.journal", fs::file_time_type::clock::now() - std::chrono::hours(1));
  dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Yes};
  {
    Program program(*this);
    ASSERT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(dialogs.messages[0].substr(0, 46), "Quillmark was closed without saving untitled (")
        << "the oldest first";
    ASSERT_EQ(program.form.Sessions().size(), 2u) << "No to the oldest, Yes to the next two, each in a tab";
    EXPECT_EQ(program.form.Sessions()[0]->Document().Lines().Text(), "first\r\n")
        << "the first took the default page's place";
    EXPECT_EQ(program.form.Sessions()[1]->Document().Lines().Text(), "third\r\n");
    EXPECT_EQ(dialogs.messages[3], "The recovery file " + (dir / "recovery" / "103-4.journal").string() +
                                       " cannot be used (its caret line is missing); it was set aside as " +
                                       (dir / "recovery" / "103-4.journal").string() + ".damaged.");
    EXPECT_TRUE(fs::exists(dir / "recovery" / "103-4.journal.damaged"));
    EXPECT_FALSE(fs::exists(dir / "recovery" / "101-2.journal")) << "No removed it";
    for (const auto& session : program.form.Sessions()) session->Journal()->Flush();
    EXPECT_EQ(Files(".journal").size(), 2u) << "one journal for each document with unsaved work";
  }
  // The program above ended with its recovered work unsaved: both journals are offered.
  dialogs.messages.clear();
  dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  {
    Program next(*this);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(next.form.Sessions().size(), 2u);
  }
  // A journal named on the command line is recovered without asking; the one left beside it is asked for.
  const auto left = Files(".journal");
  ASSERT_EQ(left.size(), 2u);
  dialogs.messages.clear();
  dialogs.answers = {MessageAnswer::No};
  Program handed(*this, {"--recover", left[0].string()});
  EXPECT_EQ(dialogs.messages.size(), 1u) << "a journal handed over is recovered without asking";
  EXPECT_TRUE(handed.form.Modified());
}
