#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "system/file_io.h"
#include "system/utf16.h"

namespace qv {

namespace {

thread_local uint32_t t_lastError = 0;
constexpr uint32_t kCopyBlock = 65536;

uint32_t MapErrno(int e) {
  switch (e) {
    case 0: return kErrorSuccess;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return kErrorAccessDenied;
    case EROFS: return kErrorWriteProtect;
    case EEXIST: return kErrorAlreadyExists;
    case ENOSPC:
    case EDQUOT: return kErrorDiskFull;
    case ENAMETOOLONG: return kErrorFilenameExcedRange;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    case ENOMEM: return kErrorNotEnoughMemory;
    case EBADF: return kErrorInvalidHandle;
    case EINVAL: return kErrorInvalidParameter;
    case ENOTEMPTY: return kErrorDirNotEmpty;
    case EBUSY:
    case ETXTBSY: return kErrorSharingViolation;
    default: return kErrorGenFailure;
  }
}

// A missing file whose folder is missing too is "path not found", as on Windows.
uint32_t MapErrnoForPath(int e, const std::string& path) {
  if (e == ENOENT) {
    std::string::size_type slash = path.find_last_of('/');
    if (slash != std::string::npos && slash != 0) {
      struct stat st;
      if (stat(path.substr(0, slash).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return kErrorPathNotFound;
      }
    }
  }
  return MapErrno(e);
}

bool FailWith(int e) {
  t_lastError = MapErrno(e);
  return false;
}

bool FailWithPath(int e, const std::string& path) {
  t_lastError = MapErrnoForPath(e, path);
  return false;
}

std::string NativePath(const std::u16string& path) {
  std::string out = Utf16ToUtf8(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

bool Succeed() {
  t_lastError = kErrorSuccess;
  return true;
}

}  // namespace

uint32_t GetLastFileError() { return t_lastError; }
void SetLastFileError(uint32_t error) { t_lastError = error; }

bool File::Open(const std::u16string& path, FileAccess access, FileShare,
                FileDisposition disposition, uint32_t flags) {
  Close();
  if (!FileOperationAllowed()) return false;
  int mode = access == FileAccess::Read ? O_RDONLY : access == FileAccess::Write ? O_WRONLY : O_RDWR;
  switch (disposition) {
    case FileDisposition::OpenExisting: break;
    case FileDisposition::CreateAlways: mode |= O_CREAT | O_TRUNC; break;
    case FileDisposition::OpenAlways: mode |= O_CREAT; break;
    case FileDisposition::CreateNew: mode |= O_CREAT | O_EXCL; break;
  }
  const std::string native = NativePath(path);
  if (disposition == FileDisposition::CreateAlways) {
    // Windows refuses to overwrite a read-only file.
    struct stat st;
    if (stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0) {
      return FailWith(EACCES);
    }
  }
  int fd = ::open(native.c_str(), mode | O_CLOEXEC, 0644);
  if (fd < 0) return FailWithPath(errno, native);
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return FailWith(EACCES);
  }
  if (flags & kFileFlagSequentialScan) posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  handle_ = fd;
  return Succeed();
}

void File::Close() {
  if (handle_ != kNoHandle) {
    ::close(static_cast<int>(handle_));
    handle_ = kNoHandle;
  }
}

bool File::Read(void* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!FileOperationAllowed()) return false;
  if (handle_ == kNoHandle) return FailWith(EBADF);
  auto* p = static_cast<char*>(buffer);
  uint32_t total = 0;
  while (total < count) {
    ssize_t r = ::read(static_cast<int>(handle_), p + total, count - total);
    if (r < 0) {
      if (errno == EINTR) continue;
      return FailWith(errno);
    }
    if (r == 0) break;
    total += static_cast<uint32_t>(r);
  }
  *done = total;
  return Succeed();
}

bool File::Write(const void* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!FileOperationAllowed()) return false;
  if (handle_ == kNoHandle) return FailWith(EBADF);
  auto* p = static_cast<const char*>(buffer);
  uint32_t total = 0;
  while (total < count) {
    ssize_t r = ::write(static_cast<int>(handle_), p + total, count - total);
    if (r < 0) {
      if (errno == EINTR) continue;
      *done = total;
      return FailWith(errno);
    }
    total += static_cast<uint32_t>(r);
  }
  *done = total;
  return Succeed();
}

bool File::Seek(uint64_t offset) {
  if (!FileOperationAllowed()) return false;
  if (handle_ == kNoHandle) return FailWith(EBADF);
  if (lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) < 0) return FailWith(errno);
  return Succeed();
}

bool File::SetEnd() {
  if (!FileOperationAllowed()) return false;
  if (handle_ == kNoHandle) return FailWith(EBADF);
  off_t here = lseek(static_cast<int>(handle_), 0, SEEK_CUR);
  if (here < 0) return FailWith(errno);
  if (ftruncate(static_cast<int>(handle_), here) != 0) return FailWith(errno);
  return Succeed();
}

bool File::GetSize(uint64_t* size) {
  if (!FileOperationAllowed()) return false;
  if (handle_ == kNoHandle) return FailWith(EBADF);
  struct stat st;
  if (fstat(static_cast<int>(handle_), &st) != 0) return FailWith(errno);
  *size = static_cast<uint64_t>(st.st_size);
  return Succeed();
}

