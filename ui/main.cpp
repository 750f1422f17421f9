// The Quillmark program.
#include "ui/Program.h"

int main(int argc, char** argv) { return ui::RunProgram(argc, argv); }
