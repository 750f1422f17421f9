// TForm1, the main window: menus, toolbars, side lists, the centre pages with the editor, the status bar
// and the "Quick Cuts" tool window. Commands are carried out by app::MainForm.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/InsertCommands.h"
#include "app/InstantTable.h"
#include "app/LineStatusButtons.h"
#include "app/MainForm.h"
#include "editor/MarkGlyphs.h"
#include "highlighters/HtmlHighlighter.h"
#include "ui/EditorWidget.h"
#include "ui/Forms.h"

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QListWidget;
class QMenu;
class QTabWidget;
class QToolButton;

namespace app {

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // arguments: the command line after the program name; FormShow reads them when the window first shows.
  TForm1(const std::string& installDir, MainFormServices services, std::vector<std::string> arguments,
         QWidget* parent = nullptr);
  ~TForm1() override;

  MainForm& Logic() { return logic_; }
  platform::qt::EditorWidget& RichEdit1() { return *richEdit1_; }
  SecondaryForms& Dialogs() { return *forms_; }
  // A menu or toolbar action by its object name (the handler's control, e.g. "NewFile").
  QAction* Action(const QString& name) const;
  QMenu* OpenMenu() const { return openMenu_; }
  QListWidget* SideList(int index) const;
  QLabel* StatusPanel(int index) const;
  QDockWidget* QuickCuts() const { return quickCuts_; }
  TInstantTable& InstantTable() { return instantTable_; }

  WindowPlacement CurrentPlacement() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Enter on a side list inserts its current item.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateMenus();
  void CreateToolbars();
  void CreatePages();
  void CreateStatusBar();
  void CreateQuickCuts();
  QAction* AddAction(QMenu* menu, const char* name, const QString& caption, const QString& shortcut,
                     std::function<void()> handler);
  void ApplyPlacement(const WindowPlacement& placement);
  void UpdateRecentMenu();
  void Exit1Click();
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
  void FromWeborFTPSite1Click();
  void ToolbarButton971Click();   // Timestamp
  void ToolbarButton9719Click();  // Hyperlink
  void ListBoxClick(int list, int row);
  void ToolbarButton9711Click();  // Undo
  void ToolbarButton9753Click();  // Redo
  // Runs a command; an error is shown in a message box and the command stops there.
  void Run(const std::function<void()>& command);

  MainFormServices services_;
  highlighters::TzrHTMLSyn TypeHTML;
  editor::LineStatusImages ImageList1;
  platform::qt::EditorWidget* richEdit1_;
  MainForm logic_;
  InsertCommands inserts_;
  TInstantTable instantTable_;
  TLineStatusButtons lineStatus_;
  std::vector<TagUiCommand> tagCommands_;
  std::unique_ptr<SecondaryForms> forms_;
  std::vector<std::string> arguments_;
  bool shown_ = false;
  int restoredState_ = 0;

  QMenu* openMenu_ = nullptr;
  QAction* recentAnchor_ = nullptr;
  std::vector<QAction*> recentItems_;
  QTabWidget* leftPages_ = nullptr;
  QTabWidget* PageControl3 = nullptr;
  std::vector<QListWidget*> sideLists_;
  std::vector<QLabel*> statusPanels_;
  QDockWidget* quickCuts_ = nullptr;
  QComboBox* ASPVars = nullptr;
  std::vector<QToolButton*> lineStatusButtons_;
  std::set<QString> shortcutsTaken_;
  QAction* QCBut = nullptr;
};

}  // namespace app
