// The main window's logic through fake dialogs, shell and printer: start-up, the flag table, titles,
// recent files, placement, the save question and safe saving.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TestFiles.h"
#include "app/MainForm.h"
#include "app/TextFiles.h"
#include "editor/CustomEdit.h"
#include "net/TcpFetch.h"
#include "platform/MemoryRegistry.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryClipboard.h"
#include "platform/headless/PollEventLoop.h"
#include "tests/ViewedMainForm.h"
#include "testsupport/FakeDialogs.h"
#include "testsupport/FakePrinter.h"
#include "testsupport/FakeShell.h"
#include "testsupport/ScriptedServer.h"

namespace fs = std::filesystem;
using platform::MessageAnswer;

namespace {

using testfiles::Read;
using testfiles::Write;

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest()
      : dir(fs::temp_directory_path() / ("quillmark-main-" + std::to_string(::getpid()))),
        window({registry, dialogs, shell, printer, ""}, (dir / "data").string()),
        form(window.form) {
    fs::remove_all(dir);
    Write(dir / "data" / "default.htm", "<html>\r\n</html>\r\n");
    Write(dir / "data" / "recent.ini", "/b/one.htm\r\n");
    Write(dir / "data" / "libhtml.kls", "<b></b>\r\n<i></i>\r\n");
    Write(dir / "data" / "libevents.kls", "onclick=\"\"\r\n");
    Write(dir / "data" / "libfunctions.kls", "alert(\"\");\r\n");
    Write(dir / "page.htm", "page\r\n");
  }
  ~MainFormTest() override { fs::remove_all(dir); }

  void Start(const std::vector<std::string>& arguments = {}) {
    app::WindowPlacement placement;
    form.FormCreate(placement);
    form.FormShow(arguments);
  }
  std::string Text() { return window.Text(); }
  editor::TqeCustomEdit& Edit() { return form.Editor(); }
  std::vector<std::string> Flags() const {
    return {form.DocSaveState(), form.OpenedFileName(), form.SavedFileName(), form.UntitledFlag()};
  }
  std::string Data(const char* name) const { return (dir / "data" / name).string(); }

  fs::path dir;
  platform::MemoryRegistry registry;
  platform::fakes::FakeDialogs dialogs;
  platform::fakes::FakeShell shell;
  platform::fakes::FakePrinter printer;
  ViewedMainForm window;
  app::MainForm& form;
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(MainFormTest, StartUpLoadsTheDefaultPageListsAndRecentFiles) {
  Start();
  EXPECT_EQ(Text(), "<html>\r\n</html>\r\n");
  EXPECT_EQ(form.Title(), "Tarnwell Quillmark 3.01 - [Untitled]");
  EXPECT_EQ(Flags(), (Strings{"", "", "", "Yes"}));
  EXPECT_EQ(form.MRU.Files(), (Strings{Data("default.htm"), "/b/one.htm"}));
  EXPECT_EQ(form.ListBox1Items, (Strings{"<b></b>", "<i></i>"}));
  EXPECT_EQ(form.ListBox3Items, (Strings{"alert(\"\");"}));
  EXPECT_EQ(form.UserTemplatesFolder, Data("Templates/User/"));
  EXPECT_FALSE(form.Modified());
}

TEST_F(MainFormTest, ACommandLineFileOpensWithoutReadingRecentIni) {
  Start({(dir / "page.htm").string()});
  EXPECT_EQ(Text(), "page\r\n");
  EXPECT_EQ(form.Title(), "Tarnwell Quillmark - [" + (dir / "page.htm").string() + "]");
  EXPECT_EQ(form.MRU.Files(), (Strings{Data("default.htm"), (dir / "page.htm").string()}));
  EXPECT_EQ(Flags(), (Strings{"", "", "", "Yes"})) << "the command-line file leaves the flags";

  dialogs.answers = {MessageAnswer::No};
  dialogs.files = {(dir / "page.htm").string()};
  form.FromFile1Click();
  EXPECT_EQ(app::ReadLines(Data("recent.ini")), (Strings{(dir / "page.htm").string(), Data("default.htm")}));
}

TEST_F(MainFormTest, AnArgumentThatIsNoFileIsIgnored) {
  Start({(dir / "missing.htm").string()});
  EXPECT_EQ(Text(), "<html>\r\n</html>\r\n");
  EXPECT_EQ(form.MRU.Files().size(), 2u);
}

TEST_F(MainFormTest, MissingDataFilesStopStartUpAtThatStep) {
  fs::remove(Data("libevents.kls"));
  app::WindowPlacement placement;
  form.FormCreate(placement);
  try {
    form.FormShow({});
    FAIL() << "start-up should stop";
  } catch (const platform::EFileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + Data("libevents.kls"));
  }
  EXPECT_EQ(form.ListBox1Items.size(), 2u);
  EXPECT_TRUE(form.ListBox3Items.empty());
  EXPECT_EQ(Text(), "\r\n\r\n\r\n\r\n\r\n") << "the default page is not loaded after the failed step";

