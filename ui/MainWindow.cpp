// Building the main window and routing its commands.
#include "ui/MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDateTime>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>
#include <tuple>

#include "app/Highlighters.h"
#include "app/SearchCommands.h"
#include "platform/qt/TextBytes.h"
#include "ui/PreferencesDialog.h"

namespace ui {

using app::AspVariableNames;
using app::FixedTagCommands;
using app::MainFormServices;
using app::TagCommand;
using app::TLineStatusButtons;
using app::WindowPlacement;

namespace {

// What the language drop-down shows until a name is chosen.
const QString kLanguagePrompt = "Choose Highlighting...";

// A tool button known by its object name, with its caption and hint.
QToolButton* NamedToolButton(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);
  button->setToolTip(hint);
  return button;
}

// Titles and recent-file captions carry file paths, which are in the file system's encoding.
QString FromPathBytes(const std::string& bytes) { return QString::fromLocal8Bit(bytes.c_str()); }

}  // namespace

MainWindow::MainWindow(const std::string& installDir, MainFormServices services, std::vector<std::string> arguments,
                       QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      logic_(services, installDir),
      completionTables_(editor::CompletionTables::Load(installDir)),
      tagCommands_(MakeTagCommands()),
      arguments_(std::move(arguments)) {
  setObjectName("Form1");
  setAcceptDrops(true);

  CreateMenus();
  CreateToolbars();
  CreatePages();
  CreateStatusBar();
  CreateQuickCuts();

  logic_.OnSessionOpened = [this](app::DocumentSession& session) { AddDocumentTab(session); };
  logic_.OnSessionClosing = [this](app::DocumentSession& session) { RemoveDocumentTab(session); };
  logic_.OnCurrentChanged = [this] { ShowCurrentSession(); };
  logic_.OnSessionChanged = [this](app::DocumentSession& session) { ShowSession(session); };
  // A note may be longer than its panel: the tooltip holds it whole.
  logic_.OnStatusNote = [this](const std::string& note) {
    statusPanels_[0]->setText(FromPathBytes(note));
    statusPanels_[0]->setToolTip(FromPathBytes(note));
  };
  logic_.OnRepaintEditor = [this] { Editor().viewport()->update(); };
  logic_.OnFocusEditor = [this] { Editor().setFocus(); };
  logic_.OnSideListsLoaded = [this] {
    for (size_t i = 0; i < sideLists_.size(); ++i) {
      const std::vector<std::string>& items = logic_.SideListItems(static_cast<int>(i));
      if (sideLists_[i]->count() > 0 || items.empty()) continue;
      for (const auto& item : items) sideLists_[i]->addItem(platform::qt::TextFromBytes(item));
    }
  };
  logic_.MRU.OnMenuUpdated = [this] { UpdateRecentMenu(); };
  logic_.OnBusy = [](bool busy) {
    if (busy)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  };

  // Design-time size, centred; then whatever placement the last run stored.
  resize(776, 576);
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
  WindowPlacement placement = CurrentPlacement();
  logic_.SetDesktopDark(QApplication::palette().color(QPalette::Base).lightness() < 128);
  logic_.OnPreferencesApplied = [this] { ShowPreferences(); };
  Run([&] { logic_.FormCreate(placement); });
  liveButton_->setChecked(logic_.CurrentPreferences().livePreviewAtStart);
  ApplyPlacement(placement);

  findDialog_ = new FindDialog(FindDialog::Kind::Find, this);
  replaceDialog_ = new FindDialog(FindDialog::Kind::Replace, this);
  for (FindDialog* dialog : {findDialog_, replaceDialog_})
    connect(dialog, &FindDialog::FindNext, this, [this, dialog] { Run([this, dialog] { FindNext(*dialog); }); });
  connect(replaceDialog_, &FindDialog::Replace, this, [this] { Run([this] { ReplaceOne(); }); });
  connect(replaceDialog_, &FindDialog::ReplaceAll, this, [this] { Run([this] { ReplaceEvery(); }); });

  dialogs_ = std::make_unique<DialogWindows>(
      UpdateWindowServices{*services_.loop, services_.dialogs, services_.shell, services_.registry},
      InsertDialogServices{inserts_, services_.dialogs, logic_, installDir}, this);
  // Installing an update closes the program as the person would: unsaved work is asked about first. The
  // window closes once the update window's command has returned.
  dialogs_->update->UpdateInfo.OnExitRequested = [this] {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  };
  dialogs_->saveToLibrary->Save = [this](const std::string& name) {
    bool saved = false;
    Run([&] { saved = logic_.SaveToLibrary(name); });
    return saved;
  };
}

// The tabs go before the logic's documents they show.
MainWindow::~MainWindow() {
  logic_.OnSessionClosing = [this](app::DocumentSession& session) { RemoveDocumentTab(session); };
  while (!pages_.empty()) RemoveDocumentTab(pages_.begin()->second->Session());
  logic_.OnSessionClosing = nullptr;
}

EditorWidget& MainWindow::Editor() const { return Page(logic_.Current()).ActiveEditor(); }

void MainWindow::ConfigureEditor(EditorWidget& widget) {
  editor::TqeCustomEdit& editor = widget.Editor();
  editor.SetExtraLineSpacing(1);
  editor.SetWantTabs(true);
  editor.SetScrollPastEOL(false);
  editor.Gutter().SetWidth(10);
  editor.Gutter().SetDigitCount(5);
  editor.SetBookmarkImages(&lineStatusImages_);
  editor.SetInsertMode(!logic_.CurrentPreferences().overwriteAtStart);
  ShowPreferences(widget);
  connect(&widget, &EditorWidget::ContextMenuAt, this,
          [this, &widget](QPoint at, QPoint global) { ShowSpellingMenu(widget, at, global); });
  editor.OnChange = [this] { livePreview_.TextChanged(); };
  // The caret position in the second status panel (in UTF-8 the column counts characters, not bytes), and
  // the encoding, which a load or a reinterpretation changes.
  editor.OnSelectionChange = [this, &editor] {
    if (&editor != &CurrentEditor()) return;
    statusPanels_[1]->setText(QString("Row: %1 Col: %2").arg(editor.CaretLine()).arg(editor.CaretCharacterColumn()));
    ShowEncoding();
  };
}

void MainWindow::ShowPreferences(EditorWidget& widget) {
  const app::Preferences& preferences = logic_.CurrentPreferences();
  app::ApplyToView(preferences, widget.Editor());
  app::ApplyToView(logic_.Colours(), widget.Editor());
  widget.SetCaretBlinks(preferences.caretBlink);
  widget.SetCompletionTables(preferences.completion ? &completionTables_ : nullptr);
  widget.viewport()->update();
}

void MainWindow::ShowPreferences() {
  for (const auto& [session, page] : pages_)
    for (EditorWidget* widget : page->Editors()) ShowPreferences(*widget);
  const app::Preferences& preferences = logic_.CurrentPreferences();
  const app::SchemeColours colours = logic_.Colours();
  preview::TPagePreview& viewer = preview_->Viewer();
  viewer.settings.defFontName = preferences.previewFont;
  viewer.settings.defPreFontName = preferences.previewFixedFont;
  viewer.settings.defFontSize = preferences.previewFontSize;
  viewer.settings.defBackground = colours.previewBackground;
  viewer.settings.defFontColor = colours.previewText;
  viewer.settings.defHotSpotColor = colours.previewLink;
  viewer.SetViewImages(preferences.previewImages);
  livePreview_.SetPauseMs(preferences.livePreviewDelayMs);
  // A preview that shows is drawn again with its new defaults.
  if (centrePages_->currentWidget() == preview_->parentWidget()) Run([this] { ShowPreview(); });
}

void MainWindow::ShowCheckPanel(bool shown) {
  app::PageChecker* checker = logic_.Checker();
  if (!checker) return;
  checkPageAction_->setChecked(shown);
  checkPanel_->setVisible(shown);
  checker->SetOpen(shown);
  if (!shown) return;
  checker->OnChecked = [this, checker] {
    if (checker->Checked() == &logic_.Current().Document()) checkPanel_->ShowProblems(checker->Problems());
  };
  checkPanel_->clear();
  checkPanel_->addTopLevelItem(new QTreeWidgetItem({"", "", "", "Checking..."}));
  logic_.CheckCurrentPage();
}

void MainWindow::GoToProblem(int line, int column) {
  EditorWidget& widget = Editor();
  editor::TqeCustomEdit& editor = widget.Editor();
  if (line < 1 || line > editor.LineCount()) return;
  const int byte = app::ByteOfCheckColumn(editor.Lines().Get(line - 1), column, editor.Encoding());
  editor.SetCaretXY({byte + 1, line});
  centrePages_->setCurrentWidget(documentTabs_);
  widget.setFocus();
}

void MainWindow::CreateSpellingMenu(QMenu* menu) {
  menu->setObjectName("SpellingMenu");
  auto* languages = new QActionGroup(this);
  std::vector<std::string> names = app::InstalledDictionaries();
  names.insert(names.begin(), "");
  for (const std::string& name : names) {
    QAction* action = AddAction(menu, name.empty() ? "SpellingNone" : ("Spelling_" + name).c_str(),
                                name.empty() ? "None" : QString::fromStdString(name), "",
                                [this, name] { logic_.SetSpellingLanguage(name); });
    action->setCheckable(true);
    action->setChecked(name == logic_.Spell().Language());
    languages->addAction(action);
  }
}

// The menu over a misspelt word: the dictionary's suggestions (each replaces the word as one undo step),
// Ignore for this session and Add to Dictionary for good.
void MainWindow::ShowSpellingMenu(EditorWidget& widget, QPoint at, QPoint global) {
  editor::TqeCustomEdit& editor = widget.Editor();
  const std::optional<editor::TextSpan> word = editor.MisspeltWordAt(at.x(), at.y());
  if (!word) return;
  const std::string text(editor.Lines().Get(word->line - 1).substr(word->from - 1, word->to - word->from));
  const platform::TextEncoding encoding = editor.Encoding();
  QMenu menu(&widget);
  menu.setObjectName("SpellingSuggestions");
  for (const std::string& suggestion : logic_.Spell().Suggestions(text, encoding)) {
    menu.addAction(platform::qt::TextFromBytes(suggestion, encoding), [this, &editor, span = *word, suggestion] {
      Run([&] { editor.ReplaceRange({span.from, span.line}, {span.to, span.line}, suggestion); });
    });
  }
  if (menu.isEmpty()) menu.addAction("(no suggestions)")->setEnabled(false);
  menu.addSeparator();
  menu.addAction("Ignore", [this, text, encoding] { logic_.Spell().Ignore(text, encoding); });
  menu.addAction("Add to Dictionary", [this, text, encoding] {
    if (!logic_.Spell().AddToDictionary(text, encoding))
      services_.dialogs.MessageBox("Cannot write the personal word list.", app::kApplicationTitle,
                                   platform::MessageIcon::Error, platform::MessageButtons::Ok);
  });
  menu.exec(global);
}

void MainWindow::AddDocumentTab(app::DocumentSession& session) {
  auto* page = new DocumentPage(
      session, [this](EditorWidget& widget) { ConfigureEditor(widget); }, documentTabs_);
  pages_[&session] = page;
  const QSignalBlocker quiet(documentTabs_);
  documentTabs_->addTab(page, "Untitled");
  ShowSession(session);
}

void MainWindow::RemoveDocumentTab(app::DocumentSession& session) {
  const auto found = pages_.find(&session);
  if (found == pages_.end()) return;
  DocumentPage* page = found->second;
  pages_.erase(found);
  const QSignalBlocker quiet(documentTabs_);
  documentTabs_->removeTab(documentTabs_->indexOf(page));
  delete page;
}

void MainWindow::ShowSession(app::DocumentSession& session) {
  const auto found = pages_.find(&session);
  if (found == pages_.end()) return;
  const int index = documentTabs_->indexOf(found->second);
  const std::string& file = session.Pending() ? session.Pending()->file : session.File();
  const QString name =
      file.empty() ? QString("Untitled") : FromPathBytes(std::filesystem::path(file).filename().string());
  documentTabs_->setTabText(index, session.Modified() ? "*" + name : name);
  documentTabs_->setTabToolTip(index, file.empty() ? QString("Untitled") : FromPathBytes(file));
  if (logic_.IsCurrent(session)) setWindowTitle(FromPathBytes(session.Title()));
}

void MainWindow::ShowCurrentSession() {
  DocumentPage& page = Page(logic_.Current());
  {
    const QSignalBlocker quiet(documentTabs_);
    documentTabs_->setCurrentWidget(&page);
  }
  inserts_.SetEditor(CurrentEditor());
  // A name chosen for another tab would read as this one's mode: the box asks again.
  if (languageBox_) languageBox_->setEditText(kLanguagePrompt);
  ShowSession(logic_.Current());
  if (CurrentEditor().OnSelectionChange) CurrentEditor().OnSelectionChange();
  if (checkPanel_ && checkPanel_->isVisible()) logic_.CheckCurrentPage();
  // The preview page, when it shows, shows the document now current.
  if (preview_ && centrePages_->currentWidget() == preview_->parentWidget()) Run([this] { ShowPreview(); });
}

bool MainWindow::ShowDocument(const std::string& path) {
  app::DocumentSession* session = logic_.FindSession(path);
  if (!session) return false;
  logic_.SwitchTo(logic_.IndexOf(*session));
  return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> files;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toLocal8Bit().toStdString());
  if (files.empty()) return;
  event->acceptProposedAction();
  Run([this, &files] { logic_.OpenFiles(files); });
}

