// File, formatting, text and clock operations of the run-time.
#pragma once

#include <cstddef>

#include "platform/util/types.h"

// ---- ArrayToFile / FileToArray -------------------------------------------
// dataType: VAL_CHAR, VAL_INTEGER, VAL_UNSIGNED_INTEGER, VAL_UNSIGNED_SHORT_INTEGER,
// VAL_DOUBLE (types.h).
enum { VAL_GROUPS_TOGETHER = 0, VAL_DATA_MULTIPLEXED = 1 };              // data order
enum { VAL_GROUPS_AS_COLUMNS = 0, VAL_GROUPS_AS_ROWS = 1 };              // file layout
enum { VAL_CONST_WIDTH = 0, VAL_SEP_BY_COMMA = 1, VAL_SEP_BY_TAB = 2 };  // columns
enum { VAL_ASCII = 0, VAL_BINARY = 1 };                                  // file type
enum { VAL_TRUNCATE = 0, VAL_APPEND = 1 };                               // file action

// Error results of the file operations.
enum {
  kFileOk = 0,
  kFileCannotOpen = -1,    // missing, not writable, path too long
  kFileWriteFailed = -2,   // disk full, I/O error
  kFileReadFailed = -3,    // I/O error
  kFileTooFewValues = -4,  // fewer values than asked for
  kFileBadNumber = -5,     // a field that is not a number of that type
  kFileBadArgument = -6,
  kFileTooManyValues = -7,  // more lines of values than asked for
  kFileInUse = -8           // locked by another process
};

// Writes numberOfElements values split into numberOfGroups groups.
// ASCII: groups as columns puts one group per column (one line per element
// index), groups as rows one group per line; VAL_SEP_BY_TAB separates columns
// by one tab, VAL_CONST_WIDTH right-aligns each value in fieldWidth characters.
// Lines end with "\n". Binary: the raw bytes of the array.
// VAL_TRUNCATE replaces the file atomically (a temporary file in the same
// directory, flushed, synced and renamed over the old one), so a failed write
// leaves the old file intact. VAL_APPEND appends and flushes the written bytes
// to the disk before returning; appends to the held file (below) reach the
// disk at the holder's SyncHeldFile instead. Returns kFileOk or a negative error.
int ArrayToFile(const char *fileName, const void *array, int dataType, int numberOfElements,
                int numberOfGroups, int dataOrder, int fileLayout, int columnSeparation,
                int fieldWidth, int fileType, int fileAction);
// Replaces the file with `count` bytes the same atomic way as ArrayToFile
// with VAL_TRUNCATE: on any failure the old file stays as it was. Returns
// kFileOk or a negative error.
int WriteFileAtomically(const char *fileName, const void *bytes, std::size_t count);

// Reads numberOfElements values written as above. ASCII: each line holds
// exactly the values of one line of the layout, separated by blanks or tabs;
// blank lines, CR before LF and a leading UTF-8 byte-order mark are passed
// over; a line with more or fewer values is kFileBadNumber, further lines of
// values kFileTooManyValues. Only regular files up to kMaxReadBytes are read:
// anything else is kFileCannotOpen at once. Returns kFileOk or a negative
// error; on an error the array may be partly written.
constexpr long kMaxReadBytes = 64 * 1024;
int FileToArray(const char *fileName, void *array, int dataType, int numberOfElements,
                int numberOfGroups, int dataOrder, int fileLayout, int fileType);

// Formats `source` into `target` by `format`. Supported form: "%<n>c<%<m>i":
// m ints, each becoming one character (its low byte), then a terminating NUL.
// target must hold n + 1 bytes. Returns the number of characters written or a
// negative result for an unsupported format.
int Fmt(char *target, const char *format, const int *source);

// A file held for a whole run: created fresh (an old file of that name is
// deleted first, and the new one's directory synced), then kept open and
// locked (flock) until CloseHeldFile. kFileInUse when another process holds
// the old or the new file; kFileCannotOpen when the old file cannot be
// deleted or the new one cannot be created. One file is held at a time.
int CreateHeldFile(const char *fileName);
// 1 while fileName still names the held file, 0 once it was deleted or replaced.
int HeldFileInPlace(const char *fileName);
// Flushes what was appended to the held file to the disk: kFileOk, or
// kFileWriteFailed (kFileCannotOpen when no file is held).
int SyncHeldFile();
void CloseHeldFile();

// Deletes a file; a missing file is no error (returns 0). Negative on failure.
int CVI_DeleteFile(const char *fileName);
int StringLength(const char *text);
// Joins directory and file name into path (kMaxPathname bytes). Returns 0, or a
// negative result (path untouched) when the result would not fit.
int MakePathname(const char *directory, const char *fileName, char path[]);
// The directory of the executable (kMaxPathname bytes). Returns 0 or negative.
int GetProjectDir(char directory[]);

// ---- Clock -------------------------------------------------------------------
// Monotonic seconds since an arbitrary origin.
double Timer(void);
// Waits the given number of seconds (processes no events); returns early once
// the waits are ended (below).
int Delay(double seconds);

// ---- Ending the waits ------------------------------------------------------------
// A request to end at once whatever waits for the controller: the main window
// closed, or a stop that must not wait for a time-out. While it stands, Delay
// returns at once, a serial read returns what it has, a serial write writes
// nothing, and the program's waiting loops end on their next pass. It stands
// until ResumeWaits.
void EndWaitsNow(void);
void ResumeWaits(void);
// 1 while the request stands, else 0. Looks first, without running any
// callback, for a close of the main window (EndWaitsOnPanelClose) still
// waiting to be processed, so that a wait that processes no events notices it.
int WaitsEnded(void);
