// Loading the conversion profiles from the "profiles" folder ("menu.xml" lists the profile
// files, each holding categories of profiles) and finding profiles in the loaded categories.
#pragma once

#include "app/core/LeftShowItem.h"

// Loads every profile file that the folder's "menu.xml" lists; appends their categories.
int LoadProfiles(CategoryArray& categories, const CString& folder);
// Appends every category of one profile file; returns 0.
int LoadProfileFile(CategoryArray& categories, const CString& path);
bool GetProfileAt(int profileIndex, int categoryIndex, const CategoryArray& categories, ConvertSetting& out);
// The first profile, in category and then profile order, whose name equals the given one exactly.
bool FindProfileByName(const CategoryArray& categories, const CString& name, ConvertSetting& out);
bool LocateProfileByName(const CategoryArray& categories, const CString& name, int* categoryIndex, int* profileIndex);
void clear_inst_all(CategoryArray& categories);
// Splits at the delimiter ("," when empty); empty inner parts are kept when keepEmpty is set, an
// empty last part never.
void SplitString(const CString& text, const CString& delimiter, bool keepEmpty, CStringArray& out);
