// Real mouse input for tests that run in a virtual desktop of their own (tools/wineprefix.sh):
// SendInput with the pointer placed exactly on a screen pixel (RealInput.h holds the senders).
#pragma once

#include "RealInput.h"
