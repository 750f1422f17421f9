// The Check Page panel's logic: the current document checked on a worker over a snapshot of its text,
// when the panel opens and again once typing pauses while it is open. A result for a text that changed
// meanwhile is dropped (the next check is on its way); the errors and warnings go to the gutter.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/PageCheck.h"
#include "editor/Document.h"
#include "platform/BackgroundJob.h"
#include "platform/EventLoop.h"

namespace app {

inline constexpr int kCheckDelayMs = 500;

class PageChecker {
 public:
  explicit PageChecker(platform::EventLoop& loop) : loop_(loop) {}
  ~PageChecker();
  PageChecker(const PageChecker&) = delete;
  PageChecker& operator=(const PageChecker&) = delete;

  bool Open() const { return open_; }
  // Closing takes the marks out of the gutter and stops any check.
  void SetOpen(bool open);

  // Checks a document now (folder: where its links are looked for; empty when it has no file). Nothing
  // while the panel is closed.
  void Check(editor::TqeDocument& document, std::filesystem::path folder);
  // The document's text changed: it is checked again once typing pauses.
  void TextChanged(editor::TqeDocument& document, std::filesystem::path folder);
  // A document that goes away is never checked or marked again.
  void Forget(editor::TqeDocument& document);

  // The last result and the document it is for (none yet).
  const std::vector<PageProblem>& Problems() const { return problems_; }
  editor::TqeDocument* Checked() const { return checked_; }
  bool Running() const { return job_ != nullptr; }
  // A new result is in Problems().
  std::function<void()> OnChecked;

 private:
  void StopTimer();
  void Finished(editor::TqeDocument& document, unsigned generation, std::vector<PageProblem> problems);
  void ClearMarks();

  platform::EventLoop& loop_;
  bool open_ = false;
  std::unique_ptr<platform::BackgroundJob> job_;
  platform::TimerId delay_;
  std::vector<PageProblem> problems_;
  editor::TqeDocument* checked_ = nullptr;
  editor::TqeDocument* target_ = nullptr;  // of the waiting timer or the running check
};

}  // namespace app
