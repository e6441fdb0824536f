// Decoding speed of a payload container through the engine's decode step,
// against zlib's inflate (level 9) of the same decoded stream, in one process.
// Prints one line per run: "run N qv_mbps X zlib_mbps Y ratio Z". Times are the
// thread's CPU time: on a shared machine wall time mostly measures the others.
#include <time.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "archive/extract_run.h"
#include "archive/lz_decoder.h"
#include "system/utf16.h"
#include "tools/qvpack/container_reader.h"

namespace {

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

int32_t IgnoreEvent(const qv::ExtractEvent*) { return qv::EXTRACT_CONTINUE; }

struct StreamShape {
  uint64_t compressedSection = 0;  // directory and compressed entries, decoded
  uint64_t total = 0;
};

StreamShape ShapeOf(const qv::ContainerInfo& info) {
  StreamShape shape;
  shape.compressedSection = qv::kDirectorySizeFieldSize + uint64_t{qv::kEntrySize} * info.entries.size();
  shape.total = shape.compressedSection;
  for (const qv::PackedEntry& entry : info.entries) {
    if (entry.compressed) shape.compressedSection += entry.size;
    shape.total += entry.size;
  }
  return shape;
}

// Decodes the whole stream as the engine does: compressed steps up to the end
// of the compressed section, stored steps after it. Keeps the bytes when asked.
// Returns the seconds spent in the step loop, or a negative value on failure.
double DecodeOnce(const std::string& path, const StreamShape& shape, std::vector<uint8_t>* keep,
                  uint64_t* tokens = nullptr) {
  qv::ExtractRun run;
  run.callback = IgnoreEvent;
  if (!run.archiveFile.Open(qv::Utf8ToUtf16(path), qv::FileAccess::Read, qv::FileShare::Read,
                            qv::FileDisposition::OpenExisting, qv::kFileFlagSequentialScan)) {
    return -1;
  }
  uint8_t header[qv::kContainerHeaderSize];
  uint32_t got = 0;
  if (!run.archiveFile.Read(header, sizeof header, &got) || got != sizeof header) return -1;
  auto decoder = std::make_unique<qv::LzDecoder>();
  uint8_t out[qv::kMaxStepOutput];
  uint64_t done = 0;
  const double start = ThreadSeconds();
  while (done < shape.total) {
    const qv::LzMode mode = done < shape.compressedSection ? qv::LzMode::Compressed : qv::LzMode::Stored;
    const uint32_t n = qv::LzDecodeStep(run, out, mode, *decoder);
    if (n == 0) return -1;
    if (keep != nullptr) keep->insert(keep->end(), out, out + n);
    if (tokens != nullptr && mode == qv::LzMode::Compressed) ++*tokens;
    done += n;
  }
  const double seconds = ThreadSeconds() - start;
  run.reader.Release();
  return done == shape.total ? seconds : -1;
}

double InflateOnce(const std::vector<uint8_t>& packed, std::vector<uint8_t>& out) {
  uLongf size = static_cast<uLongf>(out.size());
  const double start = ThreadSeconds();
  const int result = uncompress(out.data(), &size, packed.data(), static_cast<uLong>(packed.size()));
  const double seconds = ThreadSeconds() - start;
  return result == Z_OK && size == out.size() ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qv_decode_bench CONTAINER [RUNS]\n");
    return 2;
  }
  const std::string path = argv[1];
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  qv::ContainerInfo info;
  std::string error;
  if (!qv::ReadContainerDirectory(path, info, error)) {
    std::fprintf(stderr, "qv_decode_bench: %s\n", error.c_str());
    return 1;
  }
  const StreamShape shape = ShapeOf(info);
  std::vector<uint8_t> decoded;
  decoded.reserve(shape.total);
  uint64_t tokens = 0;
  if (DecodeOnce(path, shape, &decoded, &tokens) < 0) {
    std::fprintf(stderr, "qv_decode_bench: %s does not decode\n", path.c_str());
    return 1;
  }
  uLongf bound = compressBound(static_cast<uLong>(decoded.size()));
  std::vector<uint8_t> packed(bound);
  if (compress2(packed.data(), &bound, decoded.data(), static_cast<uLong>(decoded.size()), 9) != Z_OK) {
    std::fprintf(stderr, "qv_decode_bench: zlib cannot compress the stream\n");
    return 1;
  }
  packed.resize(bound);
  std::vector<uint8_t> inflated(decoded.size());
  const double megabytes = static_cast<double>(shape.total) / 1e6;
  std::printf("stream %llu bytes (compressed section %llu in %llu tokens), zlib-9 %zu bytes\n",
              static_cast<unsigned long long>(shape.total),
              static_cast<unsigned long long>(shape.compressedSection),
              static_cast<unsigned long long>(tokens), packed.size());
  for (int i = 0; i < runs; ++i) {
    const double ours = DecodeOnce(path, shape, nullptr);
    const double zlib = InflateOnce(packed, inflated);
    if (ours <= 0 || zlib <= 0) {
      std::fprintf(stderr, "qv_decode_bench: a run failed\n");
      return 1;
    }
    std::printf("run %d qv_mbps %.2f zlib_mbps %.2f ratio %.3f\n", i, megabytes / ours, megabytes / zlib,
                zlib / ours);
  }
  return 0;
}
