// The main window on the offscreen platform, with dialogs, shell and printer answered by fakes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include "app/Spelling.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtPrinter.h"
#include "tests/MainWindowFixture.h"
#include "testsupport/ScriptedServer.h"
#include "ui/DocumentPage.h"
#include "ui/PreferencesDialog.h"

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndShortcuts) {
  auto form = MakeWindow();
  EXPECT_EQ(form->windowTitle(), "Tarnwell Quillmark 3.01 - [Untitled]");
  EXPECT_EQ(form->Action("NewFile")->text(), "&New");
  EXPECT_EQ(form->Action("NewFile")->shortcut(), QKeySequence("Ctrl+N"));
  EXPECT_EQ(form->Action("PrinterSetup1")->shortcut(), QKeySequence("Ctrl+Shift+F1"));
  EXPECT_EQ(form->Action("BrowserPreview1")->shortcut(), QKeySequence("F11"));
  EXPECT_TRUE(form->Action("SaveAs1")->isEnabled());
  EXPECT_TRUE(form->Action("ImportRTFtoHTML1")->isEnabled());
  EXPECT_EQ(form->Action("Image1")->shortcut(), QKeySequence("Ctrl+I"));
  EXPECT_TRUE(form->Action("Italic1")->shortcut().isEmpty()) << "Ctrl+I belongs to the Image item made first";
  EXPECT_TRUE(form->Action("Italic1")->text().endsWith("\tCtrl+I"));
  EXPECT_TRUE(form->Action("AddaForm1")->shortcut().isEmpty());
  EXPECT_EQ(form->SideList(0)->item(0)->text(), "<b></b>");
  EXPECT_EQ(form->StatusPanel(1)->text(), "Row: 1 Col: 1") << "the caret position after the default page loaded";
  EXPECT_EQ(form->Dialogs().about->windowTitle(), "Tarnwell Quillmark 3.01");
}

TEST_F(MainWindowTest, RecentFilesAppearAfterTheOpenMenusSeparator) {
  auto form = MakeWindow();
  QStringList texts;
  for (QAction* a : form->OpenMenu()->actions()) texts << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(texts, (QStringList{"Open Local File", "Open Web File", "-",
                                QString::fromStdString("&0 " + (dir / "default.htm").string()), "&1 x"}));
}

TEST_F(MainWindowTest, CancellingTheCloseQuestionKeepsTheWindow) {
  auto form = MakeWindow();
  QCloseEvent close;
  QApplication::sendEvent(form.get(), &close);
  EXPECT_FALSE(close.isAccepted());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "Save changes to this file?");
  EXPECT_TRUE(registry.ReadInteger("HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\Larch\\3.0", "Form1.Width"));

  dialogs.answers = {platform::MessageAnswer::No};
  QCloseEvent again;
  QApplication::sendEvent(form.get(), &again);
  EXPECT_TRUE(again.isAccepted());
}

TEST_F(MainWindowTest, QuickCutsComesBackThroughTheToolbarButton) {
  auto form = MakeWindow();
  form->QuickCuts()->close();
  QAction* button = form->Action("QCBut");
  EXPECT_TRUE(button->isVisible());
  button->trigger();
  EXPECT_TRUE(form->QuickCuts()->isVisible());
  EXPECT_FALSE(button->isVisible());
}

TEST_F(MainWindowTest, PlacementIsRestored) {
  const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarnwell\\Larch\\3.0";
  registry.WriteInteger(key, "Form1.Left", 40);
  registry.WriteInteger(key, "Form1.Top", 30);
  registry.WriteInteger(key, "Form1.Width", 640);
  registry.WriteInteger(key, "Form1.Height", 480);
  auto form = MakeWindow();
  const app::WindowPlacement p = form->CurrentPlacement();
  EXPECT_EQ(p.width, 640);
  EXPECT_EQ(p.height, 480);
}

TEST(QtDialogs, FiltersKeepTheirDescriptions) {
  EXPECT_EQ(platform::qt::ToQtFilter("HTML Files (*.htm, *.html)|*.htm; *.html|All Files (*.*)|*.*"),
            "HTML Files (*.htm, *.html) (*.htm *.html);;All Files (*.*) (*.*)");
  EXPECT_EQ(platform::qt::ToQtFilter("Images|*.gif; *.jpg, *.jpeg"), "Images (*.gif *.jpg *.jpeg)")
      << "commas separate patterns too";
}

namespace {

// Prints lines to a PDF file and counts its pages.
size_t PrintedPages(const std::vector<std::string>& lines) {
  const fs::path pdf = fs::temp_directory_path() / ("quillmark-print-" + std::to_string(::getpid()) + ".pdf");
  platform::qt::QtPrinter printer;
  printer.Device().setOutputFormat(QPrinter::PdfFormat);
  printer.Device().setOutputFileName(QString::fromStdString(pdf.string()));
  printer.PrintText("job", lines, {"Courier New", 10, 0});
  std::ifstream in(pdf, std::ios::binary);
  std::string all{std::istreambuf_iterator<char>(in), {}};
  fs::remove(pdf);
  EXPECT_EQ(all.substr(0, 5), "%PDF-");
  size_t pages = 0;
  for (size_t at = all.find("/Type /Page\n"); at != std::string::npos; at = all.find("/Type /Page\n", at + 1)) ++pages;
  return pages;
}

}  // namespace

