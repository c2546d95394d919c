// Internal to the user-interface run-time: the last directory of each kind of
// file popup (by its file type list), kept in the settings between runs.
#pragma once

#include <string>

// The directory the popup for this file type list last chose from, when it
// still exists; else `fallback`.
std::string RememberedPopupDir(const std::string &fileTypeList, const std::string &fallback);
// Keeps the directory of the chosen path for this file type list.
void RememberPopupDir(const std::string &fileTypeList, const std::string &chosenPath);
