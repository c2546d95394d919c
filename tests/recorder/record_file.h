// The record file as the tests read it: the header text, the whole file and
// the rows after line 1.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline constexpr char kRecHeader[] = "R-VIM-ZEL4-RECORDER-FILE: Time-Interval[s]: ";
inline constexpr char kWriteErrorText[] = "Record file write error - recording stopped!";

// Contents of a file; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The complete lines after line 1.
inline std::vector<std::string> RowLines(const std::string &content) {
  std::vector<std::string> rows;
  std::size_t at = content.find('\n');
  while (at != std::string::npos) {
    const std::size_t end = content.find('\n', at + 1);
    if (end == std::string::npos) break;
    rows.push_back(content.substr(at + 1, end - at - 1));
    at = end;
  }
  return rows;
}