TEST(QtPrinter, PrintsToPdfAndWrapsLinesWiderThanThePage) {
  EXPECT_GE(PrintedPages(std::vector<std::string>(200, "<p>line\twith a tab</p>")), 2u)
      << "200 lines take more than one page";
  EXPECT_EQ(PrintedPages(std::vector<std::string>(20, "short")), 1u);
  EXPECT_GE(PrintedPages(std::vector<std::string>(20, std::string(3000, 'x'))), 2u)
      << "twenty lines of 3000 characters go on in the rows below them";

  const QFont font("Liberation Mono", 10);
  const QFontMetrics metrics(font);
  const int width = 20 * metrics.horizontalAdvance(QChar('m'));  // twenty cells
  const QStringList rows =
      platform::qt::WrapToWidth("one two three four five six seven eight nine ten", metrics, width);
  EXPECT_EQ(rows.join(""), "one two three four five six seven eight nine ten") << "nothing lost";
  EXPECT_EQ(rows.front(), "one two three four ") << "broken after the last blank that fits";
  for (const QString& row : rows) EXPECT_LE(row.trimmed().size(), 20) << row.toStdString();
  EXPECT_EQ(platform::qt::WrapToWidth(QString(45, 'x'), metrics, width),
            (QStringList{QString(20, 'x'), QString(20, 'x'), QString(5, 'x')}))
      << "a word wider than a row is cut";
  EXPECT_EQ(platform::qt::WrapToWidth("", metrics, width), QStringList{""});
  EXPECT_EQ(platform::qt::WrapToWidth("ab", metrics, 1), (QStringList{"a", "b"})) << "a narrow page still advances";
}

TEST_F(MainWindowTest, CopyAsRtfPutsTheColouredSelectionOnTheClipboard) {
  auto form = MakeWindow();
  QAction* copy = form->Action("CopyAsRTF1");
  ASSERT_NE(copy, nullptr);
  QMenu* edit = nullptr;
  for (QAction* menu : form->menuBar()->actions())
    if (menu->text() == "&Edit") edit = menu->menu();
  ASSERT_NE(edit, nullptr);
  auto& editor = form->Editor().Editor();
  editor.Lines().SetTextStr("<b>bold</b>\r\n");
  emit edit->aboutToShow();
  EXPECT_FALSE(copy->isEnabled()) << "nothing is selected";
  editor.SelectWholeText();
  emit edit->aboutToShow();
  ASSERT_TRUE(copy->isEnabled());
  copy->trigger();
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_TRUE(data->hasFormat("text/rtf"));
  const QByteArray rtf = data->data("text/rtf");
  EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << rtf.toStdString();
  EXPECT_TRUE(rtf.contains("\\red0\\green0\\blue255;")) << "the main window's blue for known tags";
  EXPECT_EQ(data->text(), "<b>bold</b>");
}

