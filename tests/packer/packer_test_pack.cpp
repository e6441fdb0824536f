#include "tests/packer/packer_test_pack.h"

#include "tools/qvpack/container_extract.h"
#include "tools/qvpack/manifest.h"

namespace qv_test {

std::string ExtractedPath(const std::string& root, const std::string& destination) {
  size_t close = destination.find('>');
  std::string macro = destination.substr(1, close - 1);
  std::string folder = macro == "InstallPath"  ? "install"
                       : macro == "SamplePath" ? "folders/CommonDesktop"
                                               : "folders/" + macro;
  std::string rest = destination.substr(close + 1);
  for (char& c : rest) c = c == '\\' ? '/' : c;
  return root + "/" + folder + rest;
}

bool Pack(const std::string& root, const std::vector<FileSpec>& files, qv::ParseMode mode,
          qv::PackReport& report, std::string& error) {
  std::string manifest = "# generated\n";
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string name = "file" + std::to_string(i);
    WriteBytes(root + "/src/" + name, files[i].content);
    manifest += files[i].kind + "\t" + (files[i].compressed ? "compressed" : "stored") + "\t" +
                files[i].destination + "\t" + name + "\n";
  }
  WriteText(root + "/src/manifest.txt", manifest);
  std::vector<qv::ManifestEntry> entries;
  return qv::ReadManifest(root + "/src/manifest.txt", entries, error) &&
         qv::WriteContainer(entries, root + "/out.qvc", mode, report, error);
}

bool Unpack(const std::string& root, std::string& error) {
  qv::ExtractOptions options;
  options.installDir = root + "/install";
  options.foldersDir = root + "/folders";
  std::vector<std::string> written;
  return qv::ExtractContainer(root + "/out.qvc", options, written, error);
}

}  // namespace qv_test
