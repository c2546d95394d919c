// Settings kept between runs, by key ("port/device", "panels/main/top", ...).
// Stored as an INI file in the user's configuration directory
// (~/.config/rvimzel4/RVIMZEL4V14.conf).
#pragma once

// Reads the text of a key into value (size bytes, always terminated).
// Returns 1 when the key was present and fits, else 0 (value then empty).
int SettingsGetText(const char *key, char value[], int size);
void SettingsSetText(const char *key, const char *value);
// Returns 1 and the value when the key holds an integer, else 0.
int SettingsGetInt(const char *key, int *value);
void SettingsSetInt(const char *key, int value);
// Writes pending changes to the file.
void SettingsSync();
// Uses the given file instead of the user's one (tests); nullptr or an empty
// path goes back to the user's file.
void SettingsUseFile(const char *path);
