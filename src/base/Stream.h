// Byte streams: the abstract TStream with its helpers, a growable memory stream and a file
// stream. Positions and sizes are 64-bit; Read and Write move the position by what they moved.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum class SeekOrigin { Beginning = 0, Current = 1, End = 2 };

class TStream
{
public:
    virtual ~TStream() = default;

    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes up to count bytes; returns how many were accepted.
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Moves the position and returns the new one. Positions are clamped at 0.
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    virtual int64_t Size();

    int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(int64_t position) { Seek(position, SeekOrigin::Beginning); }

    // Read or write exactly count bytes, else EReadError "Stream read error" or
    // EWriteError "Stream write error".
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from source (count 0: all from source's start); returns the count.
    int64_t CopyFrom(TStream& source, int64_t count);
};

// Owns its bytes. Size grows on write past the end; SetSize truncates or zero-extends.
class TMemoryStream : public TStream
{
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(m_bytes.size()); }
    void SetSize(int64_t size);
    void Clear();

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t>& Bytes() { return m_bytes; }
    std::string AsString() const { return {m_bytes.begin(), m_bytes.end()}; }

private:
    std::vector<uint8_t> m_bytes;
    int64_t m_position = 0;
};

// A stream over a read-only block of memory it does not own; Write fails with
// EStreamError "Cannot write to a read-only stream".
class TReadOnlyMemoryStream : public TStream
{
public:
    TReadOnlyMemoryStream(const void* data, int64_t size)
        : m_data(static_cast<const uint8_t*>(data)), m_size(size)
    {
    }
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override { return m_size; }
    const uint8_t* Memory() const { return m_data; }

private:
    const uint8_t* m_data;
    int64_t m_size;
    int64_t m_position = 0;
};

enum class FileMode { OpenRead, OpenReadWrite, Create };

// A file opened in binary mode. Opening fails with EFOpenError "Cannot open file "%s". %s",
// creating with EFCreateError "Cannot create file "%s". %s" (the second %s is the reason).
class TFileStream : public TStream
{
public:
    TFileStream(const std::string& fileName, FileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() override;
    // Flushes and closes; throws EWriteError when buffered data cannot be written.
    void Close();
    const std::string& FileName() const { return m_fileName; }

private:
    std::string m_fileName;
    std::FILE* m_file = nullptr;
};