  fs::remove(Data("recent.ini"));
  ViewedMainForm other({registry, dialogs, shell, printer, ""}, (dir / "data").string());
  app::MainForm& again = other.form;
  EXPECT_THROW(again.FormShow({}), platform::EFileError);
  EXPECT_TRUE(again.ListBox1Items.empty());
}

TEST_F(MainFormTest, FlagTableAndTitles) {
  Start();
  dialogs.answers = {MessageAnswer::No};
  dialogs.files = {(dir / "page.htm").string()};
  form.FromFile1Click();
  EXPECT_EQ(Flags(), (Strings{"False", (dir / "page.htm").string(), "", ""}));
  EXPECT_EQ(form.Title(), "Tarnwell Quillmark 3.01 - [" + (dir / "page.htm").string() + "]");

  dialogs.files = {(dir / "saved.htm").string()};
  form.SaveAs1Click();
  EXPECT_EQ(Flags(), (Strings{"False", "", (dir / "saved.htm").string(), ""}));
  EXPECT_EQ(Read(dir / "saved.htm"), "page\r\n");

  // A recent file opens in a tab of its own, whose flags are a new document's: the design's recent file
  // leaves them as they were. The saved document keeps its own.
  form.MRUMenuClick(Data("default.htm"));
  EXPECT_EQ(Flags(), (Strings{"False", "", "", "Yes"})) << "a recent file leaves the flags";
  EXPECT_EQ(form.Title(), "Tarnwell Quillmark 3.01 - [" + Data("default.htm") + "]");
  form.SwitchTo(0);
  EXPECT_EQ(Flags(), (Strings{"False", "", (dir / "saved.htm").string(), ""}));
  EXPECT_EQ(form.Title(), "Tarnwell Quillmark 3.01 - [" + (dir / "saved.htm").string() + "]");

  form.NewFileClick();
  EXPECT_EQ(Flags(), (Strings{"False", "", "", "Yes"}));
  EXPECT_EQ(form.Title(), "Tarnwell Quillmark 3.01 - [Untitled]");
  EXPECT_EQ(form.Sessions().size(), 3u);
}

// New and Open Local File replace no text (a new tab, or the default page nobody touched), so they ask
// nothing; the first thing opened takes the untouched default page's place.
TEST_F(MainFormTest, NewAndOpenMakeTabsAndReplaceOnlyAnUntouchedDefaultPage) {
  Start();
  dialogs.files = {(dir / "page.htm").string()};
  form.FromFile1Click();
  EXPECT_EQ(form.Sessions().size(), 1u) << "the untouched default page made way";
  EXPECT_EQ(Text(), "page\r\n");
  form.NewFileClick();
  EXPECT_EQ(form.Sessions().size(), 2u);
  EXPECT_EQ(Text(), "<html>\r\n</html>\r\n");
  Edit().KeyPress('x');
  dialogs.files = {(dir / "page.htm").string()};
  form.FromFile1Click();
  EXPECT_EQ(form.CurrentIndex(), 0) << "a file open in a tab is shown there";
  EXPECT_EQ(form.Sessions().size(), 2u);
  EXPECT_EQ(form.Sessions()[1]->Document().Lines().Get(0), "x<html>") << "the edited page keeps its tab";
  EXPECT_TRUE(dialogs.messages.empty()) << "nothing was asked";
}

