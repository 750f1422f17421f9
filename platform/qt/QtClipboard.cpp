// Clipboard transfers through QMimeData.
#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qt/TextBytes.h"

namespace platform::qt {

bool QtClipboard::SetItems(const std::vector<ClipboardItem>& items) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  auto* mime = new QMimeData;
  for (const auto& item : items) {
    if (const auto encoding = TextFormatEncoding(item.format))
      mime->setText(TextFromBytes(item.data, *encoding));
    else
      mime->setData(QString::fromStdString(item.format),
                    QByteArray(item.data.data(), static_cast<qsizetype>(item.data.size())));
  }
  clipboard->setMimeData(mime);
  return true;
}

bool QtClipboard::HasFormat(std::string_view format) const {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime) return false;
  if (TextFormatEncoding(format)) return mime->hasText();
  return mime->hasFormat(QString::fromStdString(std::string(format)));
}

std::optional<std::string> QtClipboard::Data(std::string_view format) const {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime || !HasFormat(format)) return std::nullopt;
  if (const auto encoding = TextFormatEncoding(format)) return BytesFromText(mime->text(), *encoding);
  const QByteArray data = mime->data(QString::fromStdString(std::string(format)));
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

}  // namespace platform::qt
