// The main window ("Form1"): menus, toolbars, side lists, the centre pages with the editor, the status bar
// and the "Quick Cuts" tool window. Commands are carried out by app::MainForm and app::InsertCommands.
#pragma once

#include <QLineEdit>
#include <QMainWindow>
#include <QToolButton>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Highlighters.h"
#include "app/InsertCommands.h"
#include "app/InstantTable.h"
#include "app/LineStatusButtons.h"
#include "app/LivePreview.h"
#include "app/MainForm.h"
#include "app/StyleBuilder.h"
#include "editor/Completion.h"
#include "editor/MarkGlyphs.h"
#include "editor/RtfExport.h"
#include "ui/CheckPanel.h"
#include "ui/DialogWindows.h"
#include "ui/DocumentPage.h"
#include "ui/EditorWidget.h"
#include "ui/PreviewWidget.h"
#include "ui/SearchDialogs.h"

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QListWidget;
class QMenu;
class QTabWidget;
class QToolButton;

namespace ui {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // arguments: the command line after the program name; the logic reads them when the window first shows.
  MainWindow(const std::string& installDir, app::MainFormServices services, std::vector<std::string> arguments,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  app::MainForm& Logic() { return logic_; }
  // The view of the current tab that the commands act on.
  EditorWidget& Editor() const;
  QTabWidget* DocumentTabs() const { return documentTabs_; }
  DocumentPage& Page(const app::DocumentSession& session) const { return *pages_.at(&session); }
  // Shows the tab of path when one of the window's documents is that file (asked by other programs).
  bool ShowDocument(const std::string& path);
  DialogWindows& Dialogs() { return *dialogs_; }
  FindDialog* FindWindow() const { return findDialog_; }
  FindDialog* ReplaceWindow() const { return replaceDialog_; }
  // A menu or toolbar action by its object name (the handler's control, e.g. "NewFile").
  QAction* Action(const QString& name) const;
  QMenu* OpenMenu() const { return openMenu_; }
  QListWidget* SideList(int index) const;
  QLabel* StatusPanel(int index) const;
  QDockWidget* QuickCuts() const { return quickCuts_; }
  PreviewWidget* Preview() const { return preview_; }
  app::TInstantTable& InstantTable() { return instantTable_; }

  app::WindowPlacement CurrentPlacement() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Files dropped on the window open in tabs of their own.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Enter on a side list inserts its current item.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The tab of a new document, its view set up as the design's editor; the tab of one that goes.
  void AddDocumentTab(app::DocumentSession& session);
  void RemoveDocumentTab(app::DocumentSession& session);
  void ConfigureEditor(EditorWidget& widget);
  // The preferences in effect on one view, or on every view and the preview.
  void ShowPreferences(EditorWidget& widget);
  void ShowPreferences();
  // The tab's caption and tooltip (file name or "Untitled", a mark while modified), and the window's title.
  void ShowSession(app::DocumentSession& session);
  // Another tab is current: the commands, the title, the status bar and the preview follow it.
  void ShowCurrentSession();
  editor::TqeCustomEdit& CurrentEditor() const { return Editor().Editor(); }
  void CreateMenus();
  void CreateToolbars();
  void CreatePages();
  void CreateSpellingMenu(QMenu* menu);
  void ShowCheckPanel(bool shown);
  // The caret to a problem of the check (its line and column as the check counts them).
  void GoToProblem(int line, int column);
  void ShowSpellingMenu(EditorWidget& widget, QPoint at, QPoint global);
  void CreateStatusBar();
  QWidget* CreatePreviewPage();
  QWidget* CreateTemplatesPage();
  QWidget* CreateStyleBuilderPage();
  void FillTemplateLists();
  // Loads the preview for the document (or shows the editor's text while the live preview is on).
  void ShowPreview();
  void Copy();
  void ShowLivePreview();
  void UpdatePreviewButtons();
  void CreateQuickCuts();
  QAction* AddAction(QMenu* menu, const char* name, const QString& caption, const QString& shortcut,
                     std::function<void()> handler);
  void ApplyPlacement(const app::WindowPlacement& placement);
  void UpdateRecentMenu();
  // A command of the insert menus and the tag toolbar, with its menu item and its button.
  struct TagUiCommand {
    QString menu;  // empty: the toolbar only
    const char* menuItem;
    QString menuCaption;
    QString shortcut;
    QString page;
    std::string button;
    QString buttonCaption;
    QString hint;
    std::function<void()> handler;
  };
  std::vector<TagUiCommand> MakeTagCommands();
  void ShowDialog(QDialog* dialog);

  // Commands the window carries out itself.
  void Undo();
  void Redo();
  void OpenWebFile();
  void InsertTimestamp();
  void InsertHyperlink();
  void InsertSideListItem(int list, int row);
  void ShowSearchDialog(FindDialog* dialog);
  // Find Next of either dialog; false when nothing was found (after a beep).
  bool FindNext(const FindDialog& dialog);
  void ReplaceOne();
  void ReplaceEvery();
  void Exit();
  // Runs a command; an error is shown in a message box and the command stops there.
  void Run(const std::function<void()>& command);
  // Text from boxes and dialogs as bytes of the document's encoding, and the document's bytes as text.
  std::string DocumentBytes(const QString& text) const;
  QString DocumentText(std::string_view bytes) const;
  // The encoding menu's items and the status bar's button follow the document's encoding.
  void ShowEncoding();

  app::MainFormServices services_;
  editor::LineStatusImages lineStatusImages_;
  app::MainForm logic_;
  // The completion lists' names, read once from the data folder.
  editor::CompletionTables completionTables_;
  app::InsertCommands inserts_;
  app::TInstantTable instantTable_;
  app::TLineStatusButtons lineStatus_;
  editor::TqeRtfExport htmlExport_;
  std::vector<TagUiCommand> tagCommands_;
  std::unique_ptr<DialogWindows> dialogs_;
  std::vector<std::string> arguments_;
  bool shown_ = false;
  bool exiting_ = false;
  int restoredState_ = 0;

  QMenu* openMenu_ = nullptr;
  QAction* recentAnchor_ = nullptr;
  std::vector<QAction*> recentItems_;
  QTabWidget* sidePages_ = nullptr;
  QTabWidget* centrePages_ = nullptr;
  QTabWidget* documentTabs_ = nullptr;
  std::map<const app::DocumentSession*, DocumentPage*> pages_;
  std::vector<QListWidget*> sideLists_;
  std::vector<QLabel*> statusPanels_;
  QToolButton* encodingButton_ = nullptr;
  QMenu* encodingMenu_ = nullptr;
  QDockWidget* quickCuts_ = nullptr;
  QComboBox* aspVariables_ = nullptr;
  QComboBox* languageBox_ = nullptr;
  std::vector<QToolButton*> lineStatusButtons_;
  std::set<QString> shortcutsTaken_;
  QAction* quickCutsButton_ = nullptr;
  FindDialog* findDialog_ = nullptr;
  FindDialog* replaceDialog_ = nullptr;
  PreviewWidget* preview_ = nullptr;
  CheckPanel* checkPanel_ = nullptr;
  QAction* checkPageAction_ = nullptr;
  app::TStyleSheet styleSheet_;
  QListWidget* standardTemplates_ = nullptr;
  QListWidget* userTemplates_ = nullptr;
  QLineEdit* address_ = nullptr;
  QToolButton* previewBack_ = nullptr;
  QToolButton* previewForward_ = nullptr;
  QToolButton* liveButton_ = nullptr;
  platform::qt::QtEventLoop liveLoop_;
  app::LivePreview livePreview_{liveLoop_, [this] { Run([this] { ShowLivePreview(); }); }};
};

}  // namespace ui