TEST_F(MainWindowTest, TheLanguageDropDownBindsItsHighlighter) {
  auto form = MakeWindow();
  auto* languages = form->findChild<QComboBox*>("ComboBox18");
  auto& editor = form->Editor().Editor();
  const auto* html = editor.HighLighter();
  ASSERT_NE(html, nullptr);
  EXPECT_EQ(languages->currentText(), "Choose Highlighting...");
  emit languages->textActivated("Choose Highlighting...");
  EXPECT_EQ(editor.HighLighter(), html);
  emit languages->textActivated("Pascal");
  EXPECT_EQ(editor.HighLighter()->LanguageTitle(), "ObjectPascal");
  emit languages->textActivated("perl");
  EXPECT_EQ(editor.HighLighter()->LanguageTitle(), "ObjectPascal") << "the names compare with regard to case";
  emit languages->textActivated("C++");
  EXPECT_EQ(editor.HighLighter()->LanguageTitle(), "C++");
  EXPECT_EQ(editor.HighLighter()->AttributeAt(0)->Name(), "Assembler");
  EXPECT_EQ(editor.HighLighter()->AttributeAt(0)->Foreground(), platform::kColorWindowText) << "the form's colours";

  // Typed and entered: the box's completion must not make "perl" the item "Perl".
  languages->lineEdit()->clear();
  QTest::keyClicks(languages->lineEdit(), "perl");
  QTest::keyClick(languages->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(editor.HighLighter()->LanguageTitle(), "C++");
  languages->lineEdit()->clear();
  QTest::keyClicks(languages->lineEdit(), "Perl");
  QTest::keyClick(languages->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(editor.HighLighter()->LanguageTitle(), "Perl");

  // The web languages, and HTML as the page scanner with every language inside a page.
  for (const char* name : {"CSS", "JavaScript", "PHP", "HTML"}) {
    EXPECT_GE(languages->findText(name), 0) << name;
    emit languages->textActivated(name);
    EXPECT_EQ(editor.HighLighter(), form->Logic().Highlighters().ForLanguage(name)) << name;
  }
  EXPECT_EQ(editor.HighLighter(), &form->Logic().Highlighters().TypePage);
}

TEST_F(MainWindowTest, FindAndReplaceFromTheirDialogs) {
  auto form = MakeWindow();
  auto& editor = form->Editor().Editor();
  editor.Lines().SetTextStr("one cat, two Cat\r\nthree cat\r\n");
  editor.SetCaretXY({1, 1});

  form->Action("Find1")->trigger();
  ui::FindDialog* find = form->FindWindow();
  ASSERT_TRUE(find->isVisible());
  EXPECT_TRUE(find->down->isChecked());
  EXPECT_FALSE(find->matchCase->isChecked());
  find->findText->setText("cat");
  auto click = [](QWidget* dialog, const char* name) { dialog->findChild<QPushButton*>(name)->click(); };
  click(find, "FindNext");
  EXPECT_EQ(editor.SelectionStart(), (editor::TextPoint{5, 1}));
  click(find, "FindNext");
  EXPECT_EQ(editor.SelectedText(), "Cat") << "case is ignored unless asked for";
  find->up->setChecked(true);
  click(find, "FindNext");
  EXPECT_EQ(editor.SelectionStart(), (editor::TextPoint{5, 1})) << "up from the match goes to the one before";
  const int beeps = dialogs.beeps;
  click(find, "FindNext");
  EXPECT_EQ(dialogs.beeps, beeps + 1) << "nothing above: a beep";
  find->findText->clear();
  click(find, "FindNext");
  EXPECT_EQ(dialogs.beeps, beeps + 2);

  form->Action("Replace1")->trigger();
  ui::FindDialog* replace = form->ReplaceWindow();
  EXPECT_TRUE(replace->matchCase->isChecked()) << "the replace dialog starts with match case";
  EXPECT_EQ(replace->findText->text(), "cat") << "the selected text is what to find";
  replace->replaceText->setText("dog");
  click(replace, "Replace");
  EXPECT_EQ(editor.Lines().Get(0), "one dog, two Cat") << "the selected match is replaced without a search";
  click(replace, "Replace");
  EXPECT_EQ(editor.Lines().Get(1), "three dog") << "no match selected: the next is found and replaced at once";

  editor.Lines().SetTextStr("a cat\r\ncat cat\r\n");
  editor.SetCaretXY({1, 1});
  click(replace, "ReplaceAll");
  EXPECT_EQ(editor.Lines().Get(0), "a dog");
  EXPECT_EQ(editor.Lines().Get(1), "dog dog");
  EXPECT_EQ(form->StatusPanel(0)->text(), "Replaced 3 occurrences");
  editor.Undo();
  EXPECT_EQ(editor.Lines().Get(1), "cat cat") << "one undo step";

  replace->regularExpression->setChecked(true);
  replace->findText->setText("(\\w+) (\\w+)");
  replace->replaceText->setText("$2-$1");
  editor.SetCaretXY({1, 1});
  click(replace, "ReplaceAll");
  EXPECT_EQ(editor.Lines().Get(1), "cat-cat");
  replace->findText->setText("(oops");
  click(replace, "FindNext");
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back().rfind("Invalid regular expression at position", 0), 0u) << dialogs.messages.back();
}

TEST_F(MainWindowTest, ThePreviewPageShowsTheDocumentAndCopiesItsSelection) {
  std::ofstream(dir / "default.htm", std::ios::binary)
      << "<title>Start</title><p>H\xC3\xA9llo <a href=\"#x\">\xCE\xB1 preview</a>";
  auto form = MakeWindow();
  auto* pages = form->findChild<QTabWidget*>("PageControl3");
  auto* preview = form->findChild<ui::PreviewWidget*>("HTML");
  ASSERT_TRUE(pages && preview);
  pages->setCurrentIndex(1);
  EXPECT_EQ(preview->Viewer().CurrentFile(), (dir / "Temp.htm").string())
      << "an untitled document goes through Temp.htm";
  EXPECT_EQ(preview->Viewer().Title(), "Start");
  ASSERT_TRUE(fs::exists(dir / "Temp.htm"));

  preview->Viewer().SelectAll();
  form->findChild<QAction*>("Copy1")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("H\xC3\xA9llo \xCE\xB1 preview \r\n"))
      << "Copy takes the preview's selection, a UTF-8 page's characters as they are";

  auto* address = form->findChild<QLineEdit*>("Edit4");
  address->setText(QString::fromStdString((dir / "missing.htm").string()));
  form->findChild<QToolButton*>("ToolButton7")->click();
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back(), "Can't locate file: " + (dir / "missing.htm").string());
}

// A file chosen from the recent list shows in the preview (not the one opened before), a table the
// preview cannot lay out is told in a message box, and animated pictures move only while the page shows.
TEST_F(MainWindowTest, ThePreviewFollowsARecentFileAndTellsWhatItDropped) {
  std::string row;
  for (int i = 0; i < 31; ++i) row += "<td>c</td>";
  std::ofstream(dir / "first.htm", std::ios::binary) << "<p>first";
  std::ofstream(dir / "second.htm", std::ios::binary) << "<p>second<table><tr>" + row + "</tr></table>";
  auto form = MakeWindow();
  dialogs.answers = {platform::MessageAnswer::No};
  dialogs.files = {(dir / "first.htm").string()};
  form->Logic().FromFile1Click();
  form->Logic().MRU.AddFile((dir / "second.htm").string());
  QAction* second = nullptr;
  for (QAction* a : form->OpenMenu()->actions())
    if (a->text().endsWith("second.htm")) second = a;
  ASSERT_TRUE(second);
  second->trigger();
  auto* pages = form->findChild<QTabWidget*>("PageControl3");
  auto* preview = form->findChild<ui::PreviewWidget*>("HTML");
  dialogs.messages.clear();
  pages->setCurrentIndex(1);
  EXPECT_EQ(preview->Viewer().CurrentFile(), (dir / "second.htm").string());
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Table has too many Columns"});
}

