#include "tests/reliability/tree_snapshot.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "system/file_io.h"

namespace qv::test {

TreeSnapshot TakeSnapshot(const std::filesystem::path& root) {
  TreeSnapshot snapshot;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(root, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    TreeItem item;
    item.folder = it->is_directory();
    item.attributes = GetFileAttributesOf(it->path().u16string());
    if (!item.folder) {
      std::ifstream in(it->path(), std::ios::binary);
      item.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    snapshot[it->path().lexically_relative(root).generic_string()] = std::move(item);
  }
  return snapshot;
}

TreeChanges CompareTrees(const TreeSnapshot& before, const TreeSnapshot& after) {
  TreeChanges changes;
  for (const auto& [name, item] : after) {
    auto old = before.find(name);
    if (item.folder) {
      if (old == before.end() || !old->second.folder) changes.foldersCreated.push_back(name);
    } else if (old == before.end() || old->second.folder || old->second.bytes != item.bytes) {
      changes.written.push_back(name);
    } else if (old->second.attributes != item.attributes) {
      changes.attributesChanged.push_back(name);
    }
  }
  for (const auto& [name, item] : before) {
    auto now = after.find(name);
    if (now != after.end() && now->second.folder == item.folder) continue;
    (item.folder ? changes.foldersRemoved : changes.removed).push_back(name);
  }
  return changes;
}

std::string Describe(const TreeChanges& changes) {
  std::string text;
  auto list = [&text](const char* what, const std::vector<std::string>& names) {
    for (const std::string& name : names) text += std::string(what) + " " + name + "\n";
  };
  list("written", changes.written);
  list("removed", changes.removed);
  list("attributes changed", changes.attributesChanged);
  list("folder created", changes.foldersCreated);
  list("folder removed", changes.foldersRemoved);
  return text;
}

std::vector<std::string> QvTemporariesBelow(const std::filesystem::path& root) {
  std::vector<std::string> found;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(root, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() >= 2 && (name[0] == 'q' || name[0] == 'Q') && (name[1] == 'v' || name[1] == 'V')) {
      found.push_back(it->path().lexically_relative(root).generic_string());
    }
  }
  return found;
}

}  // namespace qv::test
