// The main window's documents, one session a tab: what each way of opening makes of a session, tabs and
// their questions, Save, files changed on disk, and the session kept for the next start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TestFiles.h"
#include "app/SessionStore.h"
#include "app/TextFiles.h"
#include "platform/MemoryRegistry.h"
#include "platform/headless/ManualEventLoop.h"
#include "tests/ViewedMainForm.h"
#include "testsupport/FakeDialogs.h"
#include "testsupport/FakePrinter.h"
#include "testsupport/FakeShell.h"

namespace fs = std::filesystem;
using platform::MessageAnswer;

namespace {

using Strings = std::vector<std::string>;

using testfiles::Read;
using testfiles::Write;

class Sessions : public ::testing::Test {
 protected:
  Sessions() : dir(fs::temp_directory_path() / ("quillmark-sessions-" + std::to_string(::getpid()))) {
    fs::remove_all(dir);
    Write(Data("default.htm"), "<html>\r\n</html>\r\n");
    for (const char* name : {"recent.ini", "libhtml.kls", "libevents.kls", "libfunctions.kls"}) Write(Data(name), "");
    Write(dir / "a.htm", "a\r\n");
    Write(dir / "b.htm", "b1\r\nb2\r\nb3\r\n");
    Write(dir / "c.htm", "c\r\n");
  }
  ~Sessions() override { fs::remove_all(dir); }

  std::string Data(const std::string& name) const { return (dir / "data" / name).string(); }
  std::string File(const char* name) const { return (dir / name).string(); }
  // A run of the program on this test's data folder.
  std::unique_ptr<ViewedMainForm> Start(const Strings& arguments = {}) {
    auto window = std::make_unique<ViewedMainForm>(app::MainFormServices{registry, dialogs, shell, printer, "", &loop},
                                                   (dir / "data").string());
    app::WindowPlacement placement;
    window->form.FormCreate(placement);
    window->form.FormShow(arguments);
    return window;
  }
  static Strings Texts(const app::MainForm& form) {
    Strings texts;
    for (const auto& session : form.Sessions()) texts.push_back(session->Document().Lines().Text());
    return texts;
  }

  fs::path dir;
  platform::MemoryRegistry registry;
  platform::fakes::FakeDialogs dialogs;
  platform::fakes::FakeShell shell;
  platform::fakes::FakePrinter printer;
  platform::headless::ManualEventLoop loop;
};

}  // namespace

// Each way of opening fills a session as the design's table and its mends say: the flags, the title,
// the preview's source, the modified state and an empty history.
TEST_F(Sessions, EveryWayOfOpeningFillsASessionAsItsOwn) {
  Write(dir / "page.rtf", "{\\rtf1\\deflang1033\\pard imported\\par}");
  Write(dir / "data" / "Templates" / "t.htm", "template\r\n");
  auto window = Start({File("a.htm")});
  app::MainForm& form = window->form;
  struct Expected {
    std::string text, opened, saved, untitled, title, preview;
    bool modified;
  };
  const auto check = [&](const char* what, const Expected& e) {
    SCOPED_TRACE(what);
    EXPECT_EQ(window->Text(), e.text);
    EXPECT_EQ(form.OpenedFileName(), e.opened);
    EXPECT_EQ(form.SavedFileName(), e.saved);
    EXPECT_EQ(form.UntitledFlag(), e.untitled);
    EXPECT_EQ(form.Title(), e.title);
    EXPECT_EQ(form.Current().PreviewSourceFile(), e.preview);
    EXPECT_EQ(form.Modified(), e.modified);
    EXPECT_FALSE(form.Editor().CanUndo());
  };
  const std::string versioned = "Tarnwell Quillmark 3.01 - [";
  check("command line", {"a\r\n", "", "", "Yes", "Tarnwell Quillmark - [" + File("a.htm") + "]", File("a.htm"), false});
  EXPECT_EQ(form.DocSaveState(), "") << "the command line leaves the flags";

  dialogs.files = {File("b.htm")};
  form.FromFile1Click();
  check("open", {"b1\r\nb2\r\nb3\r\n", File("b.htm"), "", "", versioned + File("b.htm") + "]", File("b.htm"), false});
  EXPECT_EQ(form.DocSaveState(), "False");
  EXPECT_EQ(app::ReadLines(Data("recent.ini")).front(), File("b.htm"));

  form.MRUMenuClick(File("c.htm"));
  check("recent", {"c\r\n", "", "", "Yes", versioned + File("c.htm") + "]", File("c.htm"), false});

  form.OpenTemplate(Data("Templates/t.htm"));
  check("template", {"template\r\n", Data("Templates/t.htm"), "", "", versioned + Data("Templates/t.htm") + "]",
                     Data("Templates/t.htm"), false});

  dialogs.files = {File("page.rtf")};
  form.ImportRTFtoHTML1Click();
  EXPECT_NE(window->Text().find("imported"), std::string::npos);
  EXPECT_EQ(form.Current().PreviewSourceFile(), "") << "an import shows as the editor's text";
  EXPECT_TRUE(form.Modified()) << "an import is unsaved work";
  EXPECT_TRUE(form.Current().Journal()) << "with a journal of its own";

  form.NewFileClick();
  check("new", {"<html>\r\n</html>\r\n", "", "", "Yes", versioned + "Untitled]", "", false});
  EXPECT_EQ(form.Sessions().size(), 6u) << "one tab a document";
  EXPECT_EQ(form.Current().Origin(), app::DocumentOrigin::New);
}

