// The soak run, only when asked for by name (rvim_bench soak).
#pragma once

// A recording with interval 0 against the line-paced simulator for
// RVIM_SOAK_SECONDS (default 600). Prints soak_rss_growth_kb (resident memory
// growth after the first minute, or after a tenth of a shorter run),
// soak_fd_growth (open descriptors after the run minus before), soak_rows_lost
// (answers received minus rows in the record file) and soak_max_stall_ms (the
// longest gap of the event loop). Returns 0, or 1 when the run failed.
int RunSoak();
