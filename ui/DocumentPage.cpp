// The views of one document in a splitter.
#include "ui/DocumentPage.h"

namespace ui {

DocumentPage::DocumentPage(app::DocumentSession& session, std::function<void(EditorWidget&)> configure, QWidget* parent)
    : QSplitter(parent), session_(session), configure_(std::move(configure)) {
  setChildrenCollapsible(false);
  AddEditor();
}

DocumentPage::~DocumentPage() {
  for (EditorWidget* editor : editors_) session_.RemoveView(editor->Editor());
}

EditorWidget& DocumentPage::AddEditor() {
  auto* editor = new EditorWidget(session_.Document(), this);
  editor->setObjectName("RichEdit1");
  editors_.push_back(editor);
  session_.AddView(editor->Editor());
  connect(editor, &EditorWidget::FocusedIn, this, [this, editor] { session_.SetActiveView(editor->Editor()); });
  if (configure_) configure_(*editor);
  addWidget(editor);
  return *editor;
}

EditorWidget& DocumentPage::ActiveEditor() const {
  for (EditorWidget* editor : editors_)
    if (&editor->Editor() == &session_.View()) return *editor;
  return *editors_.front();
}

void DocumentPage::Split(Qt::Orientation orientation) {
  setOrientation(orientation);
  if (editors_.size() > 1) return;
  const editor::TqeCustomEdit& first = editors_.front()->Editor();
  EditorWidget& second = AddEditor();
  second.Editor().SetTopLine(first.TopLine());
  second.Editor().SetCaretXY(first.CaretXY());
  setSizes({1, 1});
}

void DocumentPage::Unsplit() {
  if (editors_.size() < 2) return;
  EditorWidget* keep = &ActiveEditor();
  for (EditorWidget* editor : std::vector<EditorWidget*>(editors_)) {
    if (editor == keep) continue;
    session_.RemoveView(editor->Editor());
    editors_.erase(std::find(editors_.begin(), editors_.end(), editor));
    delete editor;
  }
  keep->setFocus();
}

}  // namespace ui
