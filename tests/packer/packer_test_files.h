#pragma once
// Scratch folders and sample inputs for the packer tests.
#include <cstdint>
#include <string>
#include <vector>

namespace qv_test {

using Bytes = std::vector<uint8_t>;

// A fresh folder, removed with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteText(const std::string& path, const std::string& text);
Bytes ReadBytes(const std::string& path);
bool Exists(const std::string& path);
std::vector<std::string> ListFolder(const std::string& path);

Bytes RandomBytes(uint32_t seed, size_t size);
Bytes Text(size_t size);  // English-like text with repeated words
// Text, a run, structured binary records, random bytes and repeats of them:
// the kinds of data a payload carries.
Bytes MixedCorpus(uint32_t seed, size_t size);

}  // namespace qv_test
