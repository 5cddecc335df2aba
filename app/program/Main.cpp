// The program Reelwright.exe: its one application object. The framework's entry function runs
// it (start-up, message loop, shutdown).
#include "app/shell/ReelwrightApp.h"

CReelwrightApp theApp;