TEST_F(Sessions, TabsSwitchCloseAskOnlyForUnsavedWorkAndShowAFileThatIsOpen) {
  auto window = Start();
  app::MainForm& form = window->form;
  form.OpenFiles({File("a.htm"), File("b.htm"), File("c.htm")});
  ASSERT_EQ(Texts(form), (Strings{"a\r\n", "b1\r\nb2\r\nb3\r\n", "c\r\n"})) << "the default page made way";
  EXPECT_EQ(form.CurrentIndex(), 2);

  form.SwitchTo(0);
  window->Editor().KeyPress('x');
  form.OpenFiles({File("b.htm")});
  EXPECT_EQ(form.CurrentIndex(), 1) << "an open file's tab is shown, not opened again";
  EXPECT_EQ(form.Sessions().size(), 3u);

  EXPECT_TRUE(form.CloseSession(2));
  EXPECT_TRUE(dialogs.messages.empty()) << "an unchanged document closes without a question";
  EXPECT_FALSE(form.CloseSession(0)) << "the fake answers Cancel";
  EXPECT_EQ(dialogs.messages.back(), "Save changes to this file?");
  dialogs.answers = {MessageAnswer::No};
  EXPECT_TRUE(form.CloseSession(0));
  EXPECT_EQ(Read(dir / "a.htm"), "a\r\n") << "No gives the edit up";
  EXPECT_EQ(Texts(form), (Strings{"b1\r\nb2\r\nb3\r\n"}));
  EXPECT_TRUE(form.CloseSession(0));
  EXPECT_EQ(Texts(form), (Strings{"<html>\r\n</html>\r\n"})) << "the last tab makes way for a default page";

  form.OpenFiles({File("a.htm"), File("b.htm")});
  form.MoveSession(0, 1);
  EXPECT_EQ(Texts(form), (Strings{"b1\r\nb2\r\nb3\r\n", "a\r\n"}));
  EXPECT_EQ(form.CurrentIndex(), 0) << "the current tab moved with its document";
}