uint32_t GetFileAttributesOf(const std::u16string& path) {
  if (!FileOperationAllowed()) return kInvalidFileAttributes;
  const std::string native = NativePath(path);
  struct stat st;
  if (stat(native.c_str(), &st) != 0) {
    FailWithPath(errno, native);
    return kInvalidFileAttributes;
  }
  uint32_t attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= kFileAttributeDirectory;
  if ((st.st_mode & S_IWUSR) == 0) attributes |= kFileAttributeReadOnly;
  Succeed();
  return attributes == 0 ? kFileAttributeNormal : attributes;
}

bool SetFileAttributesOf(const std::u16string& path, uint32_t attributes) {
  if (!FileOperationAllowed()) return false;
  const std::string native = NativePath(path);
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return FailWithPath(errno, native);
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & kFileAttributeReadOnly) ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
  if (chmod(native.c_str(), mode) != 0) return FailWith(errno);
  return Succeed();
}

bool FileExists(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  struct stat st;
  if (stat(NativePath(path).c_str(), &st) != 0) return FailWith(errno);
  return Succeed();
}

bool DeleteFileAt(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  const std::string native = NativePath(path);
  struct stat st;
  if (lstat(native.c_str(), &st) != 0) return FailWithPath(errno, native);
  if (S_ISDIR(st.st_mode)) return FailWith(EACCES);
  // Windows refuses to delete a read-only file.
  if ((st.st_mode & S_IWUSR) == 0) return FailWith(EACCES);
  if (unlink(native.c_str()) != 0) return FailWith(errno);
  return Succeed();
}

bool MoveFileTo(const std::u16string& from, const std::u16string& to) {
  if (!FileOperationAllowed()) return false;
  const std::string source = NativePath(from);
  const std::string target = NativePath(to);
  struct stat st;
  if (lstat(source.c_str(), &st) != 0) return FailWithPath(errno, source);
  if (lstat(target.c_str(), &st) == 0) return FailWith(EEXIST);
  if (rename(source.c_str(), target.c_str()) != 0) return FailWithPath(errno, target);
  return Succeed();
}

bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool failIfExists) {
  File source;
  if (!source.Open(from, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting,
                   kFileFlagSequentialScan)) {
    return false;
  }
  File target;
  if (!target.Open(to, FileAccess::Write, FileShare::None,
                   failIfExists ? FileDisposition::CreateNew : FileDisposition::CreateAlways,
                   kFileFlagSequentialScan)) {
    if (t_lastError == kErrorAlreadyExists) t_lastError = kErrorFileExists;
    return false;
  }
  std::string buffer(kCopyBlock, '\0');
  for (;;) {
    uint32_t got = 0;
    if (!source.Read(buffer.data(), kCopyBlock, &got)) return false;
    if (got == 0) break;
    uint32_t put = 0;
    if (!target.Write(buffer.data(), got, &put)) return false;
  }
  return Succeed();
}

bool CreateTempFileIn(const std::u16string& folder, const std::u16string& prefix,
                      std::u16string* path) {
  std::u16string base = folder;
  if (!base.empty() && base.back() != u'\\' && base.back() != u'/') base += u'/';
  static uint32_t counter = static_cast<uint32_t>(getpid());
  for (uint32_t attempt = 0; attempt < 0x10000; ++attempt) {
    if (!FileOperationAllowed()) return false;
    char name[16];
    snprintf(name, sizeof name, "%04X.tmp", (++counter) & 0xFFFF);
    std::u16string candidate = base + prefix.substr(0, 3) + Utf8ToUtf16(name);
    const std::string native = NativePath(candidate);
    int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ::close(fd);
      *path = candidate;
      return Succeed();
    }
    if (errno != EEXIST) return FailWithPath(errno, native);
  }
  return FailWith(EEXIST);
}

bool GetTempFolder(std::u16string* folder) {
  const char* dir = getenv("TMPDIR");
  std::string text = (dir != nullptr && *dir != '\0') ? dir : "/tmp";
  if (text.back() != '/') text += '/';
  *folder = Utf8ToUtf16(text);
  return Succeed();
}

bool CreateFolderChain(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  const std::string native = NativePath(path);
  std::string::size_type last = native.find_last_of('/');
  if (last == std::string::npos) return Succeed();
  for (std::string::size_type pos = native.find('/', 1); pos != std::string::npos && pos <= last;
       pos = native.find('/', pos + 1)) {
    std::string part = native.substr(0, pos);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return FailWithPath(errno, part);
  }
  return Succeed();
}

bool FolderOfPath(const std::u16string& path, std::u16string* folder) {
  std::u16string::size_type slash = path.find_last_of(u"\\/");
  std::u16string result;
  if (slash == std::u16string::npos) {
    if (path.empty()) return false;
    result = u"";
  } else if (slash + 1 == path.size() && (slash == 0 || path[slash - 1] == u':')) {
    return false;  // a root has no file name to remove
  } else {
    // Keep the separator of a root ("\" or "C:\"); drop it otherwise.
    bool root = slash == 0 || (slash == 2 && path[1] == u':');
    result = path.substr(0, root ? slash + 1 : slash);
  }
  if (!result.empty() && result.back() != u'\\' && result.back() != u'/') result += u'\\';
  if (result.size() >= 260) return false;
  *folder = result;
  return true;
}

}  // namespace qv
