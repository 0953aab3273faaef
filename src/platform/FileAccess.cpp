#include "platform/FileAccess.h"

#include "base/Exception.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void failOpen(const std::string& fileName, const char* reason)
{
    throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), reason));
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

class TDescriptor
{
public:
    explicit TDescriptor(int descriptor) : m_descriptor(descriptor) {}
    ~TDescriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int get() const { return m_descriptor; }

private:
    int m_descriptor;
};

} // namespace

bool isRegularFile(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool userMayWrite(const std::string& path)
{
    if (::access(path.c_str(), W_OK) == 0)
        return true;
    return errno == ENOENT && ::access(folderOf(path).c_str(), W_OK | X_OK) == 0;
}

TReadResult readRegularFile(const std::string& fileName, long long maxSize, std::string& bytes)
{
    bytes.clear();
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it means nothing for the
    // regular files that are read.
    const TDescriptor file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return TReadResult::Missing;
        failOpen(fileName, std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        failOpen(fileName, std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        failOpen(fileName, std::strerror(EISDIR));
    if (!S_ISREG(info.st_mode))
        failOpen(fileName, "It is not a regular file");
    // The size is only a hint: the file may change while it is read, and it stays bounded.
    char chunk[65536];
    while (true) {
        const ssize_t n = ::read(file.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failOpen(fileName, std::strerror(errno));
        if (n == 0)
            return TReadResult::Whole;
        const long long room = maxSize - static_cast<long long>(bytes.size());
        if (n > room) {
            bytes.append(chunk, static_cast<size_t>(room));
            return TReadResult::Cut;
        }
        bytes.append(chunk, static_cast<size_t>(n));
    }
}

bool readFileLimited(const std::string& fileName, long long maxSize, std::string& bytes)
{
    const TReadResult result = readRegularFile(fileName, maxSize, bytes);
    if (result == TReadResult::Cut) {
        bytes.clear();
        failOpen(fileName, "The file is too large");
    }
    return result == TReadResult::Whole;
}
