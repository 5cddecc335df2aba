// Menu translation: every item text of a menu tree is a language key replaced by its translation,
// and the language sub-menu ("menu_tool_language") is filled with one item per language.
#pragma once

#include "platform/mfc/Mfc.h"

// Translates the tree in place; the language named current gets the check mark. False when the
// language sub-menu is missing or an item cannot be inserted. Languages beyond the id range of
// the language commands are not listed.
BOOL LocaliseMenu(HMENU menu, const CString& currentLanguage);
// The same with the application's current language (the form the core's helpers call).
BOOL LocaliseMenu(HMENU menu);
