// Each control is bound to one member of a working copy of the preferences: a change writes the member and
// puts the copy in effect; showing the copy (at the start and after Restore Defaults) fills every control
// from it without counting as a change.
#include "ui/PreferencesDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Spelling.h"
#include "platform/qt/QtCanvas.h"

namespace ui {
namespace {

platform::Color FromQColor(const QColor& color) { return platform::Rgb(color.red(), color.green(), color.blue()); }

void ShowSwatch(QPushButton* button, platform::Color color) {
  const QColor shown = platform::qt::ToQColor(color);
  button->setText(shown.name());
  button->setStyleSheet(QString("QPushButton { background: %1; color: %2; }")
                            .arg(shown.name(), shown.lightness() < 128 ? "white" : "black"));
}

}  // namespace

PreferencesDialog::PreferencesDialog(app::MainForm& logic, QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      original_(logic.CurrentPreferences()),
      originalLanguage_(logic.Spell().Language()),
      working_(original_) {
  setObjectName("PreferencesDialog");
  setWindowTitle("Preferences");
  auto* layout = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  layout->addWidget(pages_);

  using P = app::Preferences;
  using Page = app::PreferencesPage;
  QFormLayout* editor = AddPage("Editor", "PreferencesEditor", Page::Editor);
  AddFont(editor, "FontName", "Font", &P::fontName, true);
  AddNumber(editor, "FontSize", "Size", &P::fontSize, 6, 72, " pt");
  AddNumber(editor, "TabWidth", "Tab width", &P::tabWidth, 1, 16);
  AddFlag(editor, "TabInsertsBlanks", "Tab inserts blanks", &P::tabInsertsBlanks);
  AddNumber(editor, "RightEdge", "Right edge at column", &P::rightEdge, 0, 1000)->setSpecialValueText("Hidden");
  AddFlag(editor, "LineNumbers", "Line numbers", &P::lineNumbers);
  AddFlag(editor, "HighlightCaretLine", "Highlight the caret's line", &P::highlightCaretLine);
  AddFlag(editor, "ShowBlanks", "Show blanks and tabs", &P::showBlanks);
  AddFlag(editor, "WordWrap", "Wrap lines at the window", &P::wordWrap);
  AddFlag(editor, "CaretBlink", "Blinking caret", &P::caretBlink);
  AddFlag(editor, "OverwriteAtStart", "Overwrite mode in new views", &P::overwriteAtStart);
  AddNumber(editor, "MaxUndo", "Undo depth", &P::maxUndo, 1, 10000, " steps");

  AddSchemeControls(AddPage("Colours", "PreferencesColours", Page::Colours));

  QFormLayout* files = AddPage("Files", "PreferencesFiles", Page::Files);
  AddChoice(files, "NewDocumentsUtf8", "New documents", &P::newDocumentsUtf8, "Windows-1252", "UTF-8");
  AddFlag(files, "DetectUtf8", "Recognise UTF-8 when opening", &P::detectUtf8);
  AddChoice(files, "WriteLf", "Line ends written", &P::writeLf, "CR LF", "LF");
  AddFlag(files, "TrimTrailingBlanks", "Remove blanks at line ends on save", &P::trimTrailingBlanks);
  AddFlag(files, "RestoreSessionAtStart", "Restore the last session at start", &P::restoreSessionAtStart);
  AddNumber(files, "JournalDelay", "Recovery journal after", &P::journalDelayMs, 100, 60000, " ms")->setSingleStep(100);

  QFormLayout* preview = AddPage("Preview", "PreferencesPreview", Page::Preview);
  AddFont(preview, "PreviewFont", "Font", &P::previewFont, false);
  AddFont(preview, "PreviewFixedFont", "Fixed-pitch font", &P::previewFixedFont, true);
  AddNumber(preview, "PreviewFontSize", "Size", &P::previewFontSize, 6, 72, " pt");
  AddFlag(preview, "LivePreviewAtStart", "Live preview at start", &P::livePreviewAtStart);
  AddNumber(preview, "LivePreviewDelay", "Live preview after", &P::livePreviewDelayMs, 50, 10000, " ms")
      ->setSingleStep(50);
  AddFlag(preview, "PreviewImages", "Show images", &P::previewImages);

  QFormLayout* aids = AddPage("Writing aids", "PreferencesWritingAids", Page::WritingAids);
  AddFlag(aids, "AutoCloseTags", "Close tags and quotes as you type", &P::autoCloseTags);
  AddFlag(aids, "ShowMatches", "Show the matching tag or bracket", &P::showMatches);
  AddFlag(aids, "Completion", "Offer completions", &P::completion);
  AddFlag(aids, "CheckWhileTyping", "Check the page again as you type", &P::checkWhileTyping);
  AddSpellingLanguage(aids);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  ShowAll();
}

QFormLayout* PreferencesDialog::AddPage(const QString& caption, const char* name, app::PreferencesPage page) {
  auto* widget = new QWidget(pages_);
  widget->setObjectName(name);
  auto* outer = new QVBoxLayout(widget);
  auto* form = new QFormLayout;
  outer->addLayout(form);
  outer->addStretch(1);
  auto* restore = new QPushButton("Restore Defaults", widget);
  restore->setObjectName(QString(name) + "Defaults");
  outer->addWidget(restore, 0, Qt::AlignRight);
  connect(restore, &QPushButton::clicked, this, [this, page] {
    app::RestoreDefaults(working_, page);
    if (page == app::PreferencesPage::WritingAids) logic_.Spell().SetLanguage("en_US");
    Changed();
    ShowAll();
  });
  pages_->addTab(widget, caption);
  return form;
}

QCheckBox* PreferencesDialog::AddFlag(QFormLayout* page, const char* name, const QString& caption,
                                      bool app::Preferences::*member) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  page->addRow(box);
  shows_.push_back([this, box, member] { box->setChecked(working_.*member); });
  connect(box, &QCheckBox::toggled, this, [this, member](bool on) {
    working_.*member = on;
    Changed();
  });
  return box;
}

QSpinBox* PreferencesDialog::AddNumber(QFormLayout* page, const char* name, const QString& caption,
                                       int app::Preferences::*member, int min, int max, const QString& suffix) {
  auto* box = new QSpinBox;
  box->setObjectName(name);
  box->setRange(min, max);
  box->setSuffix(suffix);
  page->addRow(caption, box);
  shows_.push_back([this, box, member] { box->setValue(working_.*member); });
  connect(box, &QSpinBox::valueChanged, this, [this, member](int value) {
    working_.*member = value;
    Changed();
  });
  return box;
}

QComboBox* PreferencesDialog::AddFont(QFormLayout* page, const char* name, const QString& caption,
                                      std::string app::Preferences::*member, bool fixedPitchFirst) {
  auto* box = new QComboBox;
  box->setObjectName(name);
  QStringList fixed, others;
  for (const QString& family : QFontDatabase::families())
    (fixedPitchFirst && QFontDatabase::isFixedPitch(family) ? fixed : others).append(family);
  box->addItems(fixed + others);
  page->addRow(caption, box);
  shows_.push_back([this, box, member] {
    const QString family = QString::fromStdString(working_.*member);
    // A face this desktop lacks still shows (and stays chosen): the text falls back as the font system does.
    if (box->findText(family) < 0) box->insertItem(0, family);
    box->setCurrentText(family);
  });
  connect(box, &QComboBox::currentTextChanged, this, [this, member](const QString& family) {
    working_.*member = family.toStdString();
    Changed();
  });
  return box;
}

QComboBox* PreferencesDialog::AddChoice(QFormLayout* page, const char* name, const QString& caption,
                                        bool app::Preferences::*member, const QString& whenFalse,
                                        const QString& whenTrue) {
  auto* box = new QComboBox;
  box->setObjectName(name);
  box->addItems({whenFalse, whenTrue});
  page->addRow(caption, box);
  shows_.push_back([this, box, member] { box->setCurrentIndex(working_.*member ? 1 : 0); });
  connect(box, &QComboBox::currentIndexChanged, this, [this, member](int index) {
    working_.*member = index == 1;
    Changed();
  });
  return box;
}

void PreferencesDialog::AddSchemeControls(QFormLayout* page) {
  scheme_ = new QComboBox;
  scheme_->setObjectName("PreferencesScheme");
  scheme_->addItem("Follow the desktop", QString());
  for (std::string_view name : app::kSchemeNames) {
    const QString text = QString::fromUtf8(name.data(), static_cast<int>(name.size()));
    scheme_->addItem(text, text);
  }
  page->addRow("Scheme", scheme_);
  shows_.push_back([this] { scheme_->setCurrentIndex(scheme_->findData(QString::fromStdString(working_.scheme))); });
  connect(scheme_, &QComboBox::currentIndexChanged, this, [this](int index) {
    working_.scheme = scheme_->itemData(index).toString().toStdString();
    Changed();
  });

  language_ = new QComboBox;
  language_->setObjectName("PreferencesLanguage");
  for (const auto& [name, highlighter] : logic_.Highlighters().Coloured())
    language_->addItem(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
  page->addRow("Language", language_);
  // A language's own saved schemes (SQL keeps several), to start the Custom colours from.
  savedSchemes_ = new QComboBox;
  savedSchemes_->setObjectName("PreferencesSavedSchemes");
  page->addRow("Saved schemes", savedSchemes_);
  connect(savedSchemes_, &QComboBox::activated, this, [this](int index) {
    auto* highlighter = ChosenHighlighter();
    if (!highlighter || index < 1 || !highlighter->ApplyUserSetting(index - 1)) return;
    logic_.TakeShownColoursAsCustom();
    ShowCustomChosen();
  });
  attributes_ = new QListWidget;
  attributes_->setObjectName("PreferencesAttributes");
  page->addRow("Attribute", attributes_);
  auto fillAttributes = [this] {
    attributes_->clear();
    savedSchemes_->clear();
    savedSchemes_->addItem("Choose one...");
    if (auto* highlighter = ChosenHighlighter()) {
      for (int i = 0; i < highlighter->AttributeCount(); ++i)
        attributes_->addItem(QString::fromStdString(highlighter->AttributeAt(i)->Name()));
      for (const std::string& name : highlighter->ListUserSettings())
        savedSchemes_->addItem(QString::fromStdString(name));
    }
    savedSchemes_->setEnabled(savedSchemes_->count() > 1);
    attributes_->setCurrentRow(0);
  };
  connect(language_, &QComboBox::currentIndexChanged, this, fillAttributes);
  connect(attributes_, &QListWidget::currentRowChanged, this, [this] { ShowAttribute(); });

  auto* colours = new QHBoxLayout;
  foreground_ = new QPushButton;
  background_ = new QPushButton;
  for (QPushButton* button : {foreground_, background_}) {
    colours->addWidget(new QLabel(button == foreground_ ? "Text" : "Background"));
    colours->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, button] {
      const auto* attribute = ChosenAttribute();
      if (!attribute) return;
      const bool text = button == foreground_;
      const QColor chosen = QColorDialog::getColor(
          platform::qt::ToQColor(text ? attribute->Foreground() : attribute->Background()), this);
      if (!chosen.isValid()) return;
      ChangeAttribute([&](app::TokenLook& look) { (text ? look.foreground : look.background) = FromQColor(chosen); });
    });
  }
  page->addRow(colours);
  auto* styles = new QHBoxLayout;
  bold_ = new QCheckBox("Bold");
  italic_ = new QCheckBox("Italic");
  underline_ = new QCheckBox("Underline");
  bold_->setObjectName("PreferencesBold");
  italic_->setObjectName("PreferencesItalic");
  underline_->setObjectName("PreferencesUnderline");
  for (auto [box, bit] : {std::pair{bold_, platform::kBold}, std::pair{italic_, platform::kItalic},
                          std::pair{underline_, platform::kUnderline}}) {
    styles->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this, bit](bool on) {
      ChangeAttribute([&](app::TokenLook& look) {
        look.style = static_cast<platform::FontStyle>(on ? look.style | bit : look.style & ~bit);
      });
    });
  }
  page->addRow(styles);
  sample_ = new QLabel;
  sample_->setObjectName("PreferencesSample");
  sample_->setMinimumHeight(40);
  sample_->setAlignment(Qt::AlignCenter);
  sample_->setAutoFillBackground(true);
  page->addRow("Sample", sample_);
  shows_.push_back(fillAttributes);
}