void MainWindow::Run(const std::function<void()>& command) { app::RunCommand(services_.dialogs, command); }

QAction* MainWindow::AddAction(QMenu* menu, const char* name, const QString& caption, const QString& shortcut,
                               std::function<void()> handler) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  // A shortcut given to two menu items belongs to the first one made; the second only shows it.
  if (!shortcut.isEmpty() && shortcutsTaken_.insert(shortcut).second)
    action->setShortcut(QKeySequence(shortcut));
  else if (!shortcut.isEmpty())
    action->setText(caption + "\t" + QKeySequence(shortcut).toString(QKeySequence::NativeText));
  connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
  if (menu) menu->addAction(action);
  return action;
}

void MainWindow::ShowEncoding() {
  if (!encodingButton_ || !encodingMenu_) return;
  const platform::TextEncoding encoding = CurrentEditor().Encoding();
  encodingButton_->setText(QString::fromUtf8(platform::EncodingCaption(encoding)));
  if (!encodingButton_->menu()) encodingButton_->setMenu(encodingMenu_);
  Action(encoding == platform::TextEncoding::Utf8 ? "EncodingUtf8" : "EncodingCp1252")->setChecked(true);
}

std::string MainWindow::DocumentBytes(const QString& text) const {
  return platform::qt::BytesFromText(text, CurrentEditor().Encoding());
}