TEST_F(MainFormTest, OpeningAnUnreadableFileKeepsTheText) {
  Start();
  dialogs.answers = {MessageAnswer::No};
  dialogs.files = {(dir / "nothing-here.htm").string()};
  EXPECT_THROW(form.FromFile1Click(), platform::EFileError);
  EXPECT_EQ(Text(), "<html>\r\n</html>\r\n");
  EXPECT_EQ(form.MRU.Files().size(), 2u);
}

TEST_F(MainFormTest, AFileCutAtAZeroByteIsReportedAndNotOverwrittenUnasked) {
  Start();
  const fs::path binary = dir / "binary.dat";
  Write(binary, std::string("ELF\r\nhead\0tail\r\nmore\r\n", 20));
  dialogs.answers = {MessageAnswer::No};
  dialogs.files = {binary.string()};
  form.FromFile1Click();
  EXPECT_EQ(Text(), "ELF\r\nhead\r\n") << "the text still ends at the zero byte";
  EXPECT_EQ(dialogs.messages.back(), binary.string() + " holds zero bytes; the text after the first one was left out");

  dialogs.files = {binary.string()};
  dialogs.answers = {MessageAnswer::No};
  EXPECT_FALSE(form.FileSave());
  EXPECT_EQ(Read(binary).size(), 20u) << "No keeps the file whole";
  EXPECT_EQ(dialogs.icons.back(), platform::MessageIcon::Warning);

  dialogs.files = {(dir / "other.htm").string()};
  const size_t asked = dialogs.messages.size();
  EXPECT_TRUE(form.FileSave());
  EXPECT_EQ(dialogs.messages.size(), asked) << "another file is saved without a question";

  dialogs.files = {binary.string(), binary.string()};
  dialogs.answers = {MessageAnswer::Yes};
  EXPECT_TRUE(form.FileSave()) << "saved elsewhere, the document still lacks the cut text: asked again";
  EXPECT_EQ(dialogs.messages.size(), asked + 1);
  EXPECT_EQ(Read(binary), "ELF\r\nhead\r\n") << "the question was answered Yes";
  EXPECT_TRUE(form.FileSave());
  EXPECT_EQ(dialogs.messages.size(), asked + 1) << "once replaced, the file is the document's own";
}

TEST_F(MainFormTest, ClosingAsksWhileNothingWasSavedAndWhenWorkIsUnsaved) {
  Start();
  EXPECT_FALSE(form.FormClose({})) << "asked at once after start; the fake answers Cancel";
  EXPECT_EQ(dialogs.icons.back(), platform::MessageIcon::Warning);

  dialogs.files = {(dir / "saved.htm").string()};
  form.SaveAs1Click();
  const size_t asked = dialogs.messages.size();
  EXPECT_TRUE(form.FormClose({}));
  EXPECT_EQ(dialogs.messages.size(), asked) << "saved and unchanged: no question";

  // Each modified document is asked for in tab order; Yes saves a document with a file without a dialog.
  Edit().SetCaretXY({1, 1});
  Edit().KeyPress('x');
  form.NewFileClick();
  Edit().KeyPress('y');
  dialogs.messages.clear();
  dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  dialogs.files = {std::nullopt};
  EXPECT_FALSE(form.FormClose({})) << "Yes with a cancelled save dialog keeps the window open";
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(Read(dir / "saved.htm"), "x<html>\r\n</html>\r\n") << "the first was saved to its file";
  EXPECT_EQ(form.CurrentIndex(), 1) << "each document is shown while it is asked for";
  dialogs.answers = {MessageAnswer::No};
  EXPECT_TRUE(form.FormClose({}));
}