void PreferencesDialog::AddSpellingLanguage(QFormLayout* page) {
  auto* box = new QComboBox;
  box->setObjectName("PreferencesSpelling");
  box->addItem("None", QString());
  for (const std::string& name : app::InstalledDictionaries())
    box->addItem(QString::fromStdString(name), QString::fromStdString(name));
  page->addRow("Spelling", box);
  shows_.push_back([this, box] {
    box->setCurrentIndex(std::max(0, box->findData(QString::fromStdString(logic_.Spell().Language()))));
  });
  connect(box, &QComboBox::currentIndexChanged, this, [this, box](int index) {
    if (!showing_) logic_.Spell().SetLanguage(box->itemData(index).toString().toStdString());
  });
}

highlighters::TqeCustomHighLighter* PreferencesDialog::ChosenHighlighter() const {
  const auto coloured = logic_.Highlighters().Coloured();
  const int index = language_->currentIndex();
  return index >= 0 && index < static_cast<int>(coloured.size()) ? coloured[static_cast<std::size_t>(index)].second
                                                                 : nullptr;
}

highlighters::TqeHighLightAttributes* PreferencesDialog::ChosenAttribute() const {
  auto* highlighter = ChosenHighlighter();
  const int row = attributes_->currentRow();
  return highlighter && row >= 0 && row < highlighter->AttributeCount() ? highlighter->AttributeAt(row) : nullptr;
}

