#include "ui/CheckPanel.h"

#include <QHeaderView>

namespace ui {

CheckPanel::CheckPanel(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("CheckPagePanel");
  setColumnCount(4);
  setHeaderLabels({"Line", "Column", "Severity", "Message"});
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  header()->setStretchLastSection(true);
  // itemActivated is Enter (and a double click); a single click moves the caret too.
  auto choose = [this](QTreeWidgetItem* item) {
    if (item) emit ProblemChosen(item->data(0, Qt::UserRole).toInt(), item->data(1, Qt::UserRole).toInt());
  };
  connect(this, &QTreeWidget::itemClicked, this, choose);
  connect(this, &QTreeWidget::itemActivated, this, choose);
}

void CheckPanel::ShowProblems(const std::vector<app::PageProblem>& problems) {
  clear();
  QList<QTreeWidgetItem*> rows;
  for (const app::PageProblem& problem : problems) {
    const std::string_view severity = app::SeverityName(problem.severity);
    auto* row = new QTreeWidgetItem({QString::number(problem.line), QString::number(problem.column),
                                     QString::fromUtf8(severity.data(), static_cast<qsizetype>(severity.size())),
                                     QString::fromStdString(problem.message)});
    row->setData(0, Qt::UserRole, problem.line);
    row->setData(1, Qt::UserRole, problem.column);
    row->setTextAlignment(0, Qt::AlignRight);
    row->setTextAlignment(1, Qt::AlignRight);
    rows.append(row);
  }
  addTopLevelItems(rows);
  if (problems.empty()) addTopLevelItem(new QTreeWidgetItem({"", "", "", "No problems found."}));
  resizeColumnToContents(0);
  resizeColumnToContents(1);
  resizeColumnToContents(2);
}

}  // namespace ui
