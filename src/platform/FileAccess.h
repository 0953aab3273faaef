// Asking the file system about a file before the program relies on it, and reading files that
// other programs write. Every read here is bounded and never blocks: a FIFO, a device or a
// folder standing where a file is expected is refused with a message instead of being opened.
#pragma once

#include <string>

// Whether path names a regular file (symbolic links followed).
bool isRegularFile(const std::string& path);
// Whether the user running the program may write the existing file (or, for a file that does
// not exist, create it in its folder). Root passes wherever the mount allows writing.
bool userMayWrite(const std::string& path);

enum class TReadResult
{
    Missing, // no such file; bytes is empty
    Whole,   // bytes holds the whole file
    Cut,     // the file is larger than the limit; bytes holds its first maxSize bytes
};

// Reads a regular file of which at most maxSize bytes are kept. Throws EFOpenError naming the
// file and the reason when it exists but cannot be read or is not a regular file.
TReadResult readRegularFile(const std::string& fileName, long long maxSize, std::string& bytes);

// Reads a whole file of at most maxSize bytes. Returns false when the file is missing;
// throws EFOpenError when it exists but cannot be read, is not a regular file or is larger
// than maxSize ("The file is too large").
bool readFileLimited(const std::string& fileName, long long maxSize, std::string& bytes);
