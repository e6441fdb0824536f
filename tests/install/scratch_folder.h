#pragma once
// A fresh folder in the temporary folder for one test, removed with everything in it.
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "system/file_io.h"

namespace qv::test {

class ScratchFolder {
 public:
  ScratchFolder() {
    // Test processes of several builds may run at once: the test name and a clock tick.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "-" + test->name() + "-" +
                       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    for (char& c : name) {
      if (c == '/') c = '-';
    }
    std::error_code error;
    path_ = std::filesystem::temp_directory_path(error) / ("qvlog-" + name);
    Remove();
    std::filesystem::create_directories(path_, error);
  }
  ~ScratchFolder() { Remove(); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder's path, or a name inside it, in the platform's spelling.
  std::u16string Path() const { return path_.u16string(); }
  std::u16string Child(const std::u16string& name) const { return (path_ / name).u16string(); }

 private:
  void Remove() {
    std::error_code error;
    // Read-only files (the log itself) would stop the removal on Windows.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      SetFileAttributesOf(it->path().u16string(), kFileAttributeNormal);
    }
    std::filesystem::remove_all(path_, error);
  }

  std::filesystem::path path_;
};

}  // namespace qv::test