TEST_F(MainWindowTest, TemplatesAreSavedOpenedAndDeletedWithTheirQuestions) {
  fs::create_directories(dir / "Templates" / "User");
  std::ofstream(dir / "Templates" / "Standard.htm", std::ios::binary) << "<p>standard\r\n";
  std::ofstream(dir / "Templates" / "User" / ".keep", std::ios::binary) << "";
  auto form = MakeWindow();
  auto* standard = form->findChild<QListWidget*>("FileListBox1");
  auto* user = form->findChild<QListWidget*>("FileListBox2");
  ASSERT_TRUE(standard && user);
  ASSERT_EQ(standard->count(), 1);
  EXPECT_EQ(user->count(), 0) << "hidden files are not templates";

  auto* dialog = form->findChild<QDialog*>("Form9");
  auto* name = dialog->findChild<QLineEdit*>("Edit1");
  auto* ok = dialog->findChild<QPushButton*>("Button1");
  form->findChild<QToolButton*>("SpeedButton7")->click();
  name->setText("../outside");
  ok->click();
  EXPECT_TRUE(dialog->isVisible()) << "a name reaching out of the folder is refused";
  EXPECT_EQ(name->text(), "../outside");
  EXPECT_FALSE(fs::exists(dir / "Templates" / "outside"));
  name->setText("mine");
  ok->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(fs::exists(dir / "Templates" / "User" / "mine")) << "saved as typed, no extension added";
  ASSERT_EQ(user->count(), 1);

  dialogs.answers = {platform::MessageAnswer::No};
  form->findChild<QToolButton*>("SpeedButton7")->click();
  name->setText("mine");
  ok->click();
  EXPECT_EQ(dialogs.messages.back(), "Replace the template \"mine\"?");

  // A template opens in a tab of its own; the edited document keeps its tab.
  form->Editor().Editor().Lines().Add("unsaved edit");
  const std::size_t asked = dialogs.messages.size();
  emit standard->itemDoubleClicked(standard->item(0));
  EXPECT_EQ(dialogs.messages.size(), asked);
  EXPECT_EQ(form->Editor().Editor().Lines().Text(), "<p>standard\r\n");
  EXPECT_EQ(form->DocumentTabs()->count(), 2);
  EXPECT_NE(form->Logic().Sessions()[0]->Document().Lines().Text().find("unsaved edit"), std::string::npos);

  user->setCurrentRow(0);
  dialogs.answers = {platform::MessageAnswer::No};
  form->findChild<QToolButton*>("SpeedButton8")->click();
  EXPECT_TRUE(fs::exists(dir / "Templates" / "User" / "mine")) << "No keeps it";
  dialogs.answers = {platform::MessageAnswer::Yes};
  form->findChild<QToolButton*>("SpeedButton8")->click();
  EXPECT_FALSE(fs::exists(dir / "Templates" / "User" / "mine"));
  EXPECT_EQ(user->count(), 0);
}

TEST_F(MainWindowTest, TheStyleBuilderCollectsDeclarationsAndSavesEveryRuleOfTheRun) {
  auto form = MakeWindow();
  auto* memo = form->findChild<QPlainTextEdit*>("Memo1");
  form->findChild<QPushButton*>("BitBtn1")->click();
  EXPECT_EQ(memo->toPlainText(), "font-size : ;\nfont-weight : ;\ncolor : ;\nfont-family : ;\nfont-style : ;\nfont : ;")
      << "every control of the group, chosen or not, in the table's order";
  memo->clear();
  form->findChild<QComboBox*>("ComboBox7")->setCurrentText("center");
  form->findChild<QLineEdit*>("Edit6")->setText("1.5");
  form->findChild<QPushButton*>("BitBtn2")->click();
  EXPECT_TRUE(memo->toPlainText().startsWith("line-height : 1.5;\ntext-decoration : ;\ntext-align : center;"));

  const fs::path first = dir / "one.css", second = dir / "two.css";
  dialogs.files = {first.string()};
  form->findChild<QToolButton*>("ToolbarButton9752")->click();
  memo->setPlainText("color : red;");
  form->findChild<QComboBox*>("ComboBox17")->setCurrentText("H1");
  dialogs.files = {second.string()};
  form->findChild<QToolButton*>("ToolbarButton9752")->click();
  std::ifstream in(second, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written.substr(0, written.find("\r\n")), "Choose Style Selector  { ") << "the selector never chosen";
  EXPECT_NE(written.find(" }\r\nH1  { \r\ncolor : red;\r\n }\r\n"), std::string::npos)
      << "the second file holds the first rule, then the second";

  dialogs.files = {(dir / "missing" / "three.css").string()};
  form->findChild<QToolButton*>("ToolbarButton9752")->click();
  EXPECT_EQ(dialogs.messages.back(), "Cannot create file " + (dir / "missing" / "three.css").string());
}

