#pragma once
// A folder tree's files (bytes and attributes) and folders at one moment, and the
// differences between two such moments, for checks that a failed run left no trace.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace qv::test {

struct TreeItem {
  bool folder = false;
  uint32_t attributes = 0;
  std::vector<uint8_t> bytes;
};

// Keyed by the path relative to the root, with forward slashes.
using TreeSnapshot = std::map<std::string, TreeItem>;

TreeSnapshot TakeSnapshot(const std::filesystem::path& root);

struct TreeChanges {
  std::vector<std::string> written;            // a file that is new or holds other bytes
  std::vector<std::string> removed;            // a file that is gone
  std::vector<std::string> attributesChanged;  // same bytes, other attributes
  std::vector<std::string> foldersCreated;
  std::vector<std::string> foldersRemoved;
};

TreeChanges CompareTrees(const TreeSnapshot& before, const TreeSnapshot& after);
std::string Describe(const TreeChanges& changes);

// Every file or folder below root whose name begins with "qv", in any case.
std::vector<std::string> QvTemporariesBelow(const std::filesystem::path& root);

}  // namespace qv::test
