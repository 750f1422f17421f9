// Building the main window and routing its commands.
#include "app/MainWindow.h"

#include "app/Highlighters.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace app {
namespace {

// Items whose commands arrive with later work: present, with their captions and shortcuts, but disabled.
const std::function<void()> kNotYet;

QString FromBytes(const std::string& bytes) { return QString::fromLocal8Bit(bytes.c_str()); }

}  // namespace

TForm1::TForm1(const std::string& installDir, MainFormServices services, std::vector<std::string> arguments,
               QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      richEdit1_(new platform::qt::EditorWidget(this)),
      logic_(richEdit1_->Editor(), services, installDir),
      arguments_(std::move(arguments)) {
  setObjectName("Form1");
  setWindowTitle(FromBytes(logic_.Title()));
  auto& editor = richEdit1_->Editor();
  editor.SetFont({"Courier New", 10, 0, 13});
  editor.SetExtraLineSpacing(1);
  editor.SetMaxUndo(30);
  editor.SetTabIndent(4);
  editor.SetWantTabs(true);
  editor.SetScrollPastEOL(false);
  editor.SetRightEdgeColor(platform::kColorButtonShadow);
  editor.Gutter().SetWidth(10);
  editor.Gutter().SetDigitCount(5);
  editor.Gutter().SetShowLineNumbers(true);
  editor.SetBookmarkImages(&ImageList1);
  ConfigureTypeHTML(TypeHTML);
  editor.SetHighLighter(&TypeHTML);
  editor.Lines().SetTextStr("\r\n\r\n\r\n\r\n\r\n");

  CreateMenus();
  CreateToolbars();
  CreatePages();
  CreateStatusBar();
  CreateQuickCuts();

  logic_.OnTitleChanged = [this] { setWindowTitle(FromBytes(logic_.Title())); };
  logic_.OnRepaintEditor = [this] { richEdit1_->viewport()->update(); };
  logic_.OnFocusEditor = [this] { richEdit1_->setFocus(); };
  logic_.OnSideListsLoaded = [this] {
    const std::vector<std::string>* items[] = {&logic_.ListBox1Items, &logic_.ListBox2Items, &logic_.ListBox3Items};
    for (size_t i = 0; i < sideLists_.size(); ++i) {
      if (sideLists_[i]->count() > 0 || items[i]->empty()) continue;
      for (const auto& item : *items[i]) sideLists_[i]->addItem(FromBytes(item));
    }
  };
  logic_.MRU.OnMenuUpdated = [this] { UpdateRecentMenu(); };
  logic_.OnBusy = [](bool busy) {
    if (busy)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  };
  // The caret position in the second status panel.
  editor.OnSelectionChange = [this, &editor] {
    statusPanels_[1]->setText(QString("Row: %1 Col: %2").arg(editor.CaretLine()).arg(editor.CaretColumn()));
  };

  // Design-time size, centred; then whatever placement the last run stored.
  resize(776, 576);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  WindowPlacement placement = CurrentPlacement();
  Run([&] { logic_.FormCreate(placement); });
  ApplyPlacement(placement);

  forms_ = std::make_unique<SecondaryForms>(services_.shell, this);
}

TForm1::~TForm1() = default;

void TForm1::Run(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& e) {
    QMessageBox::critical(this, kApplicationTitle, FromBytes(e.what()));
  }
}

QAction* TForm1::AddAction(QMenu* menu, const char* name, const QString& caption, const QString& shortcut,
                           std::function<void()> handler) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  if (!shortcut.isEmpty()) action->setShortcut(QKeySequence(shortcut));
  if (handler)
    connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
  else
    action->setEnabled(false);
  if (menu) menu->addAction(action);
  return action;
}

QAction* TForm1::Action(const QString& name) const { return findChild<QAction*>(name); }

QListWidget* TForm1::SideList(int index) const { return sideLists_.at(index); }

QLabel* TForm1::StatusPanel(int index) const { return statusPanels_.at(index); }