TEST_F(MainWindowTest, TheUpdateWindowShowsWhatTheInformationPageSays) {
  const std::string page =
      "<META HTTP-EQUIV=\"qm-version\" CONTENT=\"3.0.2\">\r\n<META HTTP-EQUIV=\"qm-date\" CONTENT=\"Mar 05, 2001\">\r\n"
      "<META HTTP-EQUIV=\"qm-url\" CONTENT=\"https://example.org/setup.exe\">\r\n";
  ScriptedServer server({"HTTP/1.0 200 OK\r\n\r\n" + page});
  registry.WriteString(ui::kUpdateSettingsKey, "HomeURL", server.Url("/info.htm"));
  auto form = MakeWindow();
  form->Action("CheckforUpdates1")->trigger();
  ui::UpdateWindow& update = *form->Dialogs().update;
  ASSERT_TRUE(update.isVisible());
  EXPECT_EQ(update.windowTitle(), "Tarnwell Vireo-Update!");
  EXPECT_EQ(update.findChild<QLabel*>("lblVersion")->text(), "Not Available");
  update.findChild<QPushButton*>("Button1")->click();
  EXPECT_EQ(update.findChild<QLabel*>("lblVersion")->text(), "3.0.2");
  EXPECT_EQ(update.findChild<QLabel*>("lblDate")->text(), "Mar 05, 2001");
  EXPECT_EQ(update.findChild<QLabel*>("lblURL")->text(), "https://example.org/setup.exe");
  EXPECT_EQ(dialogs.progressWindows.back().options.text, "Checking For Update...");
  update.findChild<QPushButton*>("Button3")->click();
  EXPECT_FALSE(update.isVisible());
}

TEST_F(MainWindowTest, TheWindowKeepsWorkingWhileAPageIsFetchedFromASlowServer) {
  auto form = MakeWindow();
  ui::OpenWebFileDialog& web = *form->Dialogs().openWebFile;
  form->Action("FromWeborFTPSite1")->trigger();
  ScriptedServer server({"HTTP/1.0 200 OK\r\n\r\n", "HTTP/1.0 200 OK\r\n\r\n<p>slow{{hold}} page</p>"});
  web.address->setText(QString::fromStdString(server.Url("/slow.htm")));
  // The server finishes its answer only once the window's timers have ticked ten times meanwhile.
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (++ticks == 10) server.Release();
  });
  timer.start(10);
  web.findChild<QPushButton*>("Button1")->click();
  EXPECT_EQ(form->Editor().Editor().Lines().Text(), "<p>slow page</p>\r\n");
  EXPECT_GE(ticks, 10) << "timers ran while the server took its time";
}

TEST(ProgramIcon, EverySizeIsBuiltIntoTheProgram) {
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QImage image(QString(":/icons/quillmark-%1.png").arg(size));
    EXPECT_EQ(image.size(), QSize(size, size)) << size;
  }
}

TEST_F(MainWindowTest, TheEncodingShowsInTheStatusBarAndTheMenuReinterpretsTheBytes) {
  auto form = MakeWindow();
  auto* button = form->findChild<QToolButton*>("EncodingButton");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), "Windows-1252") << "the default page is plain ASCII";
  const fs::path page = dir / "greek.htm";
  std::ofstream(page, std::ios::binary) << "<p>\xCE\xB1\xCE\xB2\xCE\xB3</p>\r\n";
  form->Logic().PerformFileOpen(page.string());
  auto& editor = form->Editor().Editor();
  EXPECT_EQ(button->text(), "UTF-8");
  EXPECT_TRUE(form->Action("EncodingUtf8")->isChecked());
  editor.SetCaretXY({10, 1});
  EXPECT_EQ(form->StatusPanel(1)->text(), "Row: 1 Col: 7") << "characters, not bytes";

  form->Action("EncodingCp1252")->trigger();
  EXPECT_EQ(editor.Encoding(), platform::TextEncoding::Cp1252);
  EXPECT_EQ(button->text(), "Windows-1252");
  EXPECT_EQ(form->StatusPanel(1)->text(), "Row: 1 Col: 10");
  EXPECT_EQ(editor.Lines().Get(0), "<p>\xCE\xB1\xCE\xB2\xCE\xB3</p>") << "no byte changed";
  EXPECT_EQ(button->menu()->actions().size(), 2);
}

