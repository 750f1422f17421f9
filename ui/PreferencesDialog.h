// Edit > "Preferences...": a page each for the editor, the colours, files, the preview and the writing
// aids. Every change is put in effect at once in every tab; OK stores what shows, Cancel puts back what was
// there when the dialog opened. Each page has its own "Restore Defaults".
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "app/MainForm.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace ui {

class PreferencesDialog : public QDialog {
  Q_OBJECT

 public:
  PreferencesDialog(app::MainForm& logic, QWidget* parent = nullptr);

  QTabWidget* Pages() const { return pages_; }

  void accept() override;
  void reject() override;

 private:
  // A page of controls bound to preferences; its Restore Defaults button puts its own back. Each control is
  // named after the preference it shows, as the settings file names it.
  QFormLayout* AddPage(const QString& caption, const char* name, app::PreferencesPage page);
  QCheckBox* AddFlag(QFormLayout* page, const char* name, const QString& caption, bool app::Preferences::*member);
  QSpinBox* AddNumber(QFormLayout* page, const char* name, const QString& caption, int app::Preferences::*member,
                      int min, int max, const QString& suffix = {});
  QComboBox* AddFont(QFormLayout* page, const char* name, const QString& caption, std::string app::Preferences::*member,
                     bool fixedPitchFirst);
  // A choice between two captions standing for false and true.
  QComboBox* AddChoice(QFormLayout* page, const char* name, const QString& caption, bool app::Preferences::*member,
                       const QString& whenFalse, const QString& whenTrue);
  void AddSchemeControls(QFormLayout* page);
  void AddSpellingLanguage(QFormLayout* page);
  // The attribute chosen on the Colours page, and its look in the controls and the sample.
  highlighters::TqeCustomHighLighter* ChosenHighlighter() const;
  highlighters::TqeHighLightAttributes* ChosenAttribute() const;
  void ShowAttribute();
  void ChangeAttribute(const std::function<void(app::TokenLook&)>& change);
  void ShowCustomChosen();
  // Puts the working copy in effect, and shows it in every control.
  void Changed();
  void ShowAll();

  app::MainForm& logic_;
  const app::Preferences original_;
  const std::string originalLanguage_;
  app::Preferences working_;
  std::vector<std::function<void()>> shows_;  // each control's way of showing working_
  bool showing_ = false;                      // controls are being filled, not changed by the person

  QTabWidget* pages_ = nullptr;
  QComboBox* scheme_ = nullptr;
  QComboBox* language_ = nullptr;
  QComboBox* savedSchemes_ = nullptr;
  QListWidget* attributes_ = nullptr;
  QPushButton* foreground_ = nullptr;
  QPushButton* background_ = nullptr;
  QCheckBox* bold_ = nullptr;
  QCheckBox* italic_ = nullptr;
  QCheckBox* underline_ = nullptr;
  QLabel* sample_ = nullptr;
};

}  // namespace ui
