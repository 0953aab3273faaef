// POSIX file descriptors, opened non-blocking and checked to be regular files.
#include "platform/BlockReader.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TBlockReader::~TBlockReader()
{
    close();
}

bool TBlockReader::open(const std::string& path)
{
    close();
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return false;
    }
    m_descriptor = descriptor;
    return true;
}

int64_t TBlockReader::read(char* buffer, int64_t count)
{
    if (m_descriptor < 0)
        return -1;
    int64_t total = 0;
    while (total < count) {
        const ssize_t n = ::read(m_descriptor, buffer + total, static_cast<size_t>(count - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return total > 0 ? total : -1;
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

void TBlockReader::close()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}
