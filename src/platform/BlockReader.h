// Reading a file another program wrote in blocks of a fixed size, without ever blocking: only a
// regular file is opened (a FIFO or device standing where a file is expected is refused), and
// a failed read is told apart from the end of the file.
#pragma once

#include <cstdint>
#include <string>

class TBlockReader
{
public:
    TBlockReader() = default;
    ~TBlockReader();
    TBlockReader(const TBlockReader&) = delete;
    TBlockReader& operator=(const TBlockReader&) = delete;

    // Opens path for reading; false when it is missing, not a regular file or not readable.
    bool open(const std::string& path);
    // Reads up to count bytes into buffer: the number read, 0 at the end, -1 on a read error.
    int64_t read(char* buffer, int64_t count);
    void close();

private:
    int m_descriptor = -1;
};