void TForm1::CreateMenus() {
  auto& editor = richEdit1_->Editor();
  QMenu* file = menuBar()->addMenu("&File");
  AddAction(file, "NewFile", "&New", "Ctrl+N", [this] { logic_.NewFileClick(); });
  openMenu_ = file->addMenu("&Open");
  AddAction(openMenu_, "FromFile1", "Open Local File", "Ctrl+O", [this] { logic_.FromFile1Click(); });
  AddAction(openMenu_, "FromWeborFTPSite1", "Open Web File", "Ctrl+W", kNotYet);
  recentAnchor_ = openMenu_->addSeparator();
  AddAction(file, "SaveAs1", "&Save As", "Ctrl+S", [this] { logic_.SaveAs1Click(); });
  AddAction(file, "SaveToLibrary1", "Save To Library", "Ctrl+Insert", kNotYet);
  file->addSeparator();
  AddAction(file, "PrintFile", "&Print", "Ctrl+P", [this] { logic_.PrintFileClick(); });
  AddAction(file, "PrinterSetup1", "Pr&inter Setup", "Ctrl+Shift+F1", [this] { logic_.PrinterSetup1Click(); });
  file->addSeparator();
  AddAction(file, "Exit1", "E&xit", "", [this] { Exit1Click(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
  AddAction(edit, "Undo1", "&Undo", "Ctrl+Z", [this] { ToolbarButton9711Click(); });
  AddAction(edit, "Redo1", "Redo", "Ctrl+Y", [this] { ToolbarButton9753Click(); });
  edit->addSeparator();
  AddAction(edit, "Cut1", "&Cut", "Ctrl+X", [&editor] { editor.CutSelection(); });
  AddAction(edit, "Copy1", "C&opy", "Ctrl+C", [&editor] { editor.CopySelection(); });
  AddAction(edit, "Paste1", "&Paste", "Ctrl+V", [&editor] { editor.PasteClipboard(); });
  AddAction(edit, "SelectAll1", "Select All", "Ctrl+A", [&editor] { editor.SelectWholeText(); });
  edit->addSeparator();
  AddAction(edit, "Find1", "&Find", "F3", kNotYet);
  AddAction(edit, "Replace1", "&Replace", "Ctrl+F3", kNotYet);

  struct Item {
    const char* name;
    const char* caption;
    const char* shortcut;
  };
  auto addDisabledMenu = [this](const QString& title, std::initializer_list<Item> items) {
    QMenu* menu = menuBar()->addMenu(title);
    for (const Item& item : items) AddAction(menu, item.name, item.caption, item.shortcut, kNotYet);
  };
  addDisabledMenu("&Insert", {{"HorizontalLine1", "&Horizontal Line", ""},
                              {"PageBreak1", "&Page Break", "Ctrl+F2"},
                              {"Timestamp1", "&Timestamp", ""},
                              {"Image1", "&Image", "Ctrl+I"},
                              {"Script1", "&Script", "Ctrl+Q"},
                              {"JavaApplet1", "&Java Applet", "Ctrl+J"},
                              {"Hyperlink1", "&Hyperlink", "Ctrl+H"},
                              {"ExternalStyleSheet1", "E&xternal Style Sheet", ""}});
  addDisabledMenu("F&orms", {{"AddaForm1", "&Add a Form", "Ctrl+Shift+F1"},
                             {"AddaButton1", "Add a Button", ""},
                             {"AddaCheckbox1", "Add a Checkbox", ""},
                             {"AddaRadioButton1", "Add a Radio Button", ""},
                             {"AddaDropDownListbox1", "Add a Drop-Down Listbox", ""},
                             {"AddaTextbox1", "Add a Textbox", ""},
                             {"AddaScrollingTextbox1", "Add a Scrolling Textbox", ""}});
  addDisabledMenu("Fo&nts", {{"Header11", "Header 1", ""},
                             {"Header21", "Header 2", ""},
                             {"Header31", "Header 3", ""},
                             {"Bold1", "Bold", "Ctrl+B"},
                             {"Italic1", "Italic", "Ctrl+I"},
                             {"Strong1", "Strong", ""},
                             {"Emphasis1", "Emphasis", ""},
                             {"Preformatted1", "Preformatted", ""},
                             {"ChangeFont1", "&Change Font", "F9"}});
  addDisabledMenu("F&rames", {{"Frameset1", "Frameset", ""},
                              {"Frame1", "Frame", ""},
                              {"NoFrames1", "No Frames", ""},
                              {"FloatingFrames1", "Floating Frames", ""}});
  addDisabledMenu("&Lists", {{"UnorderedLists1", "Unordered Lists", ""},
                             {"OrderedLists1", "Ordered Lists", ""},
                             {"ListItem1", "List Item", ""},
                             {"Definition1", "Definition", ""},
                             {"DefinitionTerm1", "Definition Term", ""},
                             {"Menu1", "Menu", ""}});
  addDisabledMenu("&ASP", {{"IncludeFile1", "Include File", ""},
                           {"ASPTag1", "ASP Tag", ""},
                           {"ASPOutput1", "ASP Output", ""},
                           {"If1", "If..", ""},
                           {"Else1", "..Else..", ""},
                           {"EndIf1", "..End If", ""}});

  QMenu* tools = menuBar()->addMenu("&Tools");
  AddAction(tools, "BrowserPreview1", "&Browser Preview", "F11", [this] { logic_.ToolbarButton977Click(); });
  AddAction(tools, "ImportRTFtoHTML1", "Import RTF to HTML", "", kNotYet);
  AddAction(tools, "CheckforUpdates1", "&Check for Updates", "", kNotYet);
  // Refresh Screen has never had an action; it stays for the shortcut's sake.
  AddAction(tools, "RefreshScreen1", "Refresh Screen", "F5", [] {});

  QMenu* help = menuBar()->addMenu("&Help");
  AddAction(help, "Contents1", "&Contents", "F1", [this] { logic_.Contents1Click(); });
  AddAction(help, "About1", "&About", "", [this] {
    forms_->Form2->show();
    forms_->Form2->raise();
  });
}

void TForm1::CreateToolbars() {
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
  AddAction(openDrop, "FromWebSiteDrop", "F&rom Web Site", "", kNotYet);
  AddAction(openDrop, "OpenaProject1", "Open a Project", "", [] {});  // never had an action
  openOptions->setMenu(openDrop);
  main->addWidget(openOptions);

  button("SaveFile", "Save", QStyle::SP_DialogSaveButton, "Save File", [this] { logic_.SaveAs1Click(); });
  button("PrintFileButton", "Print", QStyle::SP_FileDialogDetailedView, "Print this Document",
         [this] { logic_.PrintFileClick(); });
  button("Refresh", "Refresh", QStyle::SP_BrowserReload, "Refresh the Editing Window",
         [this] { logic_.RefreshClick(); });
  button("HelpButton", "Help", QStyle::SP_DialogHelpButton, "Help", [this] { logic_.Contents1Click(); });
  button("ToolbarButton977", "Preview", QStyle::SP_ComputerIcon, "Browser Preview",
         [this] { logic_.ToolbarButton977Click(); });
  button("RtfToHtmlButton", "RTF", QStyle::SP_FileLinkIcon, "RTF to HTML", kNotYet);
  QCBut = button("QCBut", "Quick Cuts", QStyle::SP_TitleBarNormalButton, "Quick Cuts", [this] {
    quickCuts_->show();
    QCBut->setVisible(false);
  });
  QCBut->setVisible(false);
  button("SpeedButton7", "Library", QStyle::SP_DirHomeIcon, "Save Current File to Library", kNotYet);
  main->setToolButtonStyle(Qt::ToolButtonIconOnly);

  // The tabbed tag toolbar: its pages' buttons come with the tag insertion commands.
  addToolBarBreak();
  QToolBar* tags = addToolBar("Tags");
  tags->setObjectName("TagToolbar");
  auto* pages = new QTabWidget(tags);
  pages->setObjectName("TagPages");
  pages->setDocumentMode(true);
  auto* document = new QWidget(pages);
  auto* row = new QHBoxLayout(document);
  row->setContentsMargins(2, 2, 2, 2);
  auto& editor = richEdit1_->Editor();
  auto tagButton = [&](const char* name, const QString& caption, std::function<void()> handler) {
    auto* b = new QToolButton(document);
    QAction* action = AddAction(nullptr, name, caption, "", std::move(handler));
    action->setToolTip(caption);
    b->setDefaultAction(action);
    row->addWidget(b);
  };
  tagButton("ToolbarButton978", "Cut", [&editor] { editor.CutSelection(); });
  tagButton("ToolbarButton979", "Copy", [&editor] { editor.CopySelection(); });
  tagButton("ToolbarButton9710", "Paste", [&editor] { editor.PasteClipboard(); });
  tagButton("ToolbarButton9711", "Undo", [this] { ToolbarButton9711Click(); });
  tagButton("ToolbarButton9712", "Find", kNotYet);
  tagButton("ToolbarButton9713", "Replace", kNotYet);
  tagButton("ToolbarButton9753", "Redo", [this] { ToolbarButton9753Click(); });
  auto* languages = new QComboBox(document);
  languages->setObjectName("ComboBox18");
  languages->setEditable(true);
  languages->addItems({"AWK", "C++", "HTML", "Java", "Pascal", "Perl", "SQL", "VBScript"});
  languages->setEditText("Choose Highlighting...");
  languages->setMinimumContentsLength(20);
  languages->setEnabled(false);
  row->addWidget(languages);
  row->addStretch();
  pages->addTab(document, "Document");
  for (const char* page : {"Standard", "Forms", "Tables", "Fonts", "Frames", "Lists", "ASP", "Editor Bookmarks"})
    pages->addTab(new QWidget(pages), page);
  tags->addWidget(pages);
}

void TForm1::CreatePages() {
  leftPages_ = new QTabWidget(this);
  leftPages_->setObjectName("PageControl1");
  const char* names[] = {"ListBox1", "ListBox2", "ListBox3"};
  const char* titles[] = {"HTML", "Events", "Functions"};
  for (int i = 0; i < 3; ++i) {
    auto* list = new QListWidget(leftPages_);
    list->setObjectName(names[i]);
    sideLists_.push_back(list);
    leftPages_->addTab(list, titles[i]);
  }
  leftPages_->addTab(new QWidget(leftPages_), "Templates");

  PageControl3 = new QTabWidget(this);
  PageControl3->setObjectName("PageControl3");
  PageControl3->addTab(richEdit1_, "HTML Code");
  auto* preview = new QWidget(PageControl3);
  auto* previewLayout = new QVBoxLayout(preview);
  auto* bar = new QLabel("This is a generic preview for cross-browser compatability", preview);
  bar->setStyleSheet("font-weight: bold; background: palette(highlight); color: palette(highlighted-text);");
  previewLayout->addWidget(bar);
  previewLayout->addStretch();
  PageControl3->addTab(preview, "HTML Preview");
  PageControl3->addTab(new QWidget(PageControl3), "Style Builder");

  auto* splitter = new QSplitter(this);
  splitter->addWidget(leftPages_);
  splitter->addWidget(PageControl3);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, 556});
  setCentralWidget(splitter);
}

void TForm1::CreateStatusBar() {
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
}

void TForm1::CreateQuickCuts() {
  quickCuts_ = new QDockWidget("Quick Cuts", this);
  quickCuts_->setObjectName("Toolbar9714");
  auto* pages = new QTabWidget(quickCuts_);
  pages->addTab(new QWidget(pages), "Instant Table");
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
  quickCuts_->setWidget(pages);
  addDockWidget(Qt::RightDockWidgetArea, quickCuts_);
  quickCuts_->setFloating(true);
  // Closing the tool window brings back the main toolbar's button that shows it again.
  connect(quickCuts_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (!visible && !quickCuts_->isVisible() && isVisible()) QCBut->setVisible(true);
  });
}

