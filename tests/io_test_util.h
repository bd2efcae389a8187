// Helpers of the text layer's tests: a scratch directory, whole-file reads and
// writes, and a fixture that leaves the units as it found them.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/units.h"

namespace iotest {

// A fresh directory under the system's temporary directory, removed at the end.
class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kav_io_XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void spit(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The records of a file written by the text layer: every record ends with CR
// LF, and no other LF may appear.
inline std::vector<std::string> crlf_records(const std::string& bytes) {
  std::vector<std::string> recs;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t lf = bytes.find('\n', at);
    if (lf == std::string::npos) {
      ADD_FAILURE() << "last record has no line feed: '" << bytes.substr(at) << "'";
      recs.push_back(bytes.substr(at));
      break;
    }
    if (lf == at || bytes[lf - 1] != '\r') {
      ADD_FAILURE() << "record without CR before LF at byte " << lf;
      recs.push_back(bytes.substr(at, lf - at));
    } else {
      recs.push_back(bytes.substr(at, lf - 1 - at));
    }
    at = lf + 1;
  }
  return recs;
}

// Every test starts and ends with all numbered units closed and the console
// on the process's own descriptors.
class UnitsTest : public ::testing::Test {
 protected:
  void SetUp() override { io::reset_units(); }
  void TearDown() override { io::reset_units(); }
  TempDir dir;
};

}  // namespace iotest
