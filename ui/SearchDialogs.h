// The Find and Replace dialogs: modeless, with the controls of the desktop's usual ones (find text,
// replacement, match case, whole word, direction, Find Next, Replace, Replace All, Cancel) and a box for
// regular expressions. They only gather what the person wants; the main window searches.
#pragma once

#include <QDialog>
#include <QString>

#include "editor/EditSearch.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ui {

class FindDialog : public QDialog {  // "FindDialog1"; with a replacement box "ReplaceDialog1"
  Q_OBJECT

 public:
  enum class Kind { Find, Replace };
  FindDialog(Kind kind, QWidget* owner);

  QString FindText() const;
  QString ReplaceText() const;
  // The editor's search options the boxes ask for (backwards unless the direction is down).
  editor::TSearchOptions Options() const;

  QLineEdit* findText;           // "FindText"
  QLineEdit* replaceText;        // "ReplaceText"; none in the find dialog
  QCheckBox* wholeWord;          // "WholeWord"
  QCheckBox* matchCase;          // "MatchCase"
  QCheckBox* regularExpression;  // "RegularExpression"
  QRadioButton *up, *down;       // "Up", "Down"

 signals:
  void FindNext();
  void Replace();
  void ReplaceAll();
};

}  // namespace ui