void TForm1::UpdateRecentMenu() {
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
    recentItems_[i]->setText(FromBytes(captions[i]));
  }
}

WindowPlacement TForm1::CurrentPlacement() const {
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

void TForm1::ApplyPlacement(const WindowPlacement& p) {
  setGeometry(p.left, p.top, std::max(200, p.width), std::max(150, p.height));
  restoredState_ = p.state;
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (restoredState_ == 2) setWindowState(windowState() | Qt::WindowMaximized);
  if (restoredState_ == 1) setWindowState(windowState() | Qt::WindowMinimized);
  // The floating tool window starts beside the main window's top right corner.
  quickCuts_->move(frameGeometry().topRight() + QPoint(8, 0));
  Run([this] { logic_.FormShow(arguments_); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  Run([&] { mayClose = logic_.FormClose(CurrentPlacement()); });
  if (mayClose)
    event->accept();
  else
    event->ignore();
}

void TForm1::ToolbarButton9711Click() {
  richEdit1_->Editor().Undo();
  richEdit1_->setFocus();
}

void TForm1::ToolbarButton9753Click() {
  richEdit1_->Editor().Redo();
  richEdit1_->setFocus();
}

void TForm1::Exit1Click() {
  if (!logic_.Exit1Click(CurrentPlacement())) return;
  // Ends the program without the close question, which Exit has already asked when it mattered.
  QCoreApplication::quit();
}

}  // namespace app
