// Replacing a file without ever leaving it half written: the new content goes to a temporary
// file beside the target, which is renamed over the target only once it is complete. The
// target keeps its permissions; a target that is a symbolic link has the link's destination
// replaced, and the link stays.
#pragma once

#include "base/Stream.h"

#include <string>

// A stream onto the temporary file. Commit() flushes, closes and renames it over the target;
// destroying the object without a successful Commit() deletes the temporary file and leaves
// the target as it was. Errors (the folder not writable, the disk full, the rename refused)
// throw EFCreateError or EWriteError with a message naming the target and the reason.
class TAtomicFileStream : public TStream
{
public:
    explicit TAtomicFileStream(const std::string& targetFileName);
    ~TAtomicFileStream() override;
    TAtomicFileStream(const TAtomicFileStream&) = delete;
    TAtomicFileStream& operator=(const TAtomicFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override;

    void Commit();
    const std::string& TargetFileName() const { return m_target; }

private:
    std::string m_target;   // the path the caller named
    std::string m_resolved; // the file that is replaced (the link's destination for a link)
    std::string m_temporary;
    int m_descriptor = -1; // the temporary file, open until Commit() or destruction
    bool m_committed = false;

    [[noreturn]] void failWrite(const char* action, int error);
    void discard();
};

// Writes bytes to a file atomically, as above.
void WriteFileAtomically(const std::string& fileName, const std::string& bytes);
