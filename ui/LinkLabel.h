// A label drawn as a link that opens its address with the desktop; its right-click menu copies
// the caption.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

#include "platform/Shell.h"

namespace ui {

class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  LinkLabel(const QString& caption, platform::Shell& shell, QWidget* parent = nullptr);

  QString URL;
  QColor ActiveColor{128, 0, 128};  // purple while the button is held

  // The address a click opens: URL trimmed, or the caption when URL is blank.
  QString Target() const;

 signals:
  // The desktop could not open the address.
  void OpenFailed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void SetTextColor(const QColor& color);
  platform::Shell& shell_;
};

}  // namespace ui
