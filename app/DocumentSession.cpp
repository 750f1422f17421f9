// A document of the main window and what it knows of its file.
#include "app/DocumentSession.h"

#include <algorithm>

namespace app {

DiskStamp StampOf(const std::string& file) {
  std::error_code ec;
  DiskStamp stamp;
  stamp.written = std::filesystem::last_write_time(file, ec);
  if (ec) return {};
  stamp.size = std::filesystem::file_size(file, ec);
  stamp.known = !ec;
  return stamp;
}

DocumentSession::DocumentSession() : document_(std::make_unique<editor::TqeDocument>()) {}

// The journal's writing thread is stopped first; the views are gone by now (their windows go before the
// document they show).
DocumentSession::~DocumentSession() { journal_.reset(); }

void DocumentSession::AddView(editor::TqeCustomEdit& view) {
  views_.push_back(&view);
  if (!activeView_) activeView_ = &view;
}

void DocumentSession::RemoveView(editor::TqeCustomEdit& view) {
  views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
  if (activeView_ == &view) activeView_ = views_.empty() ? nullptr : views_.front();
}

void DocumentSession::SetActiveView(editor::TqeCustomEdit& view) {
  if (std::find(views_.begin(), views_.end(), &view) != views_.end()) activeView_ = &view;
}

editor::TqeCustomEdit& DocumentSession::View() const {
  if (!activeView_) throw std::logic_error("A document without a view");
  return *activeView_;
}

std::string DocumentSession::PreviewSourceFile() const {
  if (previewFile_) return *previewFile_;
  return !openedFileName_.empty() ? openedFileName_ : savedFileName_;
}

bool DocumentSession::ChangedOnDisk() const {
  if (file_.empty() || !stamp_.known || pending_) return false;
  const DiskStamp now = StampOf(file_);
  return now.known && !(now == stamp_);
}

void DocumentSession::KeepOverDiskChange() {
  keepOverDisk_ = true;
  stamp_ = StampOf(file_);  // asked once for this change; the next save asks before writing over it
}

}  // namespace app
