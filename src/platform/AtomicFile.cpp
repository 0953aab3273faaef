#include "platform/AtomicFile.h"

#include "base/Exception.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

// Symbolic links followed at most, as the kernel does, so a loop of links ends.
constexpr int maxLinkDepth = 40;

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows the final component of path through symbolic links to the file they end at. The
// end may not exist yet (a dangling link): writing then creates it. Folders above the final
// component need no resolving, since the rename goes through them as the link does. A loop
// of links is refused, as opening it would be.
std::string resolveLinks(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < maxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string destination(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.c_str(), destination.data(), destination.size());
        if (length <= 0 || static_cast<size_t>(length) >= destination.size())
            return current;
        destination.resize(static_cast<size_t>(length));
        current = destination.front() == '/' ? destination : folderOf(current) + "/" + destination;
    }
    throw EFCreateError(Format("Cannot create file \"%s\". %s", path.c_str(), std::strerror(ELOOP)));
}

int currentUmask()
{
    // umask can only be read by setting it; the program is single-threaded where it writes files.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<int>(mask);
}

// The permission bits the replacement gets: those of the file it replaces, else what a plain
// create would give under the umask.
mode_t permissionsFor(const std::string& resolved)
{
    struct stat info {};
    if (::stat(resolved.c_str(), &info) == 0)
        return info.st_mode & 07777;
    return static_cast<mode_t>(0666 & ~currentUmask());
}

// Writes everything; returns 0, or the errno of the failure.
int writeAll(int descriptor, const char* data, size_t count)
{
    while (count > 0) {
        const ssize_t n = ::write(descriptor, data, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        data += n;
        count -= static_cast<size_t>(n);
    }
    return 0;
}

// Makes the rename itself durable; a failure here loses nothing already renamed, so it is ignored.
void syncFolder(const std::string& folder)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

// Whether entry is a temporary file of ours for the file called name: "." + name + "." and the
// six characters mkostemp put there.
bool isTemporaryOf(const std::string& entry, const std::string& name)
{
    const std::string prefix = "." + name + ".";
    if (entry.size() != prefix.size() + 6 || entry.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (size_t i = prefix.size(); i < entry.size(); ++i) {
        if (!std::isalnum(static_cast<unsigned char>(entry[i])))
            return false;
    }
    return true;
}

// A save that was killed between writing and renaming leaves its temporary file behind; the
// next successful save of the same file removes every such leftover.
void removeLeftoverTemporaries(const std::string& folder, const std::string& name)
{
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return;
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(listing)) {
        if (isTemporaryOf(entry->d_name, name))
            leftovers.emplace_back(entry->d_name);
    }
    ::closedir(listing);
    for (const std::string& leftover : leftovers) {
        const std::string path = folder + "/" + leftover;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(path.c_str());
    }
}

} // namespace

TAtomicFileStream::TAtomicFileStream(const std::string& targetFileName)
    : m_target(targetFileName), m_resolved(resolveLinks(targetFileName))
{
    std::string pattern = folderOf(m_resolved) + "/." + nameOf(m_resolved) + ".XXXXXX";
    m_descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_descriptor < 0) {
        const int error = errno;
        throw EFCreateError(Format("Cannot create file \"%s\". %s", m_target.c_str(), std::strerror(error)));
    }
    m_temporary = pattern;
    struct stat existing {};
    if (::stat(m_resolved.c_str(), &existing) == 0 && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        // Only the owner or root may hand a file to another owner; when that is refused the
        // replacement simply belongs to us, as a newly saved file would.
        [[maybe_unused]] const int ignored = ::fchown(m_descriptor, existing.st_uid, existing.st_gid);
    }
    if (::fchmod(m_descriptor, permissionsFor(m_resolved)) != 0) {
        const int error = errno;
        discard();
        throw EFCreateError(Format("Cannot create file \"%s\". %s", m_target.c_str(), std::strerror(error)));
    }
}

TAtomicFileStream::~TAtomicFileStream()
{
    if (!m_committed)
        discard();
}

void TAtomicFileStream::discard()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

void TAtomicFileStream::failWrite(const char* action, int error)
{
    discard();
    throw EWriteError(Format("Cannot %s file \"%s\". %s", action, m_target.c_str(), std::strerror(error)));
}

int64_t TAtomicFileStream::Read(void* buffer, int64_t count)
{
    if (m_descriptor < 0 || count <= 0)
        return 0;
    ssize_t n;
    do
        n = ::read(m_descriptor, buffer, static_cast<size_t>(count));
    while (n < 0 && errno == EINTR);
    return n < 0 ? 0 : n;
}

int64_t TAtomicFileStream::Write(const void* buffer, int64_t count)
{
    if (m_descriptor < 0)
        throw EWriteError(Format("Cannot write file \"%s\". %s", m_target.c_str(), "The file is already closed"));
    if (count <= 0)
        return 0;
    if (const int error = writeAll(m_descriptor, static_cast<const char*>(buffer), static_cast<size_t>(count)))
        failWrite("write", error);
    return count;
}

int64_t TAtomicFileStream::Seek(int64_t offset, SeekOrigin origin)
{
    if (m_descriptor < 0)
        return 0;
    const int whence = origin == SeekOrigin::Beginning ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    off_t position = ::lseek(m_descriptor, static_cast<off_t>(offset), whence);
    if (position < 0)
        position = ::lseek(m_descriptor, 0, SEEK_SET);
    return position < 0 ? 0 : position;
}

int64_t TAtomicFileStream::Size()
{
    struct stat info {};
    if (m_descriptor < 0 || ::fstat(m_descriptor, &info) != 0)
        return 0;
    return info.st_size;
}

void TAtomicFileStream::Commit()
{
    if (m_committed)
        return;
    if (m_descriptor < 0)
        throw EWriteError(Format("Cannot write file \"%s\". %s", m_target.c_str(), "The file is already closed"));
    if (::fsync(m_descriptor) != 0)
        failWrite("write", errno);
    const int descriptor = m_descriptor;
    m_descriptor = -1;
    if (::close(descriptor) != 0)
        failWrite("write", errno);
    if (::rename(m_temporary.c_str(), m_resolved.c_str()) != 0)
        failWrite("replace", errno);
    m_temporary.clear();
    m_committed = true;
    syncFolder(folderOf(m_resolved));
    removeLeftoverTemporaries(folderOf(m_resolved), nameOf(m_resolved));
}

void WriteFileAtomically(const std::string& fileName, const std::string& bytes)
{
    TAtomicFileStream stream(fileName);
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.Commit();
}
