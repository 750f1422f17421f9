// Link labels.
#include "ui/UrlLabel.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

namespace app {

TUrlLabel::TUrlLabel(const QString& caption, platform::Shell& shell, QWidget* parent)
    : QLabel(caption, parent), shell_(shell) {
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  SetTextColor(Qt::blue);
  setCursor(Qt::PointingHandCursor);
}

QString TUrlLabel::Target() const {
  const QString url = URL.trimmed();
  return url.isEmpty() ? text() : url;
}

void TUrlLabel::SetTextColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, color);
  setPalette(p);
}

void TUrlLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) SetTextColor(ActiveColor);
  QLabel::mousePressEvent(event);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  SetTextColor(Qt::blue);
  if (rect().contains(event->position().toPoint()) && !shell_.OpenDocument(Target().toStdString(), {}))
    emit OpenFailed();
}

void TUrlLabel::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("Copy", this, [this] { QApplication::clipboard()->setText(text()); });
  menu.exec(event->globalPos());
}

}  // namespace app
