// Helpers for tests that run code in-process with files and the console:
// a temporary working folder, a console bound to files, whole-file reads.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "io/units.h"

namespace testsupport {

inline std::string read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

inline void write_file(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
}

// Records of a file written with CR LF endings, without the endings.
inline std::vector<std::string> file_records(const std::string& text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      out.push_back(text.substr(pos));
      break;
    }
    out.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return out;
}

// Lines of console text (LF endings), without the endings.
inline std::vector<std::string> console_lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) {
      out.push_back(text.substr(pos));
      break;
    }
    out.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return out;
}

// A fresh temporary folder made the working directory for the test's life;
// the console reads `input` and writes to a file read back by console().
class Sandbox {
 public:
  explicit Sandbox(const std::string& console_input = "") {
    char tmpl[] = "/tmp/kavtest-XXXXXX";
    dir_ = mkdtemp(tmpl);
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    write_file("console.in", console_input);
    in_fd_ = ::open("console.in", O_RDONLY);
    out_fd_ = ::open("console.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    io::reset_units();
    io::bind_console(in_fd_, out_fd_);
  }
  ~Sandbox() {
    io::reset_units();
    ::close(in_fd_);
    ::close(out_fd_);
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  // Everything written to the console so far.
  std::string console() {
    io::flush_all();
    return read_file(dir_ + "/console.out");
  }
  std::string file(const std::string& name) {
    io::flush_all();
    return read_file(dir_ + "/" + name);
  }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
  std::filesystem::path old_;
  int in_fd_ = -1, out_fd_ = -1;
};

}  // namespace testsupport

#include "ephemeris/Lune.h"

namespace testsupport {

// Loads the real lunar series at level 3 (copied into the current folder);
// false when the file is not available.
inline bool load_real_series() {
  if (!std::filesystem::exists(KAV_SERIES85)) return false;
  std::filesystem::copy_file(KAV_SERIES85, "SERIES85",
                             std::filesystem::copy_options::overwrite_existing);
  ephemeris::load_lunar_series(3);
  io::close(4);
  return true;
}

}  // namespace testsupport
