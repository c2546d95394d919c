// Internal to the file operations of the run-time: checked POSIX I/O, the
// seams tests set in its place, and the directory sync.
#pragma once

#include <ctime>
#include <string>

namespace rvutil {

// True when the path is usable (not null, not empty, shorter than kMaxPathname).
bool PathFits(const char *fileName);

// Writes all of text to fd; false on any failure (short write, ENOSPC, EIO).
bool WriteAll(int fd, const std::string &text);
// Reads the whole file; a kFile error code, or kFileOk. A file that is not
// regular or holds more than kMaxReadBytes is kFileCannotOpen, without waiting.
int ReadWholeFile(const char *fileName, std::string *content);

// Whether the user may write the file: access(W_OK) unless a test set a
// check of its own (root passes every access check). nullptr restores it.
bool MayWrite(const char *path);
void SetWriteCheckForTest(bool (*check)(const char *path));

// The name an old file goes aside under before a new one takes its place:
// "<path without extension>-<yyyymmdd-hhmmss of `modified`, local time>"
// with "-<number>" for number > 1, then the extension.
std::string AsideName(const std::string &path, std::time_t modified, int number);

// Whether fd is the file held for a run, which its holder syncs.
bool IsHeldFile(int fd);

// fsync, or what a test set in its place (nullptr restores fsync).
int Sync(int fd);
void SetSyncForTest(int (*sync)(int fd));

// The directory that holds path: "." for a bare name, "/" for one at the root.
std::string DirectoryOf(const std::string &path);
// fsync of a directory, so that an entry made or renamed in it survives a
// crash. Best effort: the entry is there either way.
void SyncDirectory(const std::string &dir);

}  // namespace rvutil
