#pragma once
// The platform file layer: every file-system operation of the portable code goes
// through here. On Windows it is the Win32 file API; on POSIX the same behaviour on
// Linux files. Failures leave a Windows error code as the calling thread's last
// error (GetLastFileError), with POSIX errors mapped to the matching codes.
#include <cstdint>
#include <string>

namespace qv {

// Windows error codes the layer and its callers name (values as on Windows).
constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorTooManyOpenFiles = 4;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorWriteProtect = 19;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorHandleEof = 38;
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorDiskFull = 112;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorDirNotEmpty = 145;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorFilenameExcedRange = 206;
constexpr uint32_t kErrorGenFailure = 31;

// File attributes (Windows values); kInvalidFileAttributes reports a failure.
constexpr uint32_t kFileAttributeReadOnly = 0x1;
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeNormal = 0x80;
constexpr uint32_t kFileAttributeTemporary = 0x100;
constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;

uint32_t GetLastFileError();
void SetLastFileError(uint32_t error);

enum class FileAccess { Read, Write, ReadWrite };
enum class FileShare { None, Read, ReadWrite };
enum class FileDisposition { OpenExisting, CreateAlways, OpenAlways, CreateNew };
// Flags and attributes given to a created or opened file.
enum FileOpenFlags : uint32_t {
  kFileFlagNone = 0,
  kFileFlagSequentialScan = 1,  // hint: read or written front to back
  kFileFlagTemporary = 2,       // attribute: temporary file
};

// An open file; closed by Close or by the destructor. Not copyable.
class File {
 public:
  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool Open(const std::u16string& path, FileAccess access, FileShare share,
            FileDisposition disposition, uint32_t flags = kFileFlagNone);
  bool IsOpen() const { return handle_ != kNoHandle; }
  void Close();

  // Read: *done receives the count read (0 at the end of the file).
  bool Read(void* buffer, uint32_t count, uint32_t* done);
  // Write: *done receives the count the system reports written.
  bool Write(const void* buffer, uint32_t count, uint32_t* done);
  bool Seek(uint64_t offset);  // from the start of the file
  bool SetEnd();               // end the file at the current position
  bool GetSize(uint64_t* size);

 private:
  static constexpr intptr_t kNoHandle = -1;
  intptr_t handle_ = kNoHandle;
};

// Attributes of a file or folder, kInvalidFileAttributes when it cannot be read.
uint32_t GetFileAttributesOf(const std::u16string& path);
bool SetFileAttributesOf(const std::u16string& path, uint32_t attributes);
bool FileExists(const std::u16string& path);  // file or folder
bool DeleteFileAt(const std::u16string& path);
// Fails with kErrorAlreadyExists when the destination exists.
bool MoveFileTo(const std::u16string& from, const std::u16string& to);
bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool failIfExists);

// Creates an empty file with a fresh name "<prefix>XXXX.tmp" in folder (a folder
// path ending in a separator or not) and returns its full path.
bool CreateTempFileIn(const std::u16string& folder, const std::u16string& prefix,
                      std::u16string* path);
// The user's temporary folder, with a trailing separator.
bool GetTempFolder(std::u16string* folder);
// Creates every missing folder of path up to its last separator (the last
// component is a file name and is not created).
bool CreateFolderChain(const std::u16string& path);
// The folder of a file path with one trailing backslash: the file name removed,
// then a backslash added unless present. False when there is no file name to
// remove or the result does not fit in 260 characters.
bool FolderOfPath(const std::u16string& path, std::u16string* folder);

// Test-only fault injection: the n-th file-system operation from now (1 = the
// next) fails with error, then operations succeed again. 0 switches it off.
void InjectFileFault(uint32_t n, uint32_t error);
// Test-only: whether an injected fault is still waiting for its operation.
bool FileFaultPending();
// Gate every operation passes first; false (with the error set) when a fault is due.
bool FileOperationAllowed();

}  // namespace qv