QString MainWindow::DocumentText(std::string_view bytes) const {
  return platform::qt::TextFromBytes(bytes, CurrentEditor().Encoding());
}

QAction* MainWindow::Action(const QString& name) const { return findChild<QAction*>(name); }

QListWidget* MainWindow::SideList(int index) const { return sideLists_.at(index); }

QLabel* MainWindow::StatusPanel(int index) const { return statusPanels_.at(index); }

void MainWindow::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  AddAction(file, "NewFile", "&New", "Ctrl+N", [this] { logic_.NewFileClick(); });
  openMenu_ = file->addMenu("&Open");
  AddAction(openMenu_, "FromFile1", "Open Local File", "Ctrl+O", [this] { logic_.FromFile1Click(); });
  AddAction(openMenu_, "FromWeborFTPSite1", "Open Web File", "Ctrl+W", [this] { OpenWebFile(); });
  recentAnchor_ = openMenu_->addSeparator();
  AddAction(file, "RestoreLastSession1", "Restore Last Session", "", [this] { logic_.RestoreLastSession(); });
  AddAction(file, "Save1", "&Save", "Ctrl+S", [this] { logic_.Save1Click(); });
  AddAction(file, "SaveAs1", "&Save As", "Ctrl+Shift+S", [this] { logic_.SaveAs1Click(); });
  AddAction(file, "SaveAll1", "Save A&ll", "", [this] { logic_.SaveAll1Click(); });
  AddAction(file, "CloseTab1", "&Close", "Ctrl+F4", [this] { logic_.CloseSession(logic_.CurrentIndex()); });
  AddAction(file, "SaveToLibrary1", "Save To Library", "Ctrl+Insert",
            [this] { ShowDialog(dialogs_->saveToLibrary.get()); });
  file->addSeparator();
  AddAction(file, "PrintFile", "&Print", "Ctrl+P", [this] { logic_.PrintFileClick(); });
  AddAction(file, "PrinterSetup1", "Pr&inter Setup", "Ctrl+Shift+F1", [this] { logic_.PrinterSetup1Click(); });
  file->addSeparator();
  AddAction(file, "Exit1", "E&xit", "", [this] { Exit(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
  AddAction(edit, "Undo1", "&Undo", "Ctrl+Z", [this] { Undo(); });
  AddAction(edit, "Redo1", "Redo", "Ctrl+Y", [this] { Redo(); });
  edit->addSeparator();
  AddAction(edit, "Cut1", "&Cut", "Ctrl+X", [this] { CurrentEditor().CutSelection(); });
  AddAction(edit, "Copy1", "C&opy", "Ctrl+C", [this] { Copy(); });
  AddAction(edit, "Paste1", "&Paste", "Ctrl+V", [this] { CurrentEditor().PasteClipboard(); });
  AddAction(edit, "SelectAll1", "Select All", "Ctrl+A", [this] { CurrentEditor().SelectWholeText(); });
  // The selection with its colours, for word processors and mail.
  QAction* copyAsRtf = AddAction(edit, "CopyAsRTF1", "Copy as RTF", "", [this] {
    htmlExport_.ExportToClipboard(CurrentEditor(), CurrentEditor().HighLighter(), Editor().Clipboard());
  });
  connect(edit, &QMenu::aboutToShow, this,
          [this, copyAsRtf] { copyAsRtf->setEnabled(CurrentEditor().HasSelection()); });
  edit->addSeparator();
  AddAction(edit, "Find1", "&Find", "F3", [this] { ShowSearchDialog(findDialog_); });
  AddAction(edit, "Replace1", "&Replace", "Ctrl+F3", [this] { ShowSearchDialog(replaceDialog_); });
  AddAction(edit, "GoToMatching1", "Go to Matching", "Ctrl+M",
            [this] { CurrentEditor().ExecuteCommand(editor::ecGoToMatching, 0); });
  AddAction(edit, "SelectElement1", "Select Element", "Ctrl+Shift+M",
            [this] { CurrentEditor().ExecuteCommand(editor::ecSelectElement, 0); });
  AddAction(edit, "TidyUpPage1", "Tidy Up Page", "", [this] { logic_.TidyUpPage1Click(); });
  edit->addSeparator();
  AddAction(edit, "Preferences1", "Preferences...", "Ctrl+,", [this] { PreferencesDialog(logic_, this).exec(); });
  // Reading the same bytes in the other encoding: nothing in the text changes, only how it is shown.
  encodingMenu_ = edit->addMenu("&Encoding");
  encodingMenu_->setObjectName("EncodingMenu");
  auto* encodings = new QActionGroup(this);
  for (const auto encoding : {platform::TextEncoding::Utf8, platform::TextEncoding::Cp1252}) {
    const bool utf8 = encoding == platform::TextEncoding::Utf8;
    QAction* action = AddAction(encodingMenu_, utf8 ? "EncodingUtf8" : "EncodingCp1252",
                                utf8 ? "Read as &UTF-8" : "Read as &Windows-1252", "",
                                [this, encoding] { CurrentEditor().SetEncoding(encoding); });
    action->setCheckable(true);
    encodings->addAction(action);
  }

  for (const char* title : {"&Insert", "F&orms", "Fo&nts", "F&rames", "&Lists", "&ASP"}) {
    QMenu* menu = menuBar()->addMenu(title);
    for (const TagUiCommand& command : tagCommands_)
      if (command.menu == title)
        AddAction(menu, command.menuItem, command.menuCaption, command.shortcut, command.handler);
  }

  // Two views of the current document, each with its own caret and scroll position.
  QMenu* view = menuBar()->addMenu("&View");
  AddAction(view, "SplitHorizontally1", "Split Horizontally", "",
            [this] { Page(logic_.Current()).Split(Qt::Vertical); });
  AddAction(view, "SplitVertically1", "Split Vertically", "", [this] { Page(logic_.Current()).Split(Qt::Horizontal); });
  AddAction(view, "Unsplit1", "Unsplit", "", [this] { Page(logic_.Current()).Unsplit(); });
  view->addSeparator();
  // Folds belong to the view with the focus.
  for (const auto& [name, caption, keys, command] : {std::tuple{"Fold1", "Fold", "Ctrl+Shift+[", editor::ecFold},
                                                     {"Unfold1", "Unfold", "Ctrl+Shift+]", editor::ecUnfold},
                                                     {"FoldAll1", "Fold All", "", editor::ecFoldAll},
                                                     {"UnfoldAll1", "Unfold All", "", editor::ecUnfoldAll}})
    AddAction(view, name, caption, keys, [this, command = command] { CurrentEditor().ExecuteCommand(command, 0); });
  view->addSeparator();
  checkPageAction_ =
      AddAction(view, "CheckPage1", "Check Page", "F7", [this] { ShowCheckPanel(checkPageAction_->isChecked()); });
  checkPageAction_->setCheckable(true);
  CreateSpellingMenu(view->addMenu("Spelling"));
  view->addSeparator();
  AddAction(view, "NextTab1", "Next Tab", "Ctrl+Tab",
            [this] { logic_.SwitchTo((logic_.CurrentIndex() + 1) % static_cast<int>(logic_.Sessions().size())); });
  AddAction(view, "PreviousTab1", "Previous Tab", "Ctrl+Shift+Tab", [this] {
    const int count = static_cast<int>(logic_.Sessions().size());
    logic_.SwitchTo((logic_.CurrentIndex() + count - 1) % count);
  });
  for (const auto& [name, keys, step] :
       {std::tuple{"NextTabPage1", "Ctrl+PgDown", 1}, {"PreviousTabPage1", "Ctrl+PgUp", -1}}) {
    QAction* action = AddAction(nullptr, name, "", keys, [this, step = step] {
      const int count = static_cast<int>(logic_.Sessions().size());
      logic_.SwitchTo((logic_.CurrentIndex() + count + step) % count);
    });
    addAction(action);
  }

  QMenu* tools = menuBar()->addMenu("&Tools");
  AddAction(tools, "BrowserPreview1", "&Browser Preview", "F11", [this] { logic_.ToolbarButton977Click(); });
  AddAction(tools, "ImportRTFtoHTML1", "Import RTF to HTML", "", [this] { logic_.ImportRTFtoHTML1Click(); });
  AddAction(tools, "CheckforUpdates1", "&Check for Updates", "", [this] { ShowDialog(dialogs_->update.get()); });
  // Refresh Screen has never had an action; it stays for the shortcut's sake.
  AddAction(tools, "RefreshScreen1", "Refresh Screen", "F5", [] {});

  QMenu* help = menuBar()->addMenu("&Help");
  AddAction(help, "Contents1", "&Contents", "F1", [this] { logic_.Contents1Click(); });
  AddAction(help, "About1", "&About", "", [this] {
    dialogs_->about->show();
    dialogs_->about->raise();
  });
}

void MainWindow::CreateToolbars() {
  QToolBar* main = addToolBar("Main");
  main->setObjectName("MainToolbar");
  QStyle* s = style();
  auto button = [&](const char* name, const QString& text, QStyle::StandardPixmap icon, const QString& hint,
                    std::function<void()> handler) {
    QAction* action = AddAction(nullptr, name, text, "", std::move(handler));
    action->setIcon(s->standardIcon(icon));
    action->setToolTip(hint);
    main->addAction(action);
    return action;
  };
  button("NewFileButton", "New", QStyle::SP_FileIcon, "Create a New File", [this] { logic_.NewFileClick(); });

  auto* openOptions = new QToolButton(main);
  openOptions->setObjectName("OpenOptions");
  openOptions->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
  openOptions->setToolTip("Options for Opening Files");
  openOptions->setPopupMode(QToolButton::InstantPopup);
  auto* openDrop = new QMenu(openOptions);
  AddAction(openDrop, "FromFileDrop", "&From File", "", [this] { logic_.FromFile1Click(); });
  AddAction(openDrop, "FromWebSiteDrop", "F&rom Web Site", "", [this] { OpenWebFile(); });
  AddAction(openDrop, "OpenaProject1", "Open a Project", "", [] {});  // never had an action
  openOptions->setMenu(openDrop);
  main->addWidget(openOptions);

  button("SaveFile", "Save", QStyle::SP_DialogSaveButton, "Save File", [this] { logic_.Save1Click(); });
  button("PrintFileButton", "Print", QStyle::SP_FileDialogDetailedView, "Print this Document",
         [this] { logic_.PrintFileClick(); });
  button("Refresh", "Refresh", QStyle::SP_BrowserReload, "Refresh the Editing Window",
         [this] { logic_.RefreshClick(); });
  button("HelpButton", "Help", QStyle::SP_DialogHelpButton, "Help", [this] { logic_.Contents1Click(); });
  button("ToolbarButton977", "Preview", QStyle::SP_ComputerIcon, "Browser Preview",
         [this] { logic_.ToolbarButton977Click(); });
  button("RtfToHtmlButton", "RTF", QStyle::SP_FileLinkIcon, "RTF to HTML", [this] { logic_.ImportRTFtoHTML1Click(); });
  quickCutsButton_ = button("QCBut", "Quick Cuts", QStyle::SP_TitleBarNormalButton, "Quick Cuts", [this] {
    quickCuts_->show();
    quickCutsButton_->setVisible(false);
  });
  quickCutsButton_->setVisible(false);
  button("ToolbarButtonLibrary", "Library", QStyle::SP_DirHomeIcon, "Save Current File to Library",
         [this] { ShowDialog(dialogs_->saveToLibrary.get()); });
  main->setToolButtonStyle(Qt::ToolButtonIconOnly);

  // The tabbed tag toolbar.
  addToolBarBreak();
  QToolBar* tags = addToolBar("Tags");
  tags->setObjectName("TagToolbar");
  auto* pages = new QTabWidget(tags);
  pages->setObjectName("TagPages");
  pages->setDocumentMode(true);
  auto addPage = [pages](const QString& title) {
    auto* page = new QWidget(pages);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    pages->addTab(page, title);
    return row;
  };
  auto addButton = [this](QHBoxLayout* row, const char* name, const QString& caption, const QString& hint,
                          std::function<void()> handler) {
    auto* b = new QToolButton(row->parentWidget());
    QAction* action = AddAction(nullptr, name, caption, "", std::move(handler));
    action->setToolTip(hint);
    b->setDefaultAction(action);
    row->addWidget(b);
    return b;
  };

  QHBoxLayout* document = addPage("Document");
  addButton(document, "ToolbarButton978", "Cut", "Cut", [this] { CurrentEditor().CutSelection(); });
  addButton(document, "ToolbarButton979", "Copy", "Copy", [this] { Copy(); });
  addButton(document, "ToolbarButton9710", "Paste", "Paste", [this] { CurrentEditor().PasteClipboard(); });
  addButton(document, "ToolbarButton9711", "Undo", "Undo", [this] { Undo(); });
  addButton(document, "ToolbarButton9712", "Find", "Find", [this] { ShowSearchDialog(findDialog_); });
  addButton(document, "ToolbarButton9713", "Replace", "Replace", [this] { ShowSearchDialog(replaceDialog_); });
  addButton(document, "ToolbarButton9753", "Redo", "Redo", [this] { Redo(); });
  auto* languages = languageBox_ = new QComboBox(document->parentWidget());
  languages->setObjectName("ComboBox18");
  languages->setEditable(true);
  languages->setInsertPolicy(QComboBox::NoInsert);
  languages->addItems({"AWK", "C++", "CSS", "HTML", "Java", "JavaScript", "Pascal", "Perl", "PHP", "SQL", "VBScript"});
  languages->setEditText(kLanguagePrompt);
  languages->setMinimumContentsLength(20);
  // Names bind only as written: the box's completion (and Enter's match with an item) minds case too.
  languages->completer()->setCaseSensitivity(Qt::CaseSensitive);
  // A chosen or typed name binds its language's highlighter; any other text changes nothing.
  connect(languages, &QComboBox::textActivated, this, [this](const QString& text) {
    if (highlighters::TqeCustomHighLighter* highlighter = logic_.Highlighters().ForLanguage(text.toStdString()))
      CurrentEditor().SetHighLighter(highlighter);
  });
  document->addWidget(languages);
  document->addStretch();

  for (const char* title : {"Standard", "Forms", "Tables", "Fonts", "Frames", "Lists", "ASP"}) {
    QHBoxLayout* row = addPage(title);
    for (const TagUiCommand& command : tagCommands_)
      if (command.page == title)
        addButton(row, command.button.c_str(), command.buttonCaption, command.hint, command.handler);
    if (std::string_view(title) == "ASP") {
      aspVariables_ = new QComboBox(row->parentWidget());
      aspVariables_->setObjectName("ASPVars");
      aspVariables_->setEditable(true);
      aspVariables_->setInsertPolicy(QComboBox::NoInsert);
      for (const char* name : AspVariableNames()) aspVariables_->addItem(name);
      aspVariables_->setEditText(app::kAspVariablesPrompt);
      aspVariables_->setMinimumContentsLength(22);
      row->addWidget(aspVariables_);
      addButton(row, "ToolbarButton9745", "+", "Add ASP Variable to Document",
                [this] { inserts_.AspVariable(DocumentBytes(aspVariables_->currentText())); });
    }
    row->addStretch();
  }

  QHBoxLayout* marks = addPage("Editor Bookmarks");
  const char* names[] = {"SpeedButton1", "SpeedButton2", "SpeedButton3"};
  const char* captions[] = {"Unknown", "Not Ready", "Incorrect"};
  for (int i = 0; i < 3; ++i) {
    QToolButton* b = addButton(marks, names[i], captions[i], captions[i], [this, i] {
      lineStatus_.Click(CurrentEditor(), static_cast<TLineStatusButtons::Button>(i));
      for (int k = 0; k < 3; ++k) lineStatusButtons_[k]->defaultAction()->setChecked(lineStatus_.Down() == k);
    });
    b->defaultAction()->setCheckable(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    lineStatusButtons_.push_back(b);
  }
  marks->addStretch();
  tags->addWidget(pages);
}

std::vector<MainWindow::TagUiCommand> MainWindow::MakeTagCommands() {
  std::vector<TagUiCommand> commands;
  for (const TagCommand& fixed : FixedTagCommands()) {
    std::string button = fixed.handler;
    button.resize(button.size() - 5);  // the handler's name without "Click"
    commands.push_back({fixed.menu ? fixed.menu : "", fixed.menuItem, fixed.menuCaption, fixed.shortcut, fixed.page,
                        button, fixed.buttonCaption, fixed.hint, [this, &fixed] { inserts_.Run(fixed); }});
  }
  // The commands that ask first, after the fixed ones of their menu and page.
  auto insertAfter = [&](const char* menu, TagUiCommand command) {
    auto last = std::find_if(commands.rbegin(), commands.rend(), [&](const TagUiCommand& c) { return c.menu == menu; });
    commands.insert(last.base(), std::move(command));
  };
  insertAfter("&Insert", {"&Insert", "Timestamp1", "&Timestamp", "", "Standard", "ToolbarButton971", "Time",
                          "Insert a Timestamp", [this] { InsertTimestamp(); }});
  insertAfter("&Insert", {"&Insert", "Image1", "&Image", "Ctrl+I", "Standard", "ToolbarButton9716", "Image",
                          "Insert an Image", [this] { ShowDialog(dialogs_->image.get()); }});
  insertAfter("&Insert", {"&Insert", "Script1", "&Script", "Ctrl+Q", "Standard", "ToolbarButton9718", "Script",
                          "Insert a Script", [this] { ShowDialog(dialogs_->script.get()); }});
  insertAfter("&Insert", {"&Insert", "JavaApplet1", "&Java Applet", "Ctrl+J", "Standard", "ToolbarButton9720", "Applet",
                          "Insert a Java Applet", [this] { ShowDialog(dialogs_->applet.get()); }});
  insertAfter("&Insert", {"&Insert", "Hyperlink1", "&Hyperlink", "Ctrl+H", "Standard", "ToolbarButton9719", "Link",
                          "Insert a Hyperlink", [this] { InsertHyperlink(); }});
  insertAfter("&Insert",
              {"&Insert", "ExternalStyleSheet1", "E&xternal Style Sheet", "", "Standard", "ToolbarButton9755", "CSS",
               "Use an External Style Sheet", [this] { ShowDialog(dialogs_->styleSheet.get()); }});
  insertAfter("Fo&nts", {"Fo&nts", "ChangeFont1", "&Change Font", "F9", "Fonts", "ToolbarButton9733", "Font",
                         "Change Font", [this] { inserts_.ChangeFont(services_.dialogs); }});
  return commands;
}

void MainWindow::CreatePages() {
  sidePages_ = new QTabWidget(this);
  sidePages_->setObjectName("PageControl1");
  const char* names[] = {"ListBox1", "ListBox2", "ListBox3"};
  const char* titles[] = {"HTML", "Events", "Functions"};
  for (int i = 0; i < 3; ++i) {
    auto* list = new QListWidget(sidePages_);
    list->setObjectName(names[i]);
    // A click on an item, or Enter on the current one, inserts it below the caret line. Moving the current
    // row does not: Qt moves it on its own when a list gains the focus.
    connect(list, &QListWidget::itemClicked, this, [this, i, list](QListWidgetItem* item) {
      Run([this, i, row = list->row(item)] { InsertSideListItem(i, row); });
    });
    list->installEventFilter(this);
    sideLists_.push_back(list);
    sidePages_->addTab(list, titles[i]);
  }
  sidePages_->addTab(CreateTemplatesPage(), "Templates");

  centrePages_ = new QTabWidget(this);
  centrePages_->setObjectName("PageControl3");
  // One tab a document; a tab's close button and a middle click close it, its tabs can be dragged.
  documentTabs_ = new QTabWidget(centrePages_);
  documentTabs_->setObjectName("DocumentTabs");
  documentTabs_->setDocumentMode(true);
  documentTabs_->setTabsClosable(true);
  documentTabs_->setMovable(true);
  documentTabs_->setUsesScrollButtons(true);
  documentTabs_->tabBar()->installEventFilter(this);
  connect(documentTabs_, &QTabWidget::currentChanged, this,
          [this](int index) { Run([this, index] { logic_.SwitchTo(index); }); });
  connect(documentTabs_, &QTabWidget::tabCloseRequested, this,
          [this](int index) { Run([this, index] { logic_.CloseSession(index); }); });
  connect(documentTabs_->tabBar(), &QTabBar::tabMoved, this,
          [this](int from, int to) { logic_.MoveSession(from, to); });
  centrePages_->addTab(documentTabs_, "HTML Code");
  centrePages_->addTab(CreatePreviewPage(), "HTML Preview");
  centrePages_->addTab(CreateStyleBuilderPage(), "Style Builder");
  connect(centrePages_, &QTabWidget::currentChanged, this, [this] { Run([this] { ShowPreview(); }); });

  // The check panel below the pages, shown by View > Check Page.
  auto* centre = new QSplitter(Qt::Vertical, this);
  centre->setChildrenCollapsible(false);
  centre->addWidget(centrePages_);
  checkPanel_ = new CheckPanel(centre);
  checkPanel_->hide();
  centre->addWidget(checkPanel_);
  centre->setStretchFactor(0, 1);
  connect(checkPanel_, &CheckPanel::ProblemChosen, this, [this](int line, int column) { GoToProblem(line, column); });

  auto* splitter = new QSplitter(this);
  splitter->addWidget(sidePages_);
  splitter->addWidget(centre);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, 556});
  setCentralWidget(splitter);
}

QWidget* MainWindow::CreateStyleBuilderPage() {
  auto* page = new QWidget(centrePages_);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* tools = new QToolBar(page);
  auto* save = NamedToolButton(tools, "ToolbarButton9752", "Save as Style Sheet", "Save as Style Sheet");
  tools->addWidget(save);
  auto* selector = new QComboBox(tools);
  selector->setObjectName("ComboBox17");
  selector->setEditable(true);
  selector->setMinimumContentsLength(22);  // room for "Choose Style Selector"
  for (const char* item : app::StyleSelectors()) selector->addItem(item);
  selector->setCurrentIndex(-1);
  selector->setEditText(app::kSelectorPrompt);
  tools->addWidget(selector);
  layout->addWidget(tools);

  auto* scroll = new QScrollArea(page);
  scroll->setWidgetResizable(true);
  auto* groups = new QWidget(scroll);
  auto* groupsLayout = new QVBoxLayout(groups);
  auto* memo = new QPlainTextEdit(page);
  memo->setObjectName("Memo1");
  for (const app::StyleGroup& group : app::StyleGroups()) {
    auto* box = new QGroupBox(group.title, groups);
    auto* form = new QFormLayout(box);
    std::vector<std::function<std::string()>> texts;
    for (std::size_t i = 0; i < group.controls.size(); ++i) {
      const app::StyleControl& control = group.controls[i];
      if (std::string_view(group.button) == "BitBtn3" && (i == 0 || i == 4))
        form->addRow(new QLabel(i == 0 ? "- MARGINS -" : "- PADDING -", box));
      if (control.items.empty()) {
        auto* edit = new QLineEdit(box);
        edit->setObjectName(control.name);
        form->addRow(control.label, edit);
        texts.push_back([edit] { return platform::qt::BytesFromText(edit->text()); });
      } else {
        auto* combo = new QComboBox(box);
        combo->setObjectName(control.name);
        combo->setEditable(true);
        for (const char* item : control.items) combo->addItem(item);
        combo->setCurrentIndex(-1);
        form->addRow(control.label, combo);
        texts.push_back([combo] { return platform::qt::BytesFromText(combo->currentText()); });
      }
    }
    auto* add = new QPushButton("Add", box);
    add->setObjectName(group.button);
    add->setToolTip("Add Styles to List Below");
    form->addRow(add);
    connect(add, &QPushButton::clicked, this, [&group, texts, memo] {
      std::vector<std::string> values;
      for (const auto& text : texts) values.push_back(text());
      for (const std::string& line : app::Declarations(group, values))
        memo->appendPlainText(platform::qt::TextFromBytes(line));
    });
    groupsLayout->addWidget(box);
  }
  scroll->setWidget(groups);
  layout->addWidget(scroll, 2);
  layout->addWidget(memo, 1);
  connect(save, &QToolButton::clicked, this, [this, selector, memo] {
    Run([this, selector, memo] {
      const auto path =
          services_.dialogs.SaveFile({"Save As Style Sheet", "Cascading Style Sheets (*.css)|*.css", "css", {}});
      if (!path) return;
      std::vector<std::string> lines;
      if (!memo->toPlainText().isEmpty())
        for (const QString& line : memo->toPlainText().split(QLatin1Char('\n')))
          lines.push_back(platform::qt::BytesFromText(line));
      styleSheet_.SaveRule(platform::qt::BytesFromText(selector->currentText()), lines, *path);
    });
  });
  return page;
}

QWidget* MainWindow::CreateTemplatesPage() {
  auto* splitter = new QSplitter(Qt::Vertical, sidePages_);
  const auto list = [](QWidget* parent, const char* name) {
    auto* files = new QListWidget(parent);
    files->setObjectName(name);
    files->setSelectionMode(QAbstractItemView::SingleSelection);
    return files;
  };
  auto* standard = new QWidget(splitter);
  auto* standardLayout = new QVBoxLayout(standard);
  standardLayout->setContentsMargins(0, 0, 0, 0);
  standardLayout->addWidget(new QLabel(" Standard Templates", standard));
  standardTemplates_ = list(standard, "FileListBox1");
  standardLayout->addWidget(standardTemplates_);

  auto* user = new QWidget(splitter);
  auto* userLayout = new QVBoxLayout(user);
  userLayout->setContentsMargins(0, 0, 0, 0);
  auto* header = new QHBoxLayout;
  auto* title = new QLabel(" User-Defined Templates", user);
  // The header gives way to the buttons rather than widening the side pages.
  title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  header->addWidget(title, 1);
  auto* save = NamedToolButton(user, "SpeedButton7", "Save", "Save Current File to Library");
  auto* remove = NamedToolButton(user, "SpeedButton8", "Delete", "Delete the selected template");
  header->addWidget(save);
  header->addWidget(remove);
  userLayout->addLayout(header);
  userTemplates_ = list(user, "FileListBox2");
  userLayout->addWidget(userTemplates_);

  connect(standardTemplates_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    Run([this, name = platform::qt::BytesFromText(item->text())] {
      logic_.OpenTemplate(logic_.Templates().StandardPath(name));
    });
  });
  connect(userTemplates_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    Run([this, name = platform::qt::BytesFromText(item->text())] {
      logic_.OpenTemplate(logic_.Templates().UserPath(name));
    });
  });
  connect(save, &QToolButton::clicked, this, [this] { ShowDialog(dialogs_->saveToLibrary.get()); });
  connect(remove, &QToolButton::clicked, this, [this] {
    if (QListWidgetItem* item = userTemplates_->currentItem())
      Run([this, name = platform::qt::BytesFromText(item->text())] { logic_.DeleteTemplate(name); });
  });
  logic_.OnTemplatesChanged = [this] { FillTemplateLists(); };
  FillTemplateLists();
  return splitter;
}

