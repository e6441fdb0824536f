// Runs a fuzz target over every file of its seed and regression corpus.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(FuzzCorpus, EveryInputRunsWithoutBreakingAProperty) {
  const std::filesystem::path folder = QV_FUZZ_CORPUS;
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  bool any = false;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    if (!item.is_regular_file()) continue;
    SCOPED_TRACE(item.path().filename().string());
    std::ifstream in(item.path(), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    any = true;
  }
  EXPECT_TRUE(any) << "empty corpus " << folder;
}

}  // namespace
