// The program's start: the application object with its error handler, the data folder, the platform
// services and the main window, run until the window closes.
#pragma once

#include <functional>

namespace ui {

class MainWindow;

// started is called with the main window just before it first shows (tests drive it from there).
int RunProgram(int argc, char** argv, const std::function<void(MainWindow&)>& started = {});

}  // namespace ui
