// Names of the panels' inputs and indicators for screen readers, and the tab
// order of both panels.
#pragma once

void NameControlsForScreenReaders();
