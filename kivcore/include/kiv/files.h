// Files read only when they are what they claim, and written whole or not at all: the one way
// the engine, the modules and the hosts read pictures and scripts and write pictures, meshes
// and scripts.
//
//   KivOpenRegularFile(path, maxBytes, &size, &why)
//       A descriptor for reading `path`, or -1 with the reason. Only a regular file of 1 to
//       maxBytes bytes opens: a directory, a device (/dev/zero never ends), a pipe or a socket
//       is refused without reading a byte or waiting for a writer.
//   KivReadExactly(fd, buffer, size, &why)
//       Reads `size` bytes; false when the file ends sooner (it shrank since it was opened).
//   KivWriteFileAtomically(path, write, &why)
//       Calls write(FILE*) on a new file beside `path` (".NAME.tmp-..." in the same folder),
//       flushes it to the disk and renames it over `path`. On any failure, a missing or
//       read-only folder, a full disk, a path that is a folder or a device, a false from
//       `write`: false with the system's reason ("No space left on device"), the old file as it
//       was and no temporary file left behind. The new file gets the old one's permissions, or
//       the usual ones for a new file (0666 less the umask).
//
// Reasons are clauses without the path, to follow "cannot read 'PATH': ": "it is a
// directory", or the system's own text ("No such file or directory").
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace kiv_files_detail {

inline std::string Reason(int error) { return std::strerror(error); }

// What a stat says about a file that is not a regular one.
inline const char* NotRegular(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a directory";
    if (S_ISFIFO(mode) || S_ISSOCK(mode)) return "it is a pipe or a socket, not a file";
    return "it is a device, not a file";
}

}  // namespace kiv_files_detail

inline int KivOpenRegularFile(const char* path, uint64_t maxBytes, uint64_t* size,
                              std::string* why) {
    using namespace kiv_files_detail;
    if (!path || !*path) {
        *why = "no file name";
        return -1;
    }
    // Non-blocking, so that a pipe without a writer does not hold the open.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *why = Reason(errno);
        return -1;
    }
    struct stat info;
    std::string refusal;
    if (fstat(fd, &info) != 0)
        refusal = Reason(errno);
    else if (!S_ISREG(info.st_mode))
        refusal = NotRegular(info.st_mode);
    else if (info.st_size <= 0)
        refusal = "it is empty";
    else if (uint64_t(info.st_size) > maxBytes)
        refusal = "it is too large (" + std::to_string(uint64_t(info.st_size) >> 20) +
                  " MiB; at most " + std::to_string(maxBytes >> 20) + " MiB)";
    if (refusal.empty()) {
        int flags = fcntl(fd, F_GETFL);
        if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        *size = uint64_t(info.st_size);
        return fd;
    }
    *why = refusal;
    close(fd);
    return -1;
}

inline bool KivReadExactly(int fd, void* buffer, size_t size, std::string* why) {
    char* at = static_cast<char*>(buffer);
    while (size > 0) {
        ssize_t n = read(fd, at, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *why = kiv_files_detail::Reason(errno);
            return false;
        }
        if (n == 0) {
            *why = "it ended early (it changed while it was read)";
            return false;
        }
        at += n;
        size -= size_t(n);
    }
    return true;
}

inline bool KivWriteFileAtomically(const char* path, const std::function<bool(std::FILE*)>& write,
                                   std::string* why) {
    using namespace kiv_files_detail;
    if (!path || !*path) {
        *why = "no file name";
        return false;
    }
    std::string target(path);
    struct stat old;
    bool exists = stat(path, &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        *why = NotRegular(old.st_mode);
        return false;
    }
    if (target.back() == '/') {
        *why = Reason(EISDIR);
        return false;
    }
    size_t slash = target.find_last_of('/');
    std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    // A name of our own in the same folder, so that the rename stays on one file system; made
    // with O_EXCL and mode 0666, which the umask then narrows as for any new file.
    static std::atomic<unsigned> serial{0};
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = folder + "." + name.substr(0, 200) + ".tmp-" + std::to_string(getpid()) + "-" +
                    std::to_string(serial++);
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        *why = Reason(errno);
        return false;
    }
    if (exists) fchmod(fd, old.st_mode & 07777);
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        *why = Reason(errno);
        close(fd);
        unlink(temporary.c_str());
        return false;
    }
    errno = 0;
    bool ok = write(file);
    int error = ok ? 0 : (errno ? errno : EIO);
    if (ok && (std::fflush(file) != 0 || std::ferror(file)))
        ok = false, error = errno ? errno : EIO;
    // A full disk may show only when the data reaches it.
    if (ok && fsync(fileno(file)) != 0 && errno != EINVAL) ok = false, error = errno;
    if (std::fclose(file) != 0 && ok) ok = false, error = errno;
    if (ok && rename(temporary.c_str(), path) != 0) ok = false, error = errno;
    if (!ok) {
        *why = Reason(error);
        unlink(temporary.c_str());
    }
    return ok;
}
