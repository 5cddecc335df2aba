// The fields bar of the command bars' screenshot program (CommandBarFieldShots.cpp).
#pragma once

#include <windows.h>

#include <string>

// Writes commandbar-fields.png into the folder; the number of pictures that could not be written.
int ShootFieldsBar(const std::string& folder);
// Writes the picture of the window as the screen shows it (popups over it included) into the folder:
// 0, or 1 when the file could not be written (CommandBarShots.cpp).
int ShootScreen(HWND hwnd, const std::string& folder, const char* name);