void MainWindow::FillTemplateLists() {
  const app::TemplateLibrary library = logic_.Templates();
  const auto fill = [](QListWidget* list, const std::vector<std::string>& names) {
    list->clear();
    for (const std::string& name : names) list->addItem(platform::qt::TextFromBytes(name));
  };
  fill(standardTemplates_, library.StandardTemplates());
  fill(userTemplates_, library.UserTemplates());
}

QWidget* MainWindow::CreatePreviewPage() {
  auto* page = new QWidget(centrePages_);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bar = new QLabel("This is a generic preview for cross-browser compatability", page);
  bar->setStyleSheet("font-weight: bold; background: palette(highlight); color: palette(highlighted-text);");
  layout->addWidget(bar);

  auto* tools = new QToolBar(page);
  const auto button = [tools](const char* name, const QString& caption, const QString& hint) {
    QToolButton* b = NamedToolButton(tools, name, caption, hint);
    tools->addWidget(b);
    return b;
  };
  previewBack_ = button("PreviewBack", "Back", "Back (Alt+Left)");
  previewForward_ = button("PreviewForward", "Forward", "Forward (Alt+Right)");
  previewBack_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  previewForward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  address_ = new QLineEdit(tools);
  address_->setObjectName("Edit4");
  tools->addWidget(address_);
  auto* go = button("ToolButton7", "Go!", "Show the page at this path");
  auto* refresh = button("ToolButton1", "Refresh", "Load the page again");
  auto* live = button("PreviewLive", "Live", "Show the editor's text as you type");
  live->setCheckable(true);
  liveButton_ = live;
  layout->addWidget(tools);

  preview_ = new PreviewWidget(page);
  layout->addWidget(preview_, 1);
  preview::TPagePreview& viewer = preview_->Viewer();
  viewer.settings.defBackground = platform::kColorWindow;
  viewer.marginWidth = viewer.marginHeight = 0;
  viewer.borderStyle = preview::BorderStyle::None;
  viewer.historyMaxCount = 10;
  viewer.onOpenExternal = [this](const std::string& url) { logic_.OpenWebAddress(url); };
  viewer.onHistoryChange = [this] { UpdatePreviewButtons(); };
  viewer.onLayoutError = [this](const std::string& message) {
    services_.dialogs.MessageBox(message, app::kApplicationTitle, platform::MessageIcon::Error,
                                 platform::MessageButtons::Ok);
  };
  // A large page takes a moment to read and lay out: the wait cursor says so.
  viewer.onProcessing = [this](bool busy) { logic_.OnBusy(busy); };
  connect(preview_, &PreviewWidget::LinkCovered, this, [this](const QString& url) { statusPanels_[0]->setText(url); });
  connect(go, &QToolButton::clicked, this,
          [this] { Run([this] { preview_->Viewer().LoadHtmlFile(address_->text().toStdString()); }); });
  connect(address_, &QLineEdit::returnPressed, go, &QToolButton::click);
  connect(refresh, &QToolButton::clicked, this, [this] { Run([this] { preview_->Viewer().ReloadFile(); }); });
  connect(previewBack_, &QToolButton::clicked, this, [this] { Run([this] { preview_->Viewer().GoBack(); }); });
  connect(previewForward_, &QToolButton::clicked, this, [this] { Run([this] { preview_->Viewer().GoForward(); }); });
  connect(live, &QToolButton::toggled, this, [this](bool on) {
    livePreview_.SetOn(on);
    if (on) Run([this] { ShowPreview(); });
  });
  UpdatePreviewButtons();
  return page;
}

