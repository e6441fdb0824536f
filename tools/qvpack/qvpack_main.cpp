// qvpack: builds, lists, verifies and extracts setup.exe's payload container.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_format.h"
#include "system/utf16.h"
#include "tools/qvpack/container_extract.h"
#include "tools/qvpack/container_reader.h"
#include "tools/qvpack/container_writer.h"
#include "tools/qvpack/manifest.h"

namespace {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the input or the container is at fault; the message says how
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage:\n"
    "  qvpack build MANIFEST -o CONTAINER\n"
    "      Packs the files a manifest names. Each manifest line holds four\n"
    "      tab-separated fields: kind (file, program, uninstaller, keep-existing,\n"
    "      not-on-update), mode (compressed, stored), destination (a folder macro\n"
    "      such as <InstallPath>, a backslash, the rest of the path) and the source\n"
    "      file, relative to the manifest's folder. '#' starts a comment line.\n"
    "  qvpack list CONTAINER\n"
    "      One line per entry: index, kind, mode, size, checksum, destination.\n"
    "  qvpack verify CONTAINER\n"
    "      Checks the container checksum, decodes everything and checks every\n"
    "      entry's checksum.\n"
    "  qvpack extract CONTAINER --install DIR [--examples NAME] [--folders DIR]\n"
    "      Extracts as setup.exe does: <InstallPath> is DIR, <SamplePath> is NAME\n"
    "      (under <CommonDesktop> when relative), every other macro a sub-folder\n"
    "      of the --folders DIR named after it (default: the --install DIR).\n"
    "exit status: 0 success, 1 failure (see the message), 2 wrong usage\n";

const char* const kKindNames[] = {"file", "program", "uninstaller", "keep-existing",
                                  "not-on-update"};

int Usage(const std::string& problem) {
  std::fprintf(stderr, "qvpack: %s\n%s", problem.c_str(), kUsage);
  return kExitUsage;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "qvpack: %s\n", message.c_str());
  return kExitFailed;
}

int Build(const std::vector<std::string>& args) {
  std::string manifestPath;
  std::string output;
  qv::ParseMode parse = qv::ParseMode::kOptimal;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) {
      output = args[++i];
    } else if (args[i] == "--greedy") {  // the simpler parse, for comparison
      parse = qv::ParseMode::kGreedy;
    } else if (manifestPath.empty() && !args[i].empty() && args[i][0] != '-') {
      manifestPath = args[i];
    } else {
      return Usage("build: unexpected argument '" + args[i] + "'");
    }
  }
  if (manifestPath.empty() || output.empty()) return Usage("build needs MANIFEST and -o CONTAINER");

  std::vector<qv::ManifestEntry> entries;
  std::string error;
  if (!qv::ReadManifest(manifestPath, entries, error)) return Fail(error);
  const auto start = std::chrono::steady_clock::now();
  qv::PackReport report;
  if (!qv::WriteContainer(entries, output, parse, report, error)) return Fail(error);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double lzIn = static_cast<double>(report.compressedSectionBytes);
  std::printf("%s: %zu entries, %llu bytes (compressed section %llu -> %llu bytes, %.1f%%; "
              "stored %llu bytes) in %.2f s\n",
              output.c_str(), report.entries.size(),
              static_cast<unsigned long long>(report.containerBytes),
              static_cast<unsigned long long>(report.compressedSectionBytes),
              static_cast<unsigned long long>(report.lzBytes),
              lzIn > 0 ? 100.0 * static_cast<double>(report.lzBytes) / lzIn : 0.0,
              static_cast<unsigned long long>(report.storedBytes), seconds);
  return kExitOk;
}

int List(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage("list needs exactly one CONTAINER");
  qv::ContainerInfo info;
  std::string error;
  if (!qv::ReadContainerDirectory(args[0], info, error)) return Fail(error);
  for (size_t i = 0; i < info.entries.size(); ++i) {
    const qv::PackedEntry& entry = info.entries[i];
    std::string kind = entry.kind < sizeof kKindNames / sizeof kKindNames[0]
                           ? kKindNames[entry.kind]
                           : "kind-" + std::to_string(entry.kind);
    std::printf("%zu\t%s\t%s\t%u\t%08X\t%s\n", i, kind.c_str(),
                entry.compressed ? "compressed" : "stored", entry.size, entry.checksum,
                qv::Utf16ToUtf8(entry.destination).c_str());
  }
  return kExitOk;
}

int Verify(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage("verify needs exactly one CONTAINER");
  qv::ContainerInfo info;
  std::string error;
  if (!qv::VerifyContainer(args[0], info, error)) return Fail(error);
  std::printf("%s: OK, %zu entries\n", args[0].c_str(), info.entries.size());
  return kExitOk;
}

int Extract(const std::vector<std::string>& args) {
  std::string container;
  qv::ExtractOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--install" && hasValue) {
      options.installDir = args[++i];
    } else if (args[i] == "--examples" && hasValue) {
      options.examplesName = args[++i];
    } else if (args[i] == "--folders" && hasValue) {
      options.foldersDir = args[++i];
    } else if (container.empty() && !args[i].empty() && args[i][0] != '-') {
      container = args[i];
    } else {
      return Usage("extract: unexpected argument '" + args[i] + "'");
    }
  }
  if (container.empty() || options.installDir.empty()) {
    return Usage("extract needs CONTAINER and --install DIR");
  }
  if (options.foldersDir.empty()) options.foldersDir = options.installDir;
  std::vector<std::string> written;
  std::string error;
  if (!qv::ExtractContainer(container, options, written, error)) return Fail(error);
  for (std::string path : written) {
    for (char& c : path) c = c == '\\' ? '/' : c;
    std::printf("%s\n", path.c_str());
  }
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command");
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::printf("%s", kUsage);
    return kExitOk;
  }
  if (command == "build") return Build(args);
  if (command == "list") return List(args);
  if (command == "verify") return Verify(args);
  if (command == "extract") return Extract(args);
  return Usage("unknown command '" + command + "'");
}
