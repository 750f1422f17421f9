// Checks run one at a time: a new one replaces a running one, whose result is then never heard.
#include "app/PageChecker.h"

#include <map>

namespace app {

PageChecker::~PageChecker() { StopTimer(); }

void PageChecker::SetOpen(bool open) {
  open_ = open;
  if (open) return;
  StopTimer();
  job_.reset();
  ClearMarks();
}

void PageChecker::StopTimer() {
  if (delay_.id) loop_.StopTimer(delay_);
  delay_ = {};
}

void PageChecker::ClearMarks() {
  if (checked_) checked_->SetLineNotes({});
  checked_ = nullptr;
  problems_.clear();
}

void PageChecker::Check(editor::TqeDocument& document, std::filesystem::path folder) {
  if (!open_) return;
  StopTimer();
  target_ = &document;
  struct Shared {
    std::string text;
    platform::TextEncoding encoding;
    std::filesystem::path folder;
    std::vector<PageProblem> problems;
  };
  auto shared = std::make_shared<Shared>(Shared{document.Lines().Text(), document.Encoding(), std::move(folder), {}});
  const unsigned generation = document.Outline().Generation();
  job_ = platform::StartBackgroundJob(
      loop_, [shared] { shared->problems = CheckPage(shared->text, shared->encoding, shared->folder); },
      [this, shared, &document, generation] { Finished(document, generation, std::move(shared->problems)); });
}

void PageChecker::TextChanged(editor::TqeDocument& document, std::filesystem::path folder) {
  if (!open_) return;
  StopTimer();
  target_ = &document;
  delay_ = loop_.StartTimer(kCheckDelayMs, [this, &document, folder = std::move(folder)] { Check(document, folder); });
}

void PageChecker::Forget(editor::TqeDocument& document) {
  if (target_ == &document) {
    job_.reset();
    StopTimer();
    target_ = nullptr;
  }
  if (checked_ == &document) {
    checked_ = nullptr;
    problems_.clear();
  }
}

void PageChecker::Finished(editor::TqeDocument& document, unsigned generation, std::vector<PageProblem> problems) {
  job_.reset();
  target_ = nullptr;
  if (document.Outline().Generation() != generation) return;
  if (checked_ && checked_ != &document) checked_->SetLineNotes({});
  checked_ = &document;
  problems_ = std::move(problems);
  // One note a line: an error outranks a warning, every message of the line in its tooltip.
  std::map<int, editor::TqeDocument::LineNote> notes;
  for (const PageProblem& problem : problems_) {
    if (problem.severity != ProblemSeverity::Error && problem.severity != ProblemSeverity::Warning) continue;
    auto& note = notes[problem.line];
    note.line = problem.line;
    note.error = note.error || problem.severity == ProblemSeverity::Error;
    if (!note.message.empty()) note.message += '\n';
    note.message += problem.message;
  }
  std::vector<editor::TqeDocument::LineNote> ordered;
  for (auto& [line, note] : notes) ordered.push_back(std::move(note));
  document.SetLineNotes(std::move(ordered));
  if (OnChecked) OnChecked();
}

}  // namespace app