// The window shows a tab as it is opened, before it becomes current: the first one at start, one opened
// beside others, and the default page that takes the last closed tab's place.
TEST_F(Sessions, ATabIsNotCurrentWhileItIsBeingOpened) {
  ViewedMainForm window(app::MainFormServices{registry, dialogs, shell, printer, "", &loop}, (dir / "data").string());
  app::MainForm& form = window.form;
  std::vector<bool> currentWhenOpened;
  const auto addView = form.OnSessionOpened;
  form.OnSessionOpened = [&](app::DocumentSession& session) {
    addView(session);
    currentWhenOpened.push_back(form.IsCurrent(session));
  };
  app::WindowPlacement placement;
  form.FormCreate(placement);
  form.FormShow({File("a.htm")});
  form.OpenFiles({File("b.htm")});
  EXPECT_TRUE(form.IsCurrent(*form.Sessions()[1]));
  EXPECT_FALSE(form.IsCurrent(*form.Sessions()[0]));
  EXPECT_TRUE(form.CloseSession(1));
  EXPECT_TRUE(form.CloseSession(0));
  EXPECT_EQ(currentWhenOpened, (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(form.IsCurrent(*form.Sessions()[0]));
}

TEST_F(Sessions, ExitAsksForEachModifiedDocumentInTabOrderAndCancelStopsIt) {
  auto window = Start();
  app::MainForm& form = window->form;
  form.OpenFiles({File("a.htm"), File("b.htm"), File("c.htm")});
  for (int i : {0, 2}) {
    form.SwitchTo(i);
    window->Editor().KeyPress('x');
  }
  dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Cancel};
  EXPECT_FALSE(form.Exit1Click({}));
  EXPECT_EQ(dialogs.messages.size(), 2u) << "one question a modified document";
  EXPECT_EQ(Read(dir / "a.htm"), "xa\r\n") << "Yes saved the first to its file";
  EXPECT_EQ(form.CurrentIndex(), 2) << "the one asked about shows";
  dialogs.answers = {MessageAnswer::No};
  EXPECT_TRUE(form.Exit1Click({}));
  EXPECT_EQ(Read(dir / "c.htm"), "c\r\n");
}

// Save writes the document's own file through the atomic write, keeping its permissions; a document
// without a file goes through Save As.
TEST_F(Sessions, SaveWritesTheOwnFileWithoutADialogAndUntitledGoesThroughSaveAs) {
  fs::permissions(dir / "b.htm", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  auto window = Start({File("b.htm")});
  app::MainForm& form = window->form;
  window->Editor().KeyPress('x');
  EXPECT_TRUE(form.Save1Click());
  EXPECT_TRUE(dialogs.fileDialogs.empty()) << "no dialog";
  EXPECT_EQ(Read(dir / "b.htm"), "xb1\r\nb2\r\nb3\r\n");
  EXPECT_EQ(fs::status(dir / "b.htm").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_FALSE(form.Modified());

  form.NewFileClick();
  window->Editor().KeyPress('n');
  dialogs.files = {File("new.htm")};
  EXPECT_TRUE(form.Save1Click());
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].title, "Save As File");
  EXPECT_EQ(Read(dir / "new.htm"), "n<html>\r\n</html>\r\n");
  EXPECT_EQ(form.Title(), "Tarnwell Quillmark 3.01 - [" + File("new.htm") + "]");
  window->Editor().KeyPress('m');
  EXPECT_TRUE(form.Save1Click());
  EXPECT_EQ(dialogs.fileDialogs.size(), 1u) << "saved once, the document has its own file";

  form.SwitchTo(0);
  window->Editor().KeyPress('y');
  form.SwitchTo(1);
  window->Editor().KeyPress('z');
  form.SaveAll1Click();
  EXPECT_EQ(Read(dir / "b.htm").substr(0, 3), "xyb") << "each view kept its caret";
  EXPECT_EQ(Read(dir / "new.htm").substr(0, 3), "nmz");
}

// A file another program changed is noticed when its tab is shown: Yes reads it again (the caret keeps
// its line), No keeps the editor's text, and the next save asks before writing over the change.
TEST_F(Sessions, AFileChangedOnDiskIsOfferedToBeReadAgain) {
  auto window = Start();
  app::MainForm& form = window->form;
  form.OpenFiles({File("a.htm"), File("b.htm")});
  window->Editor().SetCaretXY({1, 3});
  const auto changeOnDisk = [&](const char* name, const std::string& text) {
    Write(dir / name, text);
    fs::last_write_time(dir / name, fs::last_write_time(dir / name) + std::chrono::seconds(5));
  };
  changeOnDisk("b.htm", "B1\r\nB2\r\nB3\r\nB4\r\n");
  form.SwitchTo(0);
  EXPECT_TRUE(dialogs.messages.empty()) << "a's file did not change";
  dialogs.answers = {MessageAnswer::Yes};
  form.SwitchTo(1);
  EXPECT_EQ(dialogs.messages.back(), File("b.htm") + " was changed by another program. Reload it?");
  EXPECT_EQ(window->Text(), "B1\r\nB2\r\nB3\r\nB4\r\n");
  EXPECT_EQ(window->Editor().CaretLine(), 3);

  changeOnDisk("b.htm", "other\r\n");
  dialogs.answers = {MessageAnswer::No};
  form.SwitchTo(0);
  form.SwitchTo(1);
  EXPECT_EQ(window->Text(), "B1\r\nB2\r\nB3\r\nB4\r\n") << "No keeps the editor's text";
  const std::size_t asked = dialogs.messages.size();
  form.SwitchTo(0);
  form.SwitchTo(1);
  EXPECT_EQ(dialogs.messages.size(), asked) << "asked once for one change";
  dialogs.answers = {MessageAnswer::No};
  EXPECT_FALSE(form.Save1Click());
  EXPECT_EQ(dialogs.messages.back(),
            File("b.htm") + " was changed by another program since it was loaded. Save over it?");
  EXPECT_EQ(Read(dir / "b.htm"), "other\r\n");
  dialogs.answers = {MessageAnswer::Yes};
  EXPECT_TRUE(form.Save1Click());
  EXPECT_EQ(Read(dir / "b.htm"), "B1\r\nB2\r\nB3\r\nB4\r\n");
}

TEST_F(Sessions, FilesOpenInTheModeOfTheirExtensionAndOthersKeepTheTabs) {
  Write(dir / "site.css", "p { color: red }\r\n");
  Write(dir / "notes.txt", "notes\r\n");
  Write(dir / "page.PHP", "<?php echo 1; ?>\r\n");
  auto window = Start();
  app::MainForm& form = window->form;
  app::MainHighlighters& languages = form.Highlighters();
  EXPECT_EQ(form.Editor().HighLighter(), &languages.TypePage) << "the default page is in the HTML mode";
  form.OpenFiles({File("site.css")});
  EXPECT_EQ(form.Editor().HighLighter(), &languages.TypeCSS);
  form.OpenFiles({File("notes.txt")});
  EXPECT_EQ(form.Editor().HighLighter(), &languages.TypeCSS) << "a file of no known kind reads as its tab did";
  form.MRUMenuClick(File("page.PHP"));
  EXPECT_EQ(form.Editor().HighLighter(), &languages.TypePHP);
  form.PerformFileOpen(File("a.htm"));
  EXPECT_EQ(form.Editor().HighLighter(), &languages.TypePage);
}

TEST_F(Sessions, TheOpenFilesAreStoredAtExitAndRestoredAtTheNextStart) {
  {
    auto window = Start();
    app::MainForm& form = window->form;
    form.OpenFiles({File("a.htm"), File("b.htm"), File("c.htm")});
    form.NewFileClick();  // untitled: the journal's, not the session's
    form.SwitchTo(1);
    window->Editor().SetCaretXY({2, 3});
    window->Editor().SetEncoding(platform::TextEncoding::Utf8);
    window->Editor().SetHighLighter(form.Highlighters().ForLanguage("Perl"));
    EXPECT_TRUE(form.Exit1Click({}));
  }
  const app::StoredSession stored = app::ReadSessionFile(Data("session.ini"));
  ASSERT_EQ(stored.tabs.size(), 3u);
  EXPECT_EQ(stored.current, 1);
  EXPECT_EQ(stored.tabs[1], (app::StoredTab{File("b.htm"), 3, 2, 1, "Perl", platform::TextEncoding::Utf8}));

  fs::remove(dir / "c.htm");
  auto window = Start();
  app::MainForm& form = window->form;
  ASSERT_EQ(form.Sessions().size(), 2u) << "the missing file is skipped";
  EXPECT_EQ(form.CurrentIndex(), 1);
  EXPECT_EQ(window->Text(), "b1\r\nb2\r\nb3\r\n");
  EXPECT_EQ(window->Editor().CaretXY(), (editor::TextPoint{2, 3}));
  EXPECT_EQ(form.Editor().Encoding(), platform::TextEncoding::Utf8);
  EXPECT_EQ(form.Editor().HighLighter(), form.Highlighters().ForLanguage("Perl"));
  EXPECT_TRUE(form.Sessions()[0]->Pending()) << "the other tab loads when it is first shown";
  EXPECT_TRUE(dialogs.messages.empty()) << "no error box for the missing file";
  form.SwitchTo(0);
  EXPECT_EQ(window->Text(), "a\r\n");

  // Restore Last Session opens only what is not open; a hand-edited file reads what it can.
  form.CloseSession(0);
  form.RestoreLastSession();
  ASSERT_EQ(form.Sessions().size(), 2u);
  EXPECT_EQ(form.Sessions()[1]->Pending()->file, File("a.htm"));
  EXPECT_EQ(window->Text(), "b1\r\nb2\r\nb3\r\n") << "the tab that was current then is current again";
  Write(Data("session.ini"), "[Session]\nCurrent=x\n[Tab]\nFile=" + File("a.htm") + "\nCaret=-4,zz\nTopLine=\n");
  const app::StoredSession edited = app::ReadSessionFile(Data("session.ini"));
  ASSERT_EQ(edited.tabs.size(), 1u);
  EXPECT_EQ(edited.current, 0);
  EXPECT_EQ(edited.tabs[0].caretLine, 1);
  EXPECT_EQ(edited.tabs[0].topLine, 1);
  EXPECT_TRUE(app::ReadSessionFile(Data("none.ini")).tabs.empty());
}

TEST_F(Sessions, EachModifiedDocumentKeepsAJournalOfItsOwn) {
  auto window = Start();
  app::MainForm& form = window->form;
  form.OpenFiles({File("a.htm"), File("b.htm")});
  for (int i : {0, 1}) {
    form.SwitchTo(i);
    window->Editor().KeyPress('x');
  }
  loop.Advance(app::RecoveryJournal::kIdleMs + 100);
  for (const auto& session : form.Sessions()) session->Journal()->Flush();
  ASSERT_NE(form.Sessions()[0]->Journal()->Path(), form.Sessions()[1]->Journal()->Path());
  EXPECT_EQ(app::ParseJournal(Read(form.Sessions()[1]->Journal()->Path())).fileName, File("b.htm"));
  const fs::path second = form.Sessions()[1]->Journal()->Path();
  EXPECT_TRUE(form.Save1Click());
  EXPECT_FALSE(form.Sessions()[1]->Journal()) << "saved work needs no journal";
  EXPECT_FALSE(fs::exists(second));
  EXPECT_TRUE(fs::exists(form.Sessions()[0]->Journal()->Path()));
}