TEST_F(MainFormTest, ExitAsksOnlyForUnsavedWorkAndStoresThePlacement) {
  Start();
  app::WindowPlacement placement{10, 20, 700, 500, "title", 0};
  EXPECT_TRUE(form.Exit1Click(placement));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(registry.ReadInteger("HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\Larch\\3.0", "Form1.Width"), 700);

  Edit().KeyPress('x');
  EXPECT_FALSE(form.Exit1Click(placement));
  dialogs.answers = {MessageAnswer::Yes};
  dialogs.files = {(dir / "exit.htm").string()};
  EXPECT_TRUE(form.Exit1Click(placement));
  EXPECT_EQ(Read(dir / "exit.htm").substr(0, 1), "x");
}

TEST_F(MainFormTest, ARecentFileOpensInATabOfItsOwnAndLeavesUnsavedWorkInItsTab) {
  Start();
  form.MRUMenuClick((dir / "page.htm").string());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Text(), "page\r\n");

  Edit().KeyPress('x');
  form.MRUMenuClick(Data("default.htm"));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Text(), "<html>\r\n</html>\r\n");
  EXPECT_EQ(form.Sessions()[0]->Document().Lines().Get(0), "xpage");
  EXPECT_THROW(form.MRUMenuClick((dir / "gone.htm").string()), platform::EFileError);
  EXPECT_EQ(form.Sessions().size(), 2u) << "a file that cannot be read opens no tab";
}

TEST_F(MainFormTest, PrintWritesItsCopyBeforeTheDialog) {
  Start();
  printer.accept = false;
  form.PrintFileClick();
  EXPECT_EQ(Read(Data("Prt01.ht~")), "<html>\r\n</html>\r\n");
  EXPECT_EQ(printer.jobs, 0);
  printer.accept = true;
  form.PrintFileClick();
  EXPECT_EQ(printer.printed, (Strings{"<html>", "</html>"}));
  EXPECT_EQ(printer.jobTitle, "<html>\r\n</html>\r\n");
}

TEST_F(MainFormTest, ShellCommandsAndTheirFailure) {
  Start();
  form.ToolbarButton977Click();
  EXPECT_EQ(Read(Data("Prt325.htm")), "<html>\r\n</html>\r\n");
  EXPECT_EQ(shell.opened, (Strings{Data("Prt325.htm") + " in " + (dir / "data").string()}));

  shell.succeed = false;
  form.Contents1Click();
  EXPECT_EQ(dialogs.messages.back(), "ERROR: Please re-set the program.");
  EXPECT_EQ(dialogs.icons.back(), platform::MessageIcon::Error);

  shell.succeed = true;
  form.SpeedButton4Click();  // no calculator on an empty PATH
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(shell.started.empty());
}

TEST(RecentFileList, CaseTrimmingAndCaptions) {
  app::TRecentFileList mru;
  mru.SetMenuItem(true);
  mru.SetFiles({"/a", "/b", "/c", "/d", "/e", "/f", "/g"});
  EXPECT_EQ(mru.Files().size(), 7u) << "loading does not trim";
  EXPECT_TRUE(mru.MenuCaptions().empty()) << "nor touch the menu";
  mru.AddFile("/C");
  EXPECT_EQ(mru.Files(), (Strings{"/C", "/a", "/b", "/d", "/e"}));
  EXPECT_EQ(mru.MenuCaptions(), (Strings{"&0 /C", "&1 /a", "&2 /b", "&3 /d", "&4 /e"}));
  mru.AddFile("/c");
  EXPECT_EQ(mru.Files()[0], "/C") << "present at the top: unchanged";

  std::string clicked;
  mru.OnMenuClick = [&](const std::string& f) { clicked = f; };
  mru.MenuItemClicked(3);
  EXPECT_EQ(clicked, "/d");
  mru.MenuItemClicked(9);
  EXPECT_EQ(clicked, "/d");

  app::TRecentFileList counted;
  counted.SetMenuItem(true);
  counted.InitialCounter = 10;
  counted.AddFile("/x");
  EXPECT_EQ(counted.MenuCaptions(), (Strings{"&A /x"}));
}