// Each document in a tab: its caption (the file's name, a mark while modified) and tooltip, switching with
// the keys, closing with a middle click (asking for unsaved work), dragging to reorder, and a split view.
TEST_F(MainWindowTest, DocumentsLiveInTabsThatSwitchCloseMoveAndSplit) {
  std::ofstream(dir / "a.htm", std::ios::binary) << "a\r\n";
  std::ofstream(dir / "b.htm", std::ios::binary) << "b\r\n";
  auto form = MakeWindow();
  QTabWidget* tabs = form->DocumentTabs();
  form->Logic().OpenFiles({(dir / "a.htm").string(), (dir / "b.htm").string()});
  ASSERT_EQ(tabs->count(), 2) << "the untouched default page made way";
  EXPECT_EQ(tabs->tabText(0), "a.htm");
  EXPECT_EQ(tabs->tabToolTip(1), QString::fromStdString((dir / "b.htm").string()));
  EXPECT_EQ(tabs->currentIndex(), 1);
  form->Editor().Editor().KeyPress('x');
  EXPECT_EQ(tabs->tabText(1), "*b.htm");
  EXPECT_EQ(form->windowTitle(),
            QString::fromStdString("Tarnwell Quillmark 3.01 - [" + (dir / "b.htm").string() + "]"));

  form->Action("NextTab1")->trigger();
  EXPECT_EQ(tabs->currentIndex(), 0) << "after the last comes the first";
  EXPECT_EQ(form->Editor().Editor().Lines().Text(), "a\r\n");
  EXPECT_EQ(form->windowTitle(),
            QString::fromStdString("Tarnwell Quillmark 3.01 - [" + (dir / "a.htm").string() + "]"));
  form->Action("PreviousTab1")->trigger();
  EXPECT_EQ(tabs->currentIndex(), 1);

  auto* languages = form->findChild<QComboBox*>("ComboBox18");
  emit languages->textActivated("CSS");
  form->Action("NextTab1")->trigger();
  EXPECT_EQ(languages->currentText(), "Choose Highlighting...") << "the name chosen in another tab is not shown here";
  EXPECT_EQ(form->Editor().Editor().HighLighter(), &form->Logic().Highlighters().TypePage);
  form->Action("PreviousTab1")->trigger();
  EXPECT_EQ(form->Editor().Editor().HighLighter(), &form->Logic().Highlighters().TypeCSS);

  tabs->tabBar()->moveTab(1, 0);
  EXPECT_EQ(form->Logic().Sessions()[0]->File(), (dir / "b.htm").string()) << "the documents follow the tabs";
  EXPECT_EQ(form->Logic().CurrentIndex(), 0);

  form->Action("SplitHorizontally1")->trigger();
  ui::DocumentPage& page = form->Page(form->Logic().Current());
  ASSERT_EQ(page.Editors().size(), 2u);
  EXPECT_EQ(page.orientation(), Qt::Vertical) << "one view above the other";
  page.Editors()[1]->Editor().SetCaretXY({1, 1});
  page.Editors()[1]->Editor().KeyPress('y');
  EXPECT_EQ(page.Editors()[0]->Editor().Lines().Get(0), "yxb") << "typed in one view, shown in the other";
  page.Editors()[0]->Editor().Undo();
  EXPECT_EQ(page.Editors()[1]->Editor().Lines().Get(0), "xb") << "one history";
  form->Action("Unsplit1")->trigger();
  EXPECT_EQ(page.Editors().size(), 1u);

  const QPoint middle = tabs->tabBar()->tabRect(0).center();
  QTest::mouseClick(tabs->tabBar(), Qt::MiddleButton, {}, middle);
  EXPECT_EQ(dialogs.messages.back(), "Save changes to this file?") << "b holds unsaved work; the fake answers Cancel";
  EXPECT_EQ(tabs->count(), 2);
  dialogs.answers = {platform::MessageAnswer::No};
  QTest::mouseClick(tabs->tabBar(), Qt::MiddleButton, {}, middle);
  EXPECT_EQ(tabs->count(), 1);
  EXPECT_EQ(tabs->tabText(0), "a.htm");
}

TEST_F(MainWindowTest, ExitAsksOnceForEachModifiedDocument) {
  std::ofstream(dir / "a.htm", std::ios::binary) << "a\r\n";
  auto form = std::make_unique<ui::MainWindow>(dir.string(),
                                               app::MainFormServices{registry, dialogs, shell, printer, "", &loop},
                                               std::vector<std::string>{(dir / "a.htm").string()});
  form->show();
  form->Editor().Editor().KeyPress('x');
  dialogs.answers = {platform::MessageAnswer::No};
  form->Action("Exit1")->trigger();
  QCloseEvent close;
  QApplication::sendEvent(form.get(), &close);
  EXPECT_TRUE(close.isAccepted());
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Save changes to this file?"})
      << "the window's close that follows Exit asks nothing more";
}

TEST_F(MainWindowTest, FilesDroppedOnTheWindowOpenInTabs) {
  std::ofstream(dir / "a.htm", std::ios::binary) << "a\r\n";
  std::ofstream(dir / "b.htm", std::ios::binary) << "b\r\n";
  auto form = MakeWindow();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir / "a.htm").string())),
                QUrl::fromLocalFile(QString::fromStdString((dir / "b.htm").string()))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(form.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(form.get(), &drop);
  ASSERT_EQ(form->DocumentTabs()->count(), 2);
  EXPECT_EQ(form->DocumentTabs()->tabText(0), "a.htm");
  EXPECT_EQ(form->Editor().Editor().Lines().Text(), "b\r\n");
}