// Copy takes the preview's selection while the preview page shows (the editor is hidden then).
void MainWindow::Copy() {
  if (preview_ && centrePages_->currentWidget() == preview_->parentWidget())
    preview_->CopySelection();
  else
    CurrentEditor().CopySelection();
}

void MainWindow::ShowPreview() {
  const bool showing = centrePages_->currentWidget() == preview_->parentWidget();
  livePreview_.SetShowing(showing);
  if (showing && livePreview_.On()) return ShowLivePreview();
  preview_->Viewer().LoadHtmlFile(logic_.PreviewFileName(), CurrentEditor().Encoding());
}

void MainWindow::ShowLivePreview() {
  preview_->Viewer().ShowHtmlText(CurrentEditor().Lines().Text(), logic_.DocumentFolder(), CurrentEditor().Encoding());
  preview_->update();
}

void MainWindow::UpdatePreviewButtons() {
  previewBack_->setEnabled(preview_->Viewer().CanGoBack());
  previewForward_->setEnabled(preview_->Viewer().CanGoForward());
}

void MainWindow::CreateStatusBar() {
  struct Panel {
    const char* text;
    int width;
    Qt::Alignment align;
  };
  const Panel panels[] = {{"Welcome!", 75, Qt::AlignLeft},
                          {"Row: 0 Col: 0", 150, Qt::AlignLeft},
                          {"quillmark.example.org", 100, Qt::AlignCenter},
                          {"Press F1 for Help", 200, Qt::AlignCenter}};
  for (const Panel& p : panels) {
    auto* label = new QLabel(p.text, this);
    label->setMinimumWidth(p.width);
    label->setAlignment(p.align | Qt::AlignVCenter);
    statusBar()->addWidget(label);
    statusPanels_.push_back(label);
  }
  encodingButton_ = new QToolButton(this);
  encodingButton_->setObjectName("EncodingButton");
  encodingButton_->setAutoRaise(true);
  encodingButton_->setPopupMode(QToolButton::InstantPopup);
  encodingButton_->setToolTip("How the document's bytes are read; choose to read them in another encoding");
  statusBar()->addPermanentWidget(encodingButton_);
}

