// Link labels.
#include "ui/LinkLabel.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

namespace ui {

LinkLabel::LinkLabel(const QString& caption, platform::Shell& shell, QWidget* parent)
    : QLabel(caption, parent), shell_(shell) {
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  SetTextColor(Qt::blue);
  setCursor(Qt::PointingHandCursor);
}

QString LinkLabel::Target() const {
  const QString url = URL.trimmed();
  return url.isEmpty() ? text() : url;
}

void LinkLabel::SetTextColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, color);
  setPalette(p);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) SetTextColor(ActiveColor);
  QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  SetTextColor(Qt::blue);
  if (rect().contains(event->position().toPoint()) && !shell_.OpenDocument(Target().toStdString(), {}))
    emit OpenFailed();
}

void LinkLabel::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("Copy", this, [this] { QApplication::clipboard()->setText(text()); });
  menu.exec(event->globalPos());
}

}  // namespace ui
