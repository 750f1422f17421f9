// The Find and Replace dialogs' widgets.
#include "ui/SearchDialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

FindDialog::FindDialog(Kind kind, QWidget* owner) : QDialog(owner), replaceText(nullptr) {
  const bool replacing = kind == Kind::Replace;
  setObjectName(replacing ? "ReplaceDialog1" : "FindDialog1");
  setWindowTitle(replacing ? "Replace" : "Find");
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(false);

  auto* columns = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* boxes = new QFormLayout;
  findText = new QLineEdit(this);
  findText->setObjectName("FindText");
  findText->setMinimumWidth(240);
  boxes->addRow("Fi&nd what:", findText);
  if (replacing) {
    replaceText = new QLineEdit(this);
    replaceText->setObjectName("ReplaceText");
    boxes->addRow("Re&place with:", replaceText);
  }
  left->addLayout(boxes);
  auto* options = new QHBoxLayout;
  auto* checks = new QVBoxLayout;
  wholeWord = new QCheckBox("Match &whole word only", this);
  wholeWord->setObjectName("WholeWord");
  matchCase = new QCheckBox("Match &case", this);
  matchCase->setObjectName("MatchCase");
  matchCase->setChecked(replacing);
  regularExpression = new QCheckBox("Regular e&xpression", this);
  regularExpression->setObjectName("RegularExpression");
  for (QCheckBox* box : {wholeWord, matchCase, regularExpression}) checks->addWidget(box);
  options->addLayout(checks);
  auto* direction = new QGroupBox("Direction", this);
  auto* directionLayout = new QHBoxLayout(direction);
  up = new QRadioButton("&Up", direction);
  up->setObjectName("Up");
  down = new QRadioButton("&Down", direction);
  down->setObjectName("Down");
  down->setChecked(true);
  directionLayout->addWidget(up);
  directionLayout->addWidget(down);
  options->addWidget(direction);
  left->addLayout(options);
  columns->addLayout(left);

  auto* buttons = new QVBoxLayout;
  auto button = [&](const QString& caption, const char* name, auto signal) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, signal);
    buttons->addWidget(b);
    return b;
  };
  button("&Find Next", "FindNext", &FindDialog::FindNext)->setDefault(true);
  if (replacing) {
    button("&Replace", "Replace", &FindDialog::Replace);
    button("Replace &All", "ReplaceAll", &FindDialog::ReplaceAll);
  }
  button("Cancel", "Cancel", &QDialog::hide);
  buttons->addStretch();
  columns->addLayout(buttons);
}

QString FindDialog::FindText() const { return findText->text(); }

QString FindDialog::ReplaceText() const { return replaceText ? replaceText->text() : QString(); }

editor::TSearchOptions FindDialog::Options() const {
  editor::TSearchOptions options = 0;
  if (!down->isChecked()) options |= editor::soBackwards;
  if (matchCase->isChecked()) options |= editor::soMatchCase;
  if (wholeWord->isChecked()) options |= editor::soWholeWord;
  if (regularExpression->isChecked()) options |= editor::soRegularExpression;
  return options;
}

}  // namespace ui