void MainWindow::CreateQuickCuts() {
  quickCuts_ = new QDockWidget("Quick Cuts", this);
  quickCuts_->setObjectName("Toolbar9714");
  auto* pages = new QTabWidget(quickCuts_);
  auto* table = new QWidget(pages);
  auto* tableLayout = new QFormLayout(table);
  auto* rows = new QSpinBox(table);
  rows->setObjectName("Edit2");
  rows->setRange(0, 100);
  rows->setValue(1);
  auto* columns = new QSpinBox(table);
  columns->setObjectName("Edit3");
  columns->setRange(1, 100);
  columns->setValue(1);
  // The boxes only ever hold whole numbers in range, so the counts follow their values.
  connect(rows, &QSpinBox::valueChanged, this,
          [this](int value) { Run([this, value] { instantTable_.Edit2Change(std::to_string(value)); }); });
  connect(columns, &QSpinBox::valueChanged, this,
          [this](int value) { Run([this, value] { instantTable_.Edit3Change(std::to_string(value)); }); });
  auto* add = new QPushButton("Add To..", table);
  add->setObjectName("Button1");
  connect(add, &QPushButton::clicked, this,
          [this] { Run([this] { instantTable_.Button1Click(inserts_, std::filesystem::temp_directory_path()); }); });
  tableLayout->addRow("Rows:", rows);
  tableLayout->addRow("Columns", columns);
  tableLayout->addRow(add);
  pages->addTab(table, "Instant Table");
  auto* tools = new QWidget(pages);
  auto* row = new QHBoxLayout(tools);
  auto* calculator = new QPushButton("Calculator", tools);
  calculator->setObjectName("SpeedButton4");
  connect(calculator, &QPushButton::clicked, this, [this] { Run([this] { logic_.SpeedButton4Click(); }); });
  auto* notepad = new QPushButton("Notepad", tools);
  notepad->setObjectName("SpeedButton5");
  connect(notepad, &QPushButton::clicked, this, [this] { Run([this] { logic_.SpeedButton5Click(); }); });
  row->addWidget(calculator);
  row->addWidget(notepad);
  pages->addTab(tools, "Windows Tools");
  pages->setMinimumWidth(pages->tabBar()->sizeHint().width() + 8);
  quickCuts_->setWidget(pages);
  addDockWidget(Qt::RightDockWidgetArea, quickCuts_);
  quickCuts_->setFloating(true);
  // Closing the tool window brings back the main toolbar's button that shows it again.
  connect(quickCuts_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (!visible && !quickCuts_->isVisible() && isVisible()) quickCutsButton_->setVisible(true);
  });
}

