// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "floorpass.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Written out whenever it fills: a buffer the size of the file would only add
// first-touch page faults, which cost more than the scan on a virtual machine.
constexpr std::size_t outputChunkBytes = 1u << 20;

std::string describe(const char *what, const std::string &path)
{
    return std::string(what) + ' ' + path + ": " + std::strerror(errno);
}

bool readWhole(const std::string &path, std::unique_ptr<char[]> &buffer, std::size_t &size, std::string &error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = describe("cannot open", path);
        return false;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        error = describe("cannot read", path);
        ::close(fd);
        return false;
    }
    size = std::size_t(status.st_size);
    // Left uninitialised: zero-filling would add a pass the correction need not make.
    buffer = std::make_unique_for_overwrite<char[]>(size + 1);
    std::size_t done = 0;
    while (done < size) {
        // One read unless the kernel caps it (about 2 GB on Linux).
        const ssize_t got = ::read(fd, buffer.get() + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got == 0 ? path + " shrank while being read" : describe("cannot read", path);
            ::close(fd);
            return false;
        }
        done += std::size_t(got);
    }
    ::close(fd);
    return true;
}

} // namespace

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

bool runFloorPass(const std::string &inputPath, const std::string &outputPath, FloorPassResult &result,
                  std::string &error)
{
    result = {};
    std::unique_ptr<char[]> input;
    std::size_t size = 0;
    if (!readWhole(inputPath, input, size, error))
        return false;
    result.bytesRead = size;

    const int fd = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = describe("cannot create", outputPath);
        return false;
    }
    // Room for one more line and its CR LF beyond the chunk, so a line is
    // copied whole; a longer line goes straight from the input.
    const auto output = std::make_unique_for_overwrite<char[]>(2 * outputChunkBytes + 2);
    const char *in = input.get();
    char *out = output.get();
    bool isOk = true;
    const auto flush = [&] {
        const std::size_t pending = std::size_t(out - output.get());
        isOk = isOk && writeAll(fd, output.get(), pending);
        result.bytesWritten += pending;
        out = output.get();
    };
    std::size_t at = 0;
    std::size_t lf = 0; // the next LF at or after at, or size
    bool isLfKnown = false;
    while (at < size && isOk) {
        if (!isLfKnown || lf < at) {
            const void *found = std::memchr(in + at, '\n', size - at);
            lf = found ? std::size_t(static_cast<const char *>(found) - in) : size;
            isLfKnown = true;
        }
        const void *cr = std::memchr(in + at, '\r', lf - at);
        const std::size_t lineEnd = cr ? std::size_t(static_cast<const char *>(cr) - in) : lf;
        const std::size_t lineBytes = lineEnd - at;
        if (lineBytes > outputChunkBytes) {
            flush();
            isOk = isOk && writeAll(fd, in + at, lineBytes);
            result.bytesWritten += lineBytes;
        } else {
            std::memcpy(out, in + at, lineBytes);
            out += lineBytes;
        }
        *out++ = '\r';
        *out++ = '\n';
        ++result.lines;
        if (std::size_t(out - output.get()) >= outputChunkBytes)
            flush();
        if (cr && lineEnd + 1 != lf)
            at = lineEnd + 1;
        else
            at = lf < size ? lf + 1 : size;
    }
    flush();
    if (!isOk)
        error = describe("cannot write", outputPath);
    if (::close(fd) != 0 && isOk) {
        error = describe("cannot write", outputPath);
        isOk = false;
    }
    return isOk;
}