namespace {

// Runs Qt's events until a condition holds; false after a generous time. The ticking timer wakes the wait.
bool WaitFor(const std::function<bool()>& condition) {
  QTimer tick;
  tick.start(20);
  QElapsedTimer clock;
  clock.start();
  while (!condition() && clock.elapsed() < 30000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return condition();
}

}  // namespace

// View > Check Page: the panel lists the check's problems, a click takes the caret to one, the gutter marks
// its line; Edit > Tidy Up Page replaces the text after asking, as one undo step.
TEST_F(MainWindowTest, TheCheckPanelListsProblemsAndTidyUpIsOneUndoStep) {
  const fs::path page = dir / "page.htm";
  std::ofstream(page, std::ios::binary) << "<!DOCTYPE html>\r\n<title>t</title>\r\n<p>one <b>two</p>\r\n\t</span>\r\n";
  auto form = MakeWindow();
  form->Logic().PerformFileOpen(page.string());
  auto* panel = form->findChild<QTreeWidget*>("CheckPagePanel");
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(panel->isVisible());
  form->Action("CheckPage1")->trigger();
  EXPECT_TRUE(panel->isVisible());
  ASSERT_TRUE(WaitFor([&] { return panel->topLevelItemCount() > 0 && panel->topLevelItem(0)->text(0) != ""; }));
  QTreeWidgetItem* stray = nullptr;
  for (int i = 0; i < panel->topLevelItemCount(); ++i)
    if (panel->topLevelItem(i)->text(3) == "discarding unexpected </span>") stray = panel->topLevelItem(i);
  ASSERT_NE(stray, nullptr);
  EXPECT_EQ(stray->text(0), "4");
  EXPECT_EQ(stray->text(1), "9") << "tidy counts the tab to its stop";
  EXPECT_EQ(stray->text(2), "warning");
  emit panel->itemClicked(stray, 0);
  auto& editor = form->Editor().Editor();
  EXPECT_EQ(editor.CaretXY(), (editor::TextPoint{2, 4})) << "the byte after the tab";
  ASSERT_TRUE(editor.Document().NoteOn(4));

  // Typing starts a new check once it pauses.
  editor.SetCaretXY({1, 4});
  for (int i = 0; i < 8; ++i) editor.KeyPress('x');
  ASSERT_TRUE(WaitFor([&] { return panel->findItems("17", Qt::MatchExactly, 1).size() > 0; }))
      << "the tab's stop moved on";

  dialogs.answers = {platform::MessageAnswer::Yes};
  const std::string before = editor.Lines().Text();
  form->Action("TidyUpPage1")->trigger();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(dialogs.messages[0].starts_with("Tidy Up Page changes ")) << dialogs.messages[0];
  EXPECT_NE(editor.Lines().Text(), before);
  EXPECT_NE(editor.Lines().Text().find("<b>two</b>"), std::string::npos) << editor.Lines().Text();
  form->Action("Undo1")->trigger();
  EXPECT_EQ(editor.Lines().Text(), before);

  form->Action("CheckPage1")->trigger();
  EXPECT_FALSE(panel->isVisible());
  EXPECT_FALSE(editor.Document().NoteOn(4)) << "the marks go with the panel";
}

// A misspelt word is underlined; its menu replaces it with a suggestion; View > Spelling turns it off.
TEST_F(MainWindowTest, TheSpellingMenuReplacesAWordAndTheLanguageIsStored) {
  if (!app::SpellDictionary::Open("en_US")) GTEST_SKIP() << "hunspell-en-us is not installed";
  auto form = MakeWindow();
  auto& widget = form->Editor();
  auto& editor = widget.Editor();
  editor.Lines().SetTextStr("<p>Fresh tomatos</p>\r\n");
  ASSERT_EQ(editor.Document().Spelling().Misspelt(0).size(), 1u);
  // The menu is modal: it is answered from a timer once it shows.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || menu->objectName() != "SpellingSuggestions") return;
    for (QAction* action : menu->actions())
      if (action->text() == "tomatoes") action->trigger();
    menu->close();
  });
  answer.start(10);
  const int row = editor.RowHeight() / 2;
  const int x = editor.TextLeft() + 11 * editor.CellWidth();
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(x, row), widget.viewport()->mapToGlobal(QPoint(x, row)));
  QApplication::sendEvent(widget.viewport(), &event);
  answer.stop();
  EXPECT_EQ(editor.Lines().Get(0), "<p>Fresh tomatoes</p>");
  form->Action("Undo1")->trigger();
  EXPECT_EQ(editor.Lines().Get(0), "<p>Fresh tomatos</p>") << "the replacement is one undo step";

  form->Action("SpellingNone")->trigger();
  EXPECT_TRUE(editor.Document().Spelling().Misspelt(0).empty());
  EXPECT_EQ(registry.ReadString(app::kPreferencesKey, "SpellingLanguage"), std::optional<std::string>(""));
}

TEST_F(MainWindowTest, PreferencesShowAtOnceInEveryViewCancelPutsBackAndOkStores) {
  auto form = MakeWindow();
  app::MainForm& logic = form->Logic();
  logic.FileNew();
  form->Page(logic.Current()).Split(Qt::Horizontal);
  auto views = [&] {
    std::vector<editor::TqeCustomEdit*> all;
    for (const auto& session : logic.Sessions())
      for (ui::EditorWidget* widget : form->Page(*session).Editors()) all.push_back(&widget->Editor());
    return all;
  };
  ASSERT_EQ(views().size(), 3u);
  const app::SchemeColours classic = app::ColoursOf("Classic"), dark = app::ColoursOf("Dark");
  {
    ui::PreferencesDialog dialog(logic, form.get());
    dialog.findChild<QSpinBox*>("TabWidth")->setValue(2);
    auto* scheme = dialog.findChild<QComboBox*>("PreferencesScheme");
    scheme->setCurrentIndex(scheme->findData("Dark"));
    for (editor::TqeCustomEdit* view : views()) {
      EXPECT_EQ(view->TabIndent(), 2);
      EXPECT_EQ(view->Color(), dark.background);
      EXPECT_EQ(view->Gutter().Color(), dark.gutter);
    }
    EXPECT_EQ(logic.Highlighters().TypeHTML.TextAttri->Foreground(), dark.text);
    EXPECT_EQ(form->Preview()->Viewer().settings.defBackground, dark.previewBackground);
    dialog.reject();
  }
  for (editor::TqeCustomEdit* view : views()) {
    EXPECT_EQ(view->TabIndent(), 4) << "Cancel puts back what was there";
    EXPECT_EQ(view->Color(), classic.background);
  }
  EXPECT_EQ(form->Preview()->Viewer().settings.defBackground, classic.previewBackground);
  EXPECT_FALSE(registry.ReadString(app::kPreferencesKey, "TabWidth"));

  {
    ui::PreferencesDialog dialog(logic, form.get());
    dialog.findChild<QSpinBox*>("TabWidth")->setValue(3);
    dialog.findChild<QCheckBox*>("LineNumbers")->setChecked(false);
    dialog.findChild<QPushButton*>("PreferencesFilesDefaults")->click();
    EXPECT_EQ(dialog.findChild<QSpinBox*>("TabWidth")->value(), 3) << "another page's defaults leave it";
    dialog.accept();
  }
  EXPECT_EQ(registry.ReadString(app::kPreferencesKey, "TabWidth"), std::optional<std::string>("3"));
  EXPECT_FALSE(form->Editor().Editor().Gutter().ShowLineNumbers());
  {
    ui::PreferencesDialog dialog(logic, form.get());
    dialog.findChild<QPushButton*>("PreferencesEditorDefaults")->click();
    EXPECT_EQ(dialog.findChild<QSpinBox*>("TabWidth")->value(), 4);
    EXPECT_TRUE(form->Editor().Editor().Gutter().ShowLineNumbers());
    dialog.accept();
  }
  EXPECT_EQ(registry.ReadString(app::kPreferencesKey, "TabWidth"), std::optional<std::string>("4"));
}

