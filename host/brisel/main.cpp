// brisel [FILE]: the desktop viewer (see MainFrame.h).
#include "MainFrame.h"

int main(int argc, char** argv) { return brisel::RunBrisel(argc, argv); }
