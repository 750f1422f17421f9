// The program's windows besides the main one: the about box TForm2, and the dialogs of the insertion,
// library and update commands, created once at start-up in the order the program has always used.
#pragma once

#include <QDialog>
#include <memory>

#include "platform/Shell.h"
#include "ui/InsertDialogs.h"

namespace app {

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  TForm2(platform::Shell& shell, QWidget* parent = nullptr);
};

// A dialog whose controls arrive with its command; it already has its caption and border.
class DialogShell : public QDialog {
  Q_OBJECT

 public:
  DialogShell(const char* objectName, const QString& caption, QWidget* parent = nullptr);
};

// TForm2, TForm3, TForm4, TOKBottomDlg1, TForm7, TForm6, TForm8, TUpdateForm, TForm9, made in this order.
struct SecondaryForms {
  SecondaryForms(platform::Shell& shell, InsertDialogServices services, QWidget* owner);
  std::unique_ptr<TForm2> Form2;
  std::unique_ptr<TForm3> Form3;
  std::unique_ptr<TForm4> Form4;
  std::unique_ptr<TOKBottomDlg1> OKBottomDlg1;
  std::unique_ptr<TForm7> Form7;
  std::unique_ptr<TForm6> Form6;
  std::unique_ptr<TForm8> Form8;
  std::unique_ptr<DialogShell> UpdateForm, Form9;
};

}  // namespace app
