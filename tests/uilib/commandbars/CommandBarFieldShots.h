// The fields bar of the command bars' screenshot program (CommandBarFieldShots.cpp).
#pragma once

#include <string>

// Writes commandbar-fields.png into the folder; the number of pictures that could not be written.
int ShootFieldsBar(const std::string& folder);