TEST(FormSizeSave, KeyAndValues) {
  platform::MemoryRegistry registry;
  app::TFormSizeSave save;
  save.Company = "Tarnwell";
  save.ProductName = "  ";
  save.SubKey = "3.0";
  EXPECT_EQ(save.KeyPath(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\3.0");
  save.ProductName = "Larch";
  const std::string key = save.KeyPath();
  EXPECT_EQ(key, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\Larch\\3.0");

  save.SavePlacement(registry, "Form1", {5, 6, 700, 500, "Normal", 0});
  save.SavePlacement(registry, "Form1", {0, 0, 1920, 1080, "Maximised", 2});
  EXPECT_EQ(registry.ReadInteger(key, "Form1.Width"), 700) << "a maximised window keeps the normal bounds";
  EXPECT_EQ(registry.ReadInteger(key, "Form1.State"), 2);
  EXPECT_EQ(registry.ReadString(key, "Form1.Caption"), "Maximised");

  app::WindowPlacement restored{1, 1, 1, 1, "", 0};
  save.SaveMode = app::smPositionOnly;
  save.RestorePlacement(registry, "Form1", restored);
  EXPECT_EQ(restored.left, 5);
  EXPECT_EQ(restored.width, 1) << "position only";
  EXPECT_EQ(restored.state, 2);
}

TEST(WriteFileAtomically, AFailedWriteLeavesTheOldFile) {
  const fs::path file = fs::temp_directory_path() / ("quillmark-atomic-" + std::to_string(::getpid()) + ".htm");
  Write(file, "old contents");
  try {
    platform::WriteFileAtomically(file, [](std::ostream& out) {
      out << "half of the new";
      throw std::runtime_error("disk full");
    });
    FAIL() << "the write should fail";
  } catch (const platform::EFileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + file.string());
  }
  EXPECT_EQ(Read(file), "old contents");
  for (const auto& entry : fs::directory_iterator(file.parent_path()))
    EXPECT_EQ(entry.path().string().find(file.string() + ".~"), std::string::npos) << "temporary file left";

  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  platform::WriteFileAtomically(file, [](std::ostream& out) { out << "new"; });
  EXPECT_EQ(Read(file), "new");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::remove(file);
}

TEST_F(MainFormTest, OpenWebFileReplacesTheTextOnlyAfterAFetchThatWorked) {
  platform::headless::PollEventLoop loop;
  ViewedMainForm webWindow({registry, dialogs, shell, printer, "", &loop}, (dir / "data").string());
  app::MainForm& web = webWindow.form;
  app::WindowPlacement placement;
  web.FormCreate(placement);
  web.FormShow({});
  dialogs.runLoop = [&](const std::function<bool()>& closed) { loop.RunUntil(closed, 20000); };

  {
    ScriptedServer server({"HTTP/1.0 200 OK\r\n\r\n", "HTTP/1.0 404 Not Found\r\n\r\ngone"});
    EXPECT_THROW(web.OpenWebFile(server.Url("/page.htm")), net::EProtocolError);
  }
  EXPECT_EQ(webWindow.Text(), "<html>\r\n</html>\r\n") << "a failed fetch leaves the document";
  ASSERT_EQ(dialogs.progressWindows.size(), 1u);
  EXPECT_EQ(dialogs.progressWindows[0].options.caption, "Please Wait");
  EXPECT_EQ(dialogs.progressWindows[0].options.text, "Retrieving Page...");
  EXPECT_THROW(web.OpenWebFile("http://no-such-host.invalid/"), net::ETcpError);

  {
    // Cancel (or Escape) in the wait window stops the fetch and changes nothing.
    ScriptedServer server({"SILENT"});
    dialogs.onProgressWindow = [](auto& window) { window.options.cancel(); };
    EXPECT_FALSE(web.OpenWebFile(server.Url()));
    dialogs.onProgressWindow = nullptr;
    EXPECT_EQ(webWindow.Text(), "<html>\r\n</html>\r\n");
    EXPECT_EQ(dialogs.progressWindows.back().closed, std::optional<bool>(true));
  }

  // The page opens in a tab of its own; the edited file keeps its tab, its title and its flags.
  dialogs.files = {(dir / "page.htm").string()};
  web.FromFile1Click();
  webWindow.Editor().KeyPress('x');
  const std::string page = "HTTP/1.0 200 OK\r\n\r\n<p>one</p>\r\n<p>two</p>\n";
  ScriptedServer server({"HTTP/1.0 200 OK\r\n\r\n", page});
  EXPECT_TRUE(web.OpenWebFile(server.Url("/page.htm")));
  EXPECT_EQ(webWindow.Text(), "<p>one</p>\r\n<p>two</p>\r\n");
  EXPECT_EQ(server.Requests().back(),
            "GET /page.htm HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n\r\n");
  EXPECT_EQ(web.Title(), "Tarnwell Quillmark 3.01 - [Untitled]") << "a page from the web has no file";
  EXPECT_FALSE(web.Modified());
  webWindow.Editor().Undo();
  EXPECT_EQ(webWindow.Text(), "<p>one</p>\r\n<p>two</p>\r\n") << "nothing is left to undo";
  EXPECT_EQ(web.PreviewFileName(), Data("Temp.htm")) << "the page from the web, not the file opened before";
  EXPECT_EQ(Read(Data("Temp.htm")), "<p>one</p>\r\n<p>two</p>\r\n");
  web.SwitchTo(0);
  EXPECT_EQ(webWindow.Editor().Lines().Get(0), "xpage");
  EXPECT_EQ(web.Title(), "Tarnwell Quillmark 3.01 - [" + (dir / "page.htm").string() + "]");
}

TEST_F(MainFormTest, ThePreviewShowsTheFileOrTheTextOfAnUntitledDocument) {
  Start();
  Edit().Lines().Add("<p>typed");
  EXPECT_EQ(form.PreviewFileName(), Data("Temp.htm")) << "the default page is untitled";
  EXPECT_EQ(Read(Data("Temp.htm")), "<html>\r\n</html>\r\n<p>typed\r\n");
  EXPECT_EQ(form.DocumentFolder(), (dir / "data").string());
}

TEST_F(MainFormTest, ThePreviewShowsAnOpenedFileAsItIsOnDisk) {
  Start();
  dialogs.answers = {MessageAnswer::No};
  dialogs.files = {(dir / "page.htm").string()};
  form.FromFile1Click();
  Edit().Lines().Add("not on disk");
  EXPECT_EQ(form.PreviewFileName(), (dir / "page.htm").string()) << "an opened file shows as it is on disk";
  EXPECT_EQ(Read(dir / "page.htm"), "page\r\n");
  EXPECT_EQ(form.DocumentFolder(), dir.string());
}

// The flags stay as they are for the command line and the recent list, yet the preview shows the document
// in the editor, not the one opened before.
TEST_F(MainFormTest, ThePreviewShowsAFileFromTheCommandLineOrTheRecentList) {
  Write(dir / "site" / "other.htm", "other\r\n");
  Start({(dir / "page.htm").string()});
  EXPECT_EQ(form.PreviewFileName(), (dir / "page.htm").string());
  EXPECT_EQ(form.DocumentFolder(), dir.string());

  form.MRUMenuClick((dir / "site" / "other.htm").string());
  EXPECT_EQ(Flags(), (Strings{"", "", "", "Yes"}));
  EXPECT_EQ(form.PreviewFileName(), (dir / "site" / "other.htm").string());
  EXPECT_EQ(form.DocumentFolder(), (dir / "site").string());

  dialogs.files = {(dir / "saved.htm").string()};
  form.SaveAs1Click();
  form.MRUMenuClick((dir / "page.htm").string());
  EXPECT_EQ(form.PreviewFileName(), (dir / "page.htm").string()) << "not the file saved before";
}

TEST_F(MainFormTest, ImportRtfToHtmlFillsTheEditorAndKeepsTheDocumentState) {
  Start();
  Write(dir / "letter.rtf", "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}\\deflang1033\\pard\\b Dear\\plain  reader\\par }");
  dialogs.files = {};
  form.ImportRTFtoHTML1Click();
  EXPECT_EQ(Text(), "<html>\r\n</html>\r\n") << "a cancelled dialog changes nothing";

  dialogs.answers = {MessageAnswer::No};
  dialogs.files = {(dir / "page.htm").string()};
  form.FromFile1Click();
  Edit().SetCaretXY({5, 1});
  Edit().ExecuteCommand(editor::ecLineBreak, '\r');
  Edit().KeyPress('x');
  Edit().KeyPress('y');
  const auto flags = Flags();
  const std::string title = form.Title();
  dialogs.files = {(dir / "letter.rtf").string()};
  form.ImportRTFtoHTML1Click();
  const std::string page =
      "\r\n<HTML>\r\n\r\n<HEAD>\r\n<TITLE>Untitled</TITLE>\r\n</HEAD>\r\n\r\n"
      "<BODY topmargin=\"0\" leftmargin=\"0\" link=\"#0000FF\" vlink=\"#800080\" alink=\"#FF0000\">\r\n\r\n"
      "\r\n<P><B>Dear</B> reader\r\n\r\n</BODY>\r\n</HTML>\r\n";
  EXPECT_EQ(Text(), page);
  EXPECT_EQ(form.Sessions().size(), 2u) << "in a tab of its own";
  EXPECT_EQ(Flags(), (Strings{"False", "", "", "Yes"})) << "a new document's flags, which the import leaves";
  EXPECT_EQ(form.Title(), "Tarnwell Quillmark 3.01 - [Untitled]");
  EXPECT_EQ(dialogs.fileDialogs.back().title, "Import RTF to HTML");
  EXPECT_TRUE(form.Modified());

  Edit().Undo();
  EXPECT_EQ(Text(), page) << "the whole text is new: nothing of another text is there to undo";
  EXPECT_EQ(form.PreviewFileName(), Data("Temp.htm")) << "the imported page, not the file opened before";
  EXPECT_EQ(Read(Data("Temp.htm")), page);
  EXPECT_EQ(form.DocumentFolder(), (dir / "data").string());
  form.SwitchTo(0);
  EXPECT_EQ(Flags(), flags);
  EXPECT_EQ(form.Title(), title);
}

// A zero byte would end the editor's text: it is left out and what follows it stays. An empty conversion is
// one empty line between the page's fixed lines.
TEST_F(MainFormTest, AnImportKeepsTheTextAfterAZeroByteAndAnEmptyConversionIsOneLine) {
  Start();
  Write(dir / "zero.rtf", "{\\rtf1\\deflang1033\\pard before\\'00after\\par more}");
  dialogs.files = {(dir / "zero.rtf").string()};
  form.ImportRTFtoHTML1Click();
  EXPECT_NE(Text().find("\r\n<P>beforeafter\r\n<P>more\r\n\r\n</BODY>\r\n</HTML>\r\n"), std::string::npos) << Text();
  EXPECT_TRUE(dialogs.messages.empty()) << "nothing was cut off to warn of";

  Write(dir / "empty.rtf", "");
  dialogs.files = {(dir / "empty.rtf").string()};
  form.ImportRTFtoHTML1Click();
  EXPECT_EQ(Edit().LineCount(), 13);
  EXPECT_NE(Text().find("alink=\"#FF0000\">\r\n\r\n\r\n\r\n</BODY>"), std::string::npos);
}

TEST_F(MainFormTest, AFileOpenInAnotherProgramIsShownThereAndNotLoadedAgain) {
  struct Elsewhere : platform::InstanceLink {
    bool ShowIfOpenElsewhere(const std::string& path) override {
      asked.push_back(path);
      return path.find("busy.htm") != std::string::npos;
    }
    std::vector<std::string> asked;
  } elsewhere;
  ViewedMainForm linkedWindow({registry, dialogs, shell, printer, "", nullptr, &elsewhere}, (dir / "data").string());
  app::MainForm& linked = linkedWindow.form;
  app::WindowPlacement placement;
  linked.FormCreate(placement);
  linked.FormShow({});
  Write(dir / "busy.htm", "busy\r\n");
  dialogs.answers = {MessageAnswer::No};
  dialogs.files = {(dir / "busy.htm").string()};
  linked.FromFile1Click();
  EXPECT_EQ(linkedWindow.Text(), "<html>\r\n</html>\r\n") << "the other program shows it; this text stays";
  linked.MRUMenuClick((dir / "busy.htm").string());
  linked.OpenTemplate((dir / "busy.htm").string());
  EXPECT_EQ(linkedWindow.Text(), "<html>\r\n</html>\r\n");
  EXPECT_EQ(elsewhere.asked.size(), 3u);
  linked.MRUMenuClick((dir / "page.htm").string());
  EXPECT_EQ(linkedWindow.Text(), "page\r\n") << "a file no other program has opens here";
  EXPECT_TRUE(linked.IsDocument((dir / "." / "page.htm").string()));
}

namespace {

TEST_F(MainFormTest, FilesPreferencesShapeWhatIsReadAndWritten) {
  Start();
  app::Preferences preferences = form.CurrentPreferences();
  preferences.writeLf = true;
  preferences.trimTrailingBlanks = true;
  preferences.detectUtf8 = false;
  preferences.newDocumentsUtf8 = true;
  form.ApplyPreferences(preferences, /*keep=*/true);
  EXPECT_EQ(registry.ReadString(app::kPreferencesKey, "WriteLf"), std::optional<std::string>("true"));

  Write(dir / "cafe.htm", "caf\xC3\xA9  \r\nnext\t\r\n");
  form.OpenFiles({(dir / "cafe.htm").string()});
  EXPECT_EQ(Edit().Encoding(), platform::TextEncoding::Cp1252) << "detection may not read UTF-8";
  dialogs.files = {(dir / "saved.htm").string()};
  form.SaveAs1Click();
  EXPECT_EQ(Read(dir / "saved.htm"), "caf\xC3\xA9\nnext\n");

  form.FileNew();
  EXPECT_EQ(Edit().Encoding(), platform::TextEncoding::Utf8);
  // Put back, the next file is written as the design has it.
  form.ApplyPreferences(app::Preferences{}, true);
  dialogs.files = {(dir / "crlf.htm").string()};
  form.SaveAs1Click();
  EXPECT_EQ(Read(dir / "crlf.htm"), "<html>\r\n</html>\r\n");
}

TEST_F(MainFormTest, APreferenceThatCannotBeReadIsNamedOnceTheWindowShows) {
  registry.WriteString(app::kPreferencesKey, "JournalDelay", "soon");
  registry.WriteString(app::kPreferencesKey, "Scheme", "High contrast");
  ViewedMainForm again({registry, dialogs, shell, printer, ""}, (dir / "data").string());
  std::vector<std::string> notes;
  again.form.OnStatusNote = [&notes](const std::string& note) { notes.push_back(note); };
  app::WindowPlacement placement;
  again.form.FormCreate(placement);
  again.form.FormShow({});
  EXPECT_EQ(notes, (Strings{"Unreadable preferences set to defaults: JournalDelay"}));
  EXPECT_EQ(again.form.SchemeInEffect(), "High contrast");
  EXPECT_EQ(again.form.Highlighters().TypeHTML.TextAttri->Background(), app::ColoursOf("High contrast").background)
      << "the stored scheme reaches the highlighters at start";
}

}  // namespace
