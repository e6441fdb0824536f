#include "tools/qvpack/container_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "archive/archive_format.h"
#include "archive/checksum.h"
#include "system/utf16.h"
#include "tools/qvpack/bit_writer.h"

namespace qv {

namespace {

constexpr size_t kChunkSize = 1u << 16;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

void PutLe32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

std::string SystemText() { return std::strerror(errno); }

// Reads a source in chunks, folding its checksum.
class SourceReader {
 public:
  bool Open(const ManifestEntry& entry, std::string& error) {
    file_.reset(std::fopen(entry.sourcePath.c_str(), "rb"));
    if (!file_) error = entry.origin + ": cannot open '" + entry.sourcePath + "': " + SystemText();
    return file_ != nullptr;
  }
  // size 0 at the end of the file.
  bool Next(const ManifestEntry& entry, size_t& size, std::string& error) {
    size = std::fread(buffer_, 1, sizeof buffer_, file_.get());
    if (size == 0 && std::ferror(file_.get())) {
      error = entry.origin + ": cannot read '" + entry.sourcePath + "': " + SystemText();
      return false;
    }
    total_ += size;
    fold_ = FoldChecksum(fold_, buffer_, size);
    return true;
  }
  const uint8_t* data() const { return buffer_; }
  uint64_t total() const { return total_; }
  uint32_t checksum() const { return FinishChecksum(fold_); }

 private:
  FilePtr file_;
  uint8_t buffer_[kChunkSize];
  uint64_t total_ = 0;
  uint32_t fold_ = 0;
};

// The container under construction: bytes after the checksum field are
// folded into the checksum as they go out.
class ContainerFile {
 public:
  ~ContainerFile() {
    if (file_) {
      file_.reset();
      std::remove(tempPath_.c_str());
    }
  }

  bool Create(const std::string& path, std::string& error) {
    finalPath_ = path;
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) {
      error = path + ": cannot create a temporary file beside it: " + SystemText();
      return false;
    }
    tempPath_ = name.data();
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    file_.reset(fdopen(fd, "wb"));
    if (!file_) {
      close(fd);
      std::remove(tempPath_.c_str());
      error = path + ": cannot open its temporary file: " + SystemText();
      return false;
    }
    static const uint8_t kPlaceholder[kContainerHeaderSize] = {};
    return WriteRaw(kPlaceholder, sizeof kPlaceholder, error);
  }

  bool Write(const uint8_t* data, size_t size, std::string& error) {
    fold_ = FoldChecksum(fold_, data, size);
    return WriteRaw(data, size, error);
  }

  // Stores the checksum, then moves the file to its name.
  bool Commit(std::string& error) {
    uint8_t checksum[kContainerHeaderSize];
    PutLe32(checksum, FinishChecksum(fold_));
    if (std::fseek(file_.get(), 0, SEEK_SET) != 0 || !WriteRaw(checksum, sizeof checksum, error)) {
      if (error.empty()) error = finalPath_ + ": cannot write: " + SystemText();
      return false;
    }
    bool flushed = std::fflush(file_.get()) == 0 && fsync(fileno(file_.get())) == 0;
    bool closed = std::fclose(file_.release()) == 0;
    if (!flushed || !closed) {
      error = finalPath_ + ": cannot write: " + SystemText();
      std::remove(tempPath_.c_str());
      return false;
    }
    if (std::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) {
      error = finalPath_ + ": cannot move the finished container into place: " + SystemText();
      std::remove(tempPath_.c_str());
      return false;
    }
    return true;
  }

  uint64_t written() const { return written_; }

 private:
  bool WriteRaw(const uint8_t* data, size_t size, std::string& error) {
    if (size != 0 && std::fwrite(data, 1, size, file_.get()) != size) {
      error = finalPath_ + ": cannot write: " + SystemText();
      return false;
    }
    written_ += size;
    return true;
  }

  FilePtr file_;
  std::string finalPath_;
  std::string tempPath_;
  uint32_t fold_ = 0;
  uint64_t written_ = 0;
};

// Serialises tokens into the container; a write failure is kept and reported
// after the encoder returns.
class TokenStreamWriter : public TokenSink {
 public:
  TokenStreamWriter(ContainerFile& out, std::string& error)
      : out_(out), error_(error), bits_(bytes_) {}

  void Put(const LzToken& token) override {
    if (token.matchLength > 0) {
      bits_.Put(1u << 25 | token.offset << 13 | (token.matchLength - 1) << 8 | token.literal,
                kMatchTokenBits);
    } else {
      bits_.Put(token.literal, kLiteralTokenBits);
    }
    if (bytes_.size() >= kChunkSize) Drain();
  }

  bool Finish() {
    bits_.PadToByte();
    Drain();
    return ok_;
  }

  uint64_t bytes() const { return (bits_.bitsWritten() + 7) / 8; }

 private:
  void Drain() {
    if (ok_) ok_ = out_.Write(bytes_.data(), bytes_.size(), error_);
    bits_.Drained(bytes_.size());
    bytes_.clear();
  }

