#pragma once
// On-disk layout of the payload container. The extraction engine reads it and
// the packer writes it; both include this header and nothing else defines it.
//
//   container:  [checksum u32 LE][archive stream .............................]
//   stream:     LZ tokens decoding to [directory][compressed entries' data]
//               then, from the next whole byte, the stored entries' data as is
//   directory:  [size u32 = 4 + 533 * N][ArchiveEntry 0]...[ArchiveEntry N-1]
//   entry:      [size u32][checksum u32][path 260 x UTF-16LE][compressed u8][kind u32]
//
// All integers are little-endian; records are packed with no alignment.
#include <cstddef>
#include <cstdint>

namespace qv {

constexpr uint32_t kContainerHeaderSize = 4;  // the stored checksum

constexpr uint32_t kChecksumMultiplier = 33;
constexpr uint32_t kChecksumOfZero = 0x2357BD11;  // replaces a fold that ends at 0

// Directory record.
constexpr uint32_t kDirectorySizeFieldSize = 4;
constexpr uint32_t kPathUnits = 260;  // UTF-16 units, terminator included
constexpr uint32_t kMaxPathUnits = kPathUnits - 1;
constexpr uint32_t kEntryOffsetSize = 0;
constexpr uint32_t kEntryOffsetChecksum = 4;
constexpr uint32_t kEntryOffsetPath = 8;
constexpr uint32_t kEntryOffsetCompressed = kEntryOffsetPath + kPathUnits * 2;  // 528
constexpr uint32_t kEntryOffsetKind = kEntryOffsetCompressed + 1;               // 529
constexpr uint32_t kEntrySize = kEntryOffsetKind + 4;                           // 533

#pragma pack(push, 1)
struct ArchiveEntry {
  uint32_t size;
  uint32_t checksum;  // 0: the file is not verified
  char16_t path[kPathUnits];
  uint8_t compressed;  // 1: in the LZ section, 0: stored
  uint32_t kind;
};
#pragma pack(pop)
static_assert(sizeof(ArchiveEntry) == kEntrySize, "directory records are 533 bytes");
static_assert(offsetof(ArchiveEntry, path) == kEntryOffsetPath, "path at 8");
static_assert(offsetof(ArchiveEntry, compressed) == kEntryOffsetCompressed, "flag at 528");
static_assert(offsetof(ArchiveEntry, kind) == kEntryOffsetKind, "kind at 529");

// Entry kinds: carried unchanged to the extraction callback.
enum : uint32_t {
  ENTRY_KIND_FILE = 0,
  ENTRY_KIND_PROGRAM = 1,
  ENTRY_KIND_UNINSTALLER = 2,
  ENTRY_KIND_KEEP_EXISTING = 3,
  ENTRY_KIND_NOT_ON_UPDATE = 4,
};

// LZ token: [flag 1][offset 12][length-1 5] when flag = 1, then [literal 8];
// bits taken most significant first, tokens unaligned, no end marker.
constexpr uint32_t kWindowSize = 4096;
constexpr uint32_t kFlagBits = 1;
constexpr uint32_t kOffsetBits = 12;
constexpr uint32_t kLengthBits = 5;
constexpr uint32_t kLiteralBits = 8;
constexpr uint32_t kLiteralTokenBits = kFlagBits + kLiteralBits;                           // 9
constexpr uint32_t kMatchTokenBits = kFlagBits + kOffsetBits + kLengthBits + kLiteralBits;  // 26
constexpr uint32_t kMinMatch = 1;
constexpr uint32_t kMaxMatch = 32;
constexpr uint32_t kMaxStepOutput = kMaxMatch + 1;  // 33: a match and its literal
constexpr uint32_t kStoredStepBytes = 32;

static_assert(kWindowSize == 1u << kOffsetBits, "offsets address the whole window");
static_assert(kMaxMatch == 1u << kLengthBits, "length field is length - 1");

}  // namespace qv
