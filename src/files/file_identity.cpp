#include "file_identity.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran {
namespace {

// Copies the bytes of one open file into a new file created exclusively; false on any failure.
bool copyInto(int from, const std::string& to, mode_t mode, int& failure) {
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (out < 0) {
        failure = errno;
        return false;
    }
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            failure = errno;
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0) {
                failure = errno;
                ok = false;
                break;
            }
            done += put;
        }
        if (!ok)
            break;
    }
    if (ok && ::fsync(out) != 0) {
        failure = errno;
        ok = false;
    }
    ::close(out);
    if (!ok)
        ::unlink(to.c_str());
    return ok;
}

} // namespace

FileIdentity identityOf(const struct stat& info) {
    FileIdentity identity;
    identity.present = true;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = static_cast<std::uint64_t>(info.st_size);
    identity.modifiedSeconds = info.st_mtim.tv_sec;
    identity.modifiedNanoseconds = info.st_mtim.tv_nsec;
    return identity;
}

FileIdentity identityOfPath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return identityOf(info);
}

std::string keepCopyOf(const std::string& path, const std::string& wanted, std::string& error) {
    for (int number = 1; number < 1000; ++number) {
        const std::string name = number == 1 ? wanted : wanted + "-" + std::to_string(number);
        if (::link(path.c_str(), name.c_str()) == 0)
            return name;
        if (errno == EEXIST)
            continue;
        // Some file systems have no hard links: copy the bytes instead.
        const int from = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (from < 0) {
            error = std::strerror(errno);
            return {};
        }
        int failure = 0;
        const bool copied = copyInto(from, name, 0600, failure);
        ::close(from);
        if (copied)
            return name;
        if (failure == EEXIST)
            continue;
        error = std::strerror(failure);
        return {};
    }
    error = std::strerror(EEXIST);
    return {};
}

} // namespace velloran
