// One tab of the editor page: the views of one document, side by side or one above the other when the
// tab is split. Each view has its own caret, selection and scroll position; they share the text, the
// history and the marks.
#pragma once

#include <QSplitter>
#include <functional>
#include <vector>

#include "app/DocumentSession.h"
#include "ui/EditorWidget.h"

namespace ui {

class DocumentPage : public QSplitter {
  Q_OBJECT

 public:
  // configure sets a new view up as the main window sets up its editor.
  DocumentPage(app::DocumentSession& session, std::function<void(EditorWidget&)> configure, QWidget* parent);
  ~DocumentPage() override;

  app::DocumentSession& Session() const { return session_; }
  // The view the commands act on: the one that last had the focus.
  EditorWidget& ActiveEditor() const;
  const std::vector<EditorWidget*>& Editors() const { return editors_; }
  // A second view of the document, beside (Qt::Horizontal) or below (Qt::Vertical) the first, at the
  // first's place in the text; Unsplit keeps the view that had the focus.
  void Split(Qt::Orientation orientation);
  void Unsplit();

 private:
  EditorWidget& AddEditor();

  app::DocumentSession& session_;
  std::function<void(EditorWidget&)> configure_;
  std::vector<EditorWidget*> editors_;
};

}  // namespace ui
