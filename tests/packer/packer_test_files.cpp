#include "tests/packer/packer_test_files.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace qv_test {

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qvpack-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, Bytes(text.begin(), text.end()));
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(path)) {
    names.push_back(item.path().filename().string());
  }
  return names;
}

Bytes RandomBytes(uint32_t seed, size_t size) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

Bytes Text(size_t size) {
  static const char* const kWords[] = {"the ",     "setup ",  "folder ", "installs ", "files ",
                                       "window ",  "of ",     "and ",    "program ",  "archive ",
                                       "checksum ", "entry\n", "token ",  "a ",        "version "};
  Bytes text;
  std::mt19937 random(7);
  while (text.size() < size) {
    const char* word = kWords[random() % (sizeof kWords / sizeof kWords[0])];
    for (const char* c = word; *c != '\0' && text.size() < size; ++c) text.push_back(static_cast<uint8_t>(*c));
  }
  return text;
}

Bytes MixedCorpus(uint32_t seed, size_t size) {
  std::mt19937 random(seed);
  Bytes out;
  while (out.size() < size) {
    switch (random() % 5) {
      case 0: {
        Bytes text = Text(1000 + random() % 6000);
        out.insert(out.end(), text.begin(), text.end());
        break;
      }
      case 1:
        out.insert(out.end(), 100 + random() % 3000, static_cast<uint8_t>(random()));
        break;
      case 2:  // records: a counter, a few constant fields, a small value
        for (uint32_t i = 0, n = 50 + random() % 400; i < n; ++i) {
          uint32_t record[4] = {i, 0x00400000u, 7, static_cast<uint32_t>(random() % 16)};
          const uint8_t* bytes = reinterpret_cast<const uint8_t*>(record);
          out.insert(out.end(), bytes, bytes + sizeof record);
        }
        break;
      case 3: {
        Bytes noise = RandomBytes(static_cast<uint32_t>(random()), 200 + random() % 2000);
        out.insert(out.end(), noise.begin(), noise.end());
        break;
      }
      default:
        if (out.size() > 64) {
          size_t length = std::min<size_t>(out.size() / 2, 64 + random() % 3000);
          size_t from = random() % (out.size() - length);
          Bytes copy(out.begin() + static_cast<std::ptrdiff_t>(from),
                     out.begin() + static_cast<std::ptrdiff_t>(from + length));
          out.insert(out.end(), copy.begin(), copy.end());
        }
        break;
    }
  }
  out.resize(size);
  return out;
}

}  // namespace qv_test
