// The main window on the offscreen platform, with its data folder in a temporary directory and dialogs,
// shell and printer answered by fakes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/MemoryRegistry.h"
#include "platform/qt/QtEventLoop.h"
#include "testsupport/FakeDialogs.h"
#include "testsupport/FakePrinter.h"
#include "testsupport/FakeShell.h"
#include "ui/MainWindow.h"

namespace fs = std::filesystem;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : dir(fs::temp_directory_path() / ("quillmark-window-" + std::to_string(::getpid()))) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    // A wait window pumps Qt's events until the transfer it waits for closes it.
    dialogs.runLoop = [](const std::function<bool()>& closed) {
      while (!closed()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    };
    for (const char* name : {"default.htm", "recent.ini", "libhtml.kls", "libevents.kls", "libfunctions.kls"})
      std::ofstream(dir / name, std::ios::binary) << (std::string(name) == "libhtml.kls" ? "<b></b>\r\n" : "x\r\n");
  }
  ~MainWindowTest() override { fs::remove_all(dir); }

  std::unique_ptr<ui::MainWindow> MakeWindow() {
    auto form = std::make_unique<ui::MainWindow>(
        dir.string(), app::MainFormServices{registry, dialogs, shell, printer, "", &loop}, std::vector<std::string>{});
    form->show();
    return form;
  }

  fs::path dir;
  platform::MemoryRegistry registry;
  platform::fakes::FakeDialogs dialogs;
  platform::fakes::FakeShell shell;
  platform::fakes::FakePrinter printer;
  platform::qt::QtEventLoop loop;
};
