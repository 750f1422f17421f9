// The Check Page panel below the editor: the page check's problems, one a row (line, column, severity,
// message) in document order. A click or Enter on a row asks for the caret to go there.
#pragma once

#include <QTreeWidget>
#include <vector>

#include "app/PageCheck.h"

namespace ui {

class CheckPanel : public QTreeWidget {
  Q_OBJECT

 public:
  explicit CheckPanel(QWidget* parent = nullptr);
  void ShowProblems(const std::vector<app::PageProblem>& problems);

 signals:
  // line and column as the check counts them (1-based).
  void ProblemChosen(int line, int column);
};

}  // namespace ui
