#include "tests/archive/archive_builder.h"

#include <fstream>
#include <random>

#include "archive/checksum.h"

namespace qv::test {

void BitWriter::Bits(uint32_t value, uint32_t count) {
  for (uint32_t i = count; i-- > 0;) {
    if (bits_ % 8 == 0) bytes_.push_back(0);
    if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> (bits_ % 8));
    ++bits_;
  }
}

void BitWriter::Match(uint32_t offset, uint32_t length, uint8_t literal) {
  Bits(1, 1);
  Bits(offset, kOffsetBits);
  Bits(length - 1, kLengthBits);
  Bits(literal, kLiteralBits);
}

Bytes Utf16Path(const std::u16string& path) {
  Bytes out(kPathUnits * 2, 0);
  for (size_t i = 0; i < path.size() && i < kPathUnits; ++i) {
    out[2 * i] = static_cast<uint8_t>(path[i]);
    out[2 * i + 1] = static_cast<uint8_t>(path[i] >> 8);
  }
  return out;
}

namespace {
void PutU32(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
}  // namespace

Bytes BuildDirectory(const std::vector<TestEntry>& entries) {
  Bytes out;
  PutU32(out, static_cast<uint32_t>(kDirectorySizeFieldSize + kEntrySize * entries.size()));
  for (const TestEntry& e : entries) {
    PutU32(out, static_cast<uint32_t>(e.data.size()));
    PutU32(out, e.verified ? ComputeChecksum(e.data.data(), e.data.size()) : 0);
    Bytes path = Utf16Path(e.path);
    out.insert(out.end(), path.begin(), path.end());
    out.push_back(e.compressed ? 1 : 0);
    PutU32(out, e.kind);
  }
  return out;
}

Bytes BuildStream(const std::vector<TestEntry>& entries) {
  BitWriter writer;
  writer.Literals(BuildDirectory(entries));
  Bytes stored;
  for (const TestEntry& e : entries) {
    if (e.compressed) {
      writer.Literals(e.data);
    } else {
      stored.insert(stored.end(), e.data.begin(), e.data.end());
    }
  }
  Bytes stream = writer.Finish();
  stream.insert(stream.end(), stored.begin(), stored.end());
  return stream;
}

Bytes BuildContainer(const Bytes& stream) {
  Bytes out;
  PutU32(out, ComputeChecksum(stream.data(), stream.size()));
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes PatternBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(random());
  return out;
}

TempFolder::TempFolder() {
  std::random_device device;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("qvarc-test-" + std::to_string(device() % 1000000000u));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  for (auto& item : std::filesystem::recursive_directory_iterator(path_, ignored)) {
    std::filesystem::permissions(item.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::filesystem::path> TempFolder::QvTemporaries() const {
  std::vector<std::filesystem::path> out;
  for (const auto& path : Files()) {
    const std::string name = path.filename().string();
    if (name.size() >= 2 && (name[0] == 'q' || name[0] == 'Q') && (name[1] == 'v' || name[1] == 'V')) {
      out.push_back(path);
    }
  }
  return out;
}

std::vector<std::filesystem::path> TempFolder::Files() const {
  std::vector<std::filesystem::path> out;
  for (auto& item : std::filesystem::recursive_directory_iterator(path_)) {
    if (item.is_regular_file()) out.push_back(item.path());
  }
  return out;
}

}  // namespace qv::test
