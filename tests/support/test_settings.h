// Settings of a test process: files of its own in a temporary folder, never
// the user's.
#pragma once

namespace testsupport {

// Points the settings at a new, empty file in the process's temporary folder.
void UseFreshSettings();

}  // namespace testsupport