TEST_F(MainWindowTest, WordWrapAndTabCharactersReachEveryViewAndTheTabsOpenedLater) {
  auto form = MakeWindow();
  app::MainForm& logic = form->Logic();
  logic.FileNew();
  form->Page(logic.Current()).Split(Qt::Horizontal);
  {
    ui::PreferencesDialog dialog(logic, form.get());
    dialog.findChild<QCheckBox*>("WordWrap")->setChecked(true);
    dialog.findChild<QCheckBox*>("TabInsertsBlanks")->setChecked(false);
    for (const auto& session : logic.Sessions())
      for (ui::EditorWidget* widget : form->Page(*session).Editors()) {
        EXPECT_TRUE(widget->Editor().WordWrap());
        EXPECT_FALSE(widget->Editor().TabInsertsBlanks());
        EXPECT_EQ(widget->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
      }
    dialog.accept();
  }
  EXPECT_EQ(registry.ReadString(app::kPreferencesKey, "WordWrap"), std::optional<std::string>("true"));
  EXPECT_EQ(registry.ReadString(app::kPreferencesKey, "TabInsertsBlanks"), std::optional<std::string>("false"));
  logic.FileNew();
  EXPECT_TRUE(form->Editor().Editor().WordWrap()) << "a tab opened afterwards wraps too";
  EXPECT_FALSE(form->Editor().Editor().TabInsertsBlanks());
}

TEST_F(MainWindowTest, ADarkDesktopGetsTheDarkSchemeUntilOneIsChosen) {
  const QPalette light = QApplication::palette();
  QPalette dark = light;
  dark.setColor(QPalette::Base, QColor(20, 20, 20));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  QApplication::setPalette(dark);
  auto form = MakeWindow();
  EXPECT_EQ(form->Logic().SchemeInEffect(), "Dark");
  EXPECT_EQ(form->Editor().Editor().Color(), app::ColoursOf("Dark").background);
  form.reset();
  registry.WriteString(app::kPreferencesKey, "Scheme", "Classic");
  form = MakeWindow();
  EXPECT_EQ(form->Logic().SchemeInEffect(), "Classic") << "the person's choice outranks the desktop";
  form.reset();
  QApplication::setPalette(light);
}

TEST_F(MainWindowTest, ChangingAnAttributeMakesTheCustomSchemeWhichOkStoresAndCancelDrops) {
  auto form = MakeWindow();
  app::MainForm& logic = form->Logic();
  auto& sql = logic.Highlighters().TypeSQL;
  const app::TokenLook classic = app::LookOf(*sql.AttributeAt(0));
  auto boldenFirstSqlAttribute = [](ui::PreferencesDialog& dialog) {
    auto* language = dialog.findChild<QComboBox*>("PreferencesLanguage");
    language->setCurrentIndex(language->findText("SQL"));
    dialog.findChild<QCheckBox*>("PreferencesBold")->click();
  };
  {
    ui::PreferencesDialog dialog(logic, form.get());
    boldenFirstSqlAttribute(dialog);
    EXPECT_EQ(logic.SchemeInEffect(), "Custom");
    EXPECT_EQ(dialog.findChild<QComboBox*>("PreferencesScheme")->currentText(), "Custom");
    EXPECT_NE(sql.AttributeAt(0)->Style() & platform::kBold, classic.style & platform::kBold);
    dialog.reject();
  }
  EXPECT_EQ(logic.SchemeInEffect(), "Classic");
  EXPECT_EQ(app::LookOf(*sql.AttributeAt(0)), classic) << "Cancel drops the change";
  EXPECT_TRUE(sql.ListUserSettings().empty());
  {
    ui::PreferencesDialog dialog(logic, form.get());
    boldenFirstSqlAttribute(dialog);
    dialog.accept();
  }
  EXPECT_EQ(registry.ReadString(app::kPreferencesKey, "Scheme"), std::optional<std::string>("Custom"));
  EXPECT_EQ(sql.ListUserSettings(), (std::vector<std::string>{"Custom"})) << "saved as one of SQL's schemes";
  EXPECT_NE(app::LookOf(*sql.AttributeAt(0)), classic);
}