void PreferencesDialog::ShowAttribute() {
  const auto* attribute = ChosenAttribute();
  if (!attribute) return;
  ShowSwatch(foreground_, attribute->Foreground());
  ShowSwatch(background_, attribute->Background());
  bold_->setChecked(attribute->Style() & platform::kBold);
  italic_->setChecked(attribute->Style() & platform::kItalic);
  underline_->setChecked(attribute->Style() & platform::kUnderline);
  QFont font(QString::fromStdString(working_.fontName), working_.fontSize);
  font.setBold(attribute->Style() & platform::kBold);
  font.setItalic(attribute->Style() & platform::kItalic);
  font.setUnderline(attribute->Style() & platform::kUnderline);
  sample_->setFont(font);
  sample_->setTextFormat(Qt::PlainText);
  sample_->setText(QString::fromStdString(attribute->Name()) + "  <p class=\"intro\">&amp; 42");
  QPalette palette = sample_->palette();
  palette.setColor(QPalette::Window, platform::qt::ToQColor(attribute->Background()));
  palette.setColor(QPalette::WindowText, platform::qt::ToQColor(attribute->Foreground()));
  sample_->setPalette(palette);
}

void PreferencesDialog::ChangeAttribute(const std::function<void(app::TokenLook&)>& change) {
  const auto* attribute = ChosenAttribute();
  if (!attribute) return;
  app::TokenLook look = app::LookOf(*attribute);
  change(look);
  logic_.SetCustomLook(*ChosenHighlighter(), attributes_->currentRow(), look);
  ShowCustomChosen();
}

// The colours that show became the Custom scheme.
void PreferencesDialog::ShowCustomChosen() {
  working_.scheme = logic_.CurrentPreferences().scheme;
  working_.customBase = logic_.CurrentPreferences().customBase;
  showing_ = true;
  scheme_->setCurrentIndex(scheme_->findData(QString::fromStdString(working_.scheme)));
  showing_ = false;
  ShowAttribute();
}

void PreferencesDialog::Changed() {
  if (showing_) return;
  logic_.ApplyPreferences(working_, false);
  ShowAttribute();
}

void PreferencesDialog::ShowAll() {
  showing_ = true;
  for (const auto& show : shows_) show();
  showing_ = false;
}

void PreferencesDialog::accept() {
  logic_.ApplyPreferences(working_, true);
  logic_.SetSpellingLanguage(logic_.Spell().Language());
  QDialog::accept();
}

void PreferencesDialog::reject() {
  logic_.ForgetCustomLooks();
  logic_.ApplyPreferences(original_, false);
  logic_.Spell().SetLanguage(originalLanguage_);
  QDialog::reject();
}

}  // namespace ui