void MainWindow::UpdateRecentMenu() {
  const auto& captions = logic_.MRU.MenuCaptions();
  QAction* after = recentItems_.empty() ? recentAnchor_ : recentItems_.back();
  for (size_t i = 0; i < captions.size(); ++i) {
    if (i == recentItems_.size()) {
      // New items go after the last one made so far, the first right after the separator.
      auto* item = new QAction(this);
      const int tag = static_cast<int>(i);
      connect(item, &QAction::triggered, this, [this, tag] { Run([this, tag] { logic_.MRU.MenuItemClicked(tag); }); });
      const QList<QAction*> actions = openMenu_->actions();
      const qsizetype at = actions.indexOf(after);
      openMenu_->insertAction(at + 1 < actions.size() ? actions[at + 1] : nullptr, item);
      recentItems_.push_back(item);
      after = item;
    }
    recentItems_[i]->setText(FromPathBytes(captions[i]));
  }
}

WindowPlacement MainWindow::CurrentPlacement() const {
  WindowPlacement p;
  const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  p.left = normal.x();
  p.top = normal.y();
  p.width = normal.width();
  p.height = normal.height();
  p.caption = windowTitle().toStdString();
  p.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
  return p;
}

void MainWindow::ApplyPlacement(const WindowPlacement& p) {
  setGeometry(p.left, p.top, std::max(200, p.width), std::max(150, p.height));
  restoredState_ = p.state;
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (restoredState_ == 2) setWindowState(windowState() | Qt::WindowMaximized);
  if (restoredState_ == 1) setWindowState(windowState() | Qt::WindowMinimized);
  // The floating tool window starts beside the main window's top right corner.
  quickCuts_->move(frameGeometry().topRight() + QPoint(8, 0));
  Run([this] { logic_.FormShow(arguments_); });
  // Asked once the window stands behind the question, so the person sees what is being recovered into.
  QTimer::singleShot(0, this, [this] { Run([this] { logic_.OfferRecovery(arguments_); }); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  bool mayClose = exiting_;  // Exit has asked what there was to ask; the application's end closes the window
  if (!mayClose) Run([&] { mayClose = logic_.FormClose(CurrentPlacement()); });
  if (mayClose)
    event->accept();
  else
    event->ignore();
}

void MainWindow::Undo() {
  CurrentEditor().Undo();
  Editor().setFocus();
}

void MainWindow::Redo() {
  CurrentEditor().Redo();
  Editor().setFocus();
}

void MainWindow::ShowSearchDialog(FindDialog* dialog) {
  // A selection within one line is what the person most likely looks for.
  const auto& editor = CurrentEditor();
  if (editor.HasSelection() && editor.SelectionStart().line == editor.SelectionEnd().line)
    dialog->findText->setText(DocumentText(editor.SelectedText()));
  ShowDialog(dialog);
  dialog->findText->setFocus();
  dialog->findText->selectAll();
}

bool MainWindow::FindNext(const FindDialog& dialog) {
  const int found = CurrentEditor().SearchReplace(DocumentBytes(dialog.FindText()), {}, dialog.Options());
  if (found == 0) services_.dialogs.Beep();
  return found > 0;
}

void MainWindow::ReplaceOne() {
  if (!app::ReplaceOne(CurrentEditor(), DocumentBytes(replaceDialog_->FindText()),
                       DocumentBytes(replaceDialog_->ReplaceText()), replaceDialog_->Options()))
    services_.dialogs.Beep();
}

void MainWindow::ReplaceEvery() {
  if (replaceDialog_->FindText().isEmpty()) {
    services_.dialogs.Beep();
    return;
  }
  const int replaced = app::ReplaceEvery(CurrentEditor(), DocumentBytes(replaceDialog_->FindText()),
                                         DocumentBytes(replaceDialog_->ReplaceText()), replaceDialog_->Options());
  if (replaced == 0) services_.dialogs.Beep();
  statusPanels_[0]->setText(replaced == 1 ? "Replaced 1 occurrence" : QString("Replaced %1 occurrences").arg(replaced));
}

void MainWindow::ShowDialog(QDialog* dialog) {
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

void MainWindow::OpenWebFile() {
  // The text stays until a fetch has worked: the dialog's OK replaces it then.
  ShowDialog(dialogs_->openWebFile.get());
}

void MainWindow::InsertTimestamp() {
  const QLocale locale = QLocale::system();
  const QDateTime now = QDateTime::currentDateTime();
  inserts_.Timestamp(DocumentBytes(locale.toString(now.date(), QLocale::ShortFormat)),
                     DocumentBytes(locale.toString(now.time(), QLocale::LongFormat)));
}

void MainWindow::InsertHyperlink() {
  HyperlinkDialog& dialog = *dialogs_->hyperlink;
  // Showing a hidden dialog empties its boxes; an open one keeps its address, which is inserted at once.
  ShowDialog(&dialog);
  inserts_.InsertOpenHyperlink(DocumentBytes(dialog.address->text()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (documentTabs_ && watched == documentTabs_->tabBar() && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int index = documentTabs_->tabBar()->tabAt(mouse->position().toPoint());
    if (mouse->button() == Qt::MiddleButton && index >= 0) {
      Run([this, index] { logic_.CloseSession(index); });
      return true;
    }
  }
  const auto list = std::find(sideLists_.begin(), sideLists_.end(), watched);
  if (list != sideLists_.end() && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      const int index = static_cast<int>(list - sideLists_.begin());
      Run([this, index, row = (*list)->currentRow()] { InsertSideListItem(index, row); });
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::InsertSideListItem(int list, int row) {
  const std::vector<std::string>& items = logic_.SideListItems(list);
  if (row < 0 || row >= static_cast<int>(items.size())) return;
  inserts_.SideListItem(items[static_cast<size_t>(row)]);
}

void MainWindow::Exit() {
  if (!logic_.Exit1Click(CurrentPlacement())) return;
  // Ends the program without the close question, which Exit has already asked when it mattered.
  exiting_ = true;
  QCoreApplication::quit();
}

}  // namespace ui
