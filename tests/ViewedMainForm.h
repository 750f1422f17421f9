// The main window's logic with a bare editor for each of its documents (the cell font and a memory
// clipboard), as the window gives each tab an editor widget.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "app/MainForm.h"
#include "editor/CustomEdit.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryClipboard.h"

struct ViewedMainForm {
  ViewedMainForm(app::MainFormServices services, const std::string& installDir) : form(services, installDir) {
    form.OnSessionOpened = [this](app::DocumentSession& session) {
      views.push_back(std::make_unique<editor::TqeCustomEdit>(fonts, clipboard, session.Document()));
      session.AddView(*views.back());
    };
    form.OnSessionClosing = [this](app::DocumentSession& session) {
      for (editor::TqeCustomEdit* view : std::vector(session.Views())) {
        session.RemoveView(*view);
        views.remove_if([view](const auto& kept) { return kept.get() == view; });
      }
    };
  }
  editor::TqeCustomEdit& Editor() { return form.Editor(); }
  std::string Text() { return form.Editor().Lines().Text(); }

  platform::headless::CellFontEngine fonts;
  platform::headless::MemoryClipboard clipboard;
  // Declared before the logic, so that they outlive it: its end takes them from its documents.
  std::list<std::unique_ptr<editor::TqeCustomEdit>> views;
  app::MainForm form;
};