  ContainerFile& out_;
  std::string& error_;
  std::vector<uint8_t> bytes_;
  BitWriter bits_;
  bool ok_ = true;
};

std::vector<uint8_t> BuildDirectory(const std::vector<PackedEntry>& entries) {
  const uint32_t size = kDirectorySizeFieldSize + static_cast<uint32_t>(entries.size()) * kEntrySize;
  std::vector<uint8_t> directory(size, 0);
  PutLe32(directory.data(), size);
  for (size_t i = 0; i < entries.size(); ++i) {
    uint8_t* record = directory.data() + kDirectorySizeFieldSize + i * kEntrySize;
    const PackedEntry& entry = entries[i];
    PutLe32(record + kEntryOffsetSize, entry.size);
    PutLe32(record + kEntryOffsetChecksum, entry.checksum);
    for (size_t u = 0; u < entry.destination.size(); ++u) {
      record[kEntryOffsetPath + 2 * u] = static_cast<uint8_t>(entry.destination[u]);
      record[kEntryOffsetPath + 2 * u + 1] = static_cast<uint8_t>(entry.destination[u] >> 8);
    }
    record[kEntryOffsetCompressed] = entry.compressed ? 1 : 0;
    PutLe32(record + kEntryOffsetKind, entry.kind);
  }
  return directory;
}

// Copies a source to the sink, checking that it still holds what was measured.
template <typename Sink>
bool CopySource(const ManifestEntry& source, const PackedEntry& measured, Sink&& sink,
                std::string& error) {
  SourceReader reader;
  if (!reader.Open(source, error)) return false;
  for (;;) {
    size_t size = 0;
    if (!reader.Next(source, size, error)) return false;
    if (size == 0) break;
    if (!sink(reader.data(), size)) return false;
  }
  if (reader.total() != measured.size || reader.checksum() != measured.checksum) {
    error = source.origin + ": '" + source.sourcePath + "' changed while it was being packed";
    return false;
  }
  return true;
}

}  // namespace

bool WriteContainer(const std::vector<ManifestEntry>& manifest, const std::string& outputPath,
                    ParseMode parse, PackReport& report, std::string& error) {
  report = PackReport();
  if (manifest.empty()) {
    error = "no entries to pack";
    return false;
  }
  std::vector<const ManifestEntry*> order;
  for (const ManifestEntry& entry : manifest) order.push_back(&entry);
  std::stable_partition(order.begin(), order.end(),
                        [](const ManifestEntry* entry) { return entry->compressed; });

  // Sizes first, so that an archive too large to describe fails before any reading.
  uint64_t streamBytes =
      kDirectorySizeFieldSize + static_cast<uint64_t>(order.size()) * kEntrySize;
  for (const ManifestEntry* source : order) {
    struct stat info;
    if (stat(source->sourcePath.c_str(), &info) != 0) {
      error = source->origin + ": cannot read '" + source->sourcePath + "': " + SystemText();
      return false;
    }
    streamBytes += static_cast<uint64_t>(info.st_size);
    if (streamBytes > UINT32_MAX) {
      error = source->origin + ": with this entry the decoded archive reaches 4 GiB or more";
      return false;
    }
  }
  streamBytes = kDirectorySizeFieldSize + static_cast<uint64_t>(order.size()) * kEntrySize;
  for (const ManifestEntry* source : order) {
    SourceReader reader;
    if (!reader.Open(*source, error)) return false;
    for (size_t size = 1; size != 0;) {
      if (!reader.Next(*source, size, error)) return false;
    }
    if (reader.total() > UINT32_MAX) {
      error = source->origin + ": '" + source->sourcePath + "' is 4 GiB or larger";
      return false;
    }
    streamBytes += reader.total();
    if (streamBytes > UINT32_MAX) {
      error = source->origin + ": with this entry the decoded archive reaches 4 GiB or more";
      return false;
    }
    PackedEntry packed;
    packed.size = static_cast<uint32_t>(reader.total());
    packed.checksum = reader.checksum();
    packed.compressed = source->compressed;
    packed.kind = source->kind;
    packed.destination = source->destination;
    report.entries.push_back(packed);
  }
  // setup.exe looks at the next entry's flag, once an entry is done, to switch
  // to stored bytes; an empty entry flagged compressed after the last
  // compressed data would keep it decoding tokens from the stored bytes.
  size_t lastCompressedData = 0;
  for (size_t i = 0; i < report.entries.size(); ++i) {
    if (report.entries[i].compressed && report.entries[i].size > 0) lastCompressedData = i + 1;
  }
  for (size_t i = lastCompressedData; i < report.entries.size(); ++i) {
    report.entries[i].compressed = false;
  }

  ContainerFile out;
  if (!out.Create(outputPath, error)) return false;
  TokenStreamWriter tokens(out, error);
  LzEncoder encoder(parse, tokens);
  const std::vector<uint8_t> directory = BuildDirectory(report.entries);
  encoder.Write(directory.data(), directory.size());
  report.compressedSectionBytes = directory.size();
  size_t index = 0;
  for (; index < order.size() && order[index]->compressed; ++index) {
    auto toEncoder = [&](const uint8_t* data, size_t size) {
      encoder.Write(data, size);
      return true;
    };
    if (!CopySource(*order[index], report.entries[index], toEncoder, error)) return false;
    report.compressedSectionBytes += report.entries[index].size;
  }
  encoder.Finish();
  if (!tokens.Finish()) return false;
  report.lz = encoder.stats();
  report.lzBytes = tokens.bytes();
  for (; index < order.size(); ++index) {
    auto toContainer = [&](const uint8_t* data, size_t size) { return out.Write(data, size, error); };
    if (!CopySource(*order[index], report.entries[index], toContainer, error)) return false;
    report.storedBytes += report.entries[index].size;
  }
  report.containerBytes = out.written();
  return out.Commit(error);
}

}  // namespace qv
