#pragma once
// Shared by the fuzz targets: a failed property aborts (libFuzzer and the corpus
// test both report it with the input), and one scratch folder per process.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace qv::fuzz {

inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property failed: %s\n", property);
  std::abort();
}

// Bytes as little-endian UTF-16 units; an odd last byte is dropped.
inline std::u16string Utf16Units(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  return text;
}

inline void RemoveTree(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
  for (auto it = std::filesystem::recursive_directory_iterator(path, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 error);
  }
  std::filesystem::remove_all(path, error);
}

// A fresh folder in the temporary folder, removed with the process's statics.
class Scratch {
 public:
  Scratch() {
    std::error_code error;
    path_ = std::filesystem::temp_directory_path(error) /
            ("qvfuzz-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(path_, error);
  }
  ~Scratch() { RemoveTree(path_); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline const std::filesystem::path& ScratchFolder() {
  static const Scratch scratch;
  return scratch.path();
}

}  // namespace qv::fuzz
