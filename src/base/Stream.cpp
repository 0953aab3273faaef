#include "base/Stream.h"

#include "base/Exception.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

int64_t TStream::Size()
{
    const int64_t here = Position();
    const int64_t end = Seek(0, SeekOrigin::End);
    Seek(here, SeekOrigin::Beginning);
    return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> chunk(static_cast<size_t>(std::min<int64_t>(count, 65536)));
    int64_t left = count;
    while (left > 0) {
        const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(chunk.size()));
        source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        left -= n;
    }
    return count;
}

// A seek target clamped at 0; shared by the memory streams.
static int64_t seekTarget(int64_t offset, SeekOrigin origin, int64_t position, int64_t size)
{
    int64_t target = offset;
    if (origin == SeekOrigin::Current)
        target = position + offset;
    else if (origin == SeekOrigin::End)
        target = size + offset;
    return std::max<int64_t>(target, 0);
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    const int64_t available = std::max<int64_t>(0, Size() - m_position);
    const int64_t n = std::clamp<int64_t>(count, 0, available);
    if (n > 0)
        std::memcpy(buffer, m_bytes.data() + m_position, static_cast<size_t>(n));
    m_position += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    const auto end = static_cast<size_t>(m_position + count);
    if (end > m_bytes.size())
        m_bytes.resize(end);
    std::memcpy(m_bytes.data() + m_position, buffer, static_cast<size_t>(count));
    m_position += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin)
{
    m_position = seekTarget(offset, origin, m_position, Size());
    return m_position;
}

void TMemoryStream::SetSize(int64_t size)
{
    m_bytes.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    m_position = std::min(m_position, Size());
}

void TMemoryStream::Clear()
{
    m_bytes.clear();
    m_position = 0;
}

int64_t TReadOnlyMemoryStream::Read(void* buffer, int64_t count)
{
    const int64_t available = std::max<int64_t>(0, m_size - m_position);
    const int64_t n = std::clamp<int64_t>(count, 0, available);
    if (n > 0)
        std::memcpy(buffer, m_data + m_position, static_cast<size_t>(n));
    m_position += n;
    return n;
}

int64_t TReadOnlyMemoryStream::Write(const void*, int64_t)
{
    throw EStreamError("Cannot write to a read-only stream");
}

int64_t TReadOnlyMemoryStream::Seek(int64_t offset, SeekOrigin origin)
{
    m_position = seekTarget(offset, origin, m_position, m_size);
    return m_position;
}

TFileStream::TFileStream(const std::string& fileName, FileMode mode) : m_fileName(fileName)
{
    const char* how = mode == FileMode::Create ? "w+b" : mode == FileMode::OpenReadWrite ? "r+b" : "rb";
    m_file = std::fopen(fileName.c_str(), how);
    if (!m_file) {
        const std::string reason = std::strerror(errno);
        if (mode == FileMode::Create)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), reason.c_str()));
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), reason.c_str()));
    }
}

TFileStream::~TFileStream()
{
    if (m_file)
        std::fclose(m_file);
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    if (!m_file || count <= 0)
        return 0;
    return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), m_file));
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    if (!m_file || count <= 0)
        return 0;
    return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), m_file));
}

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin)
{
    if (!m_file)
        return 0;
    const int whence = origin == SeekOrigin::Beginning ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    if (std::fseek(m_file, static_cast<long>(offset), whence) != 0 && whence != SEEK_SET)
        std::fseek(m_file, 0, SEEK_SET);
    return static_cast<int64_t>(std::ftell(m_file));
}

int64_t TFileStream::Size()
{
    if (!m_file)
        return 0;
    const long here = std::ftell(m_file);
    std::fseek(m_file, 0, SEEK_END);
    const long end = std::ftell(m_file);
    std::fseek(m_file, here, SEEK_SET);
    return end;
}

void TFileStream::Close()
{
    if (!m_file)
        return;
    const bool flushed = std::fflush(m_file) == 0;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!flushed || !closed)
        throw EWriteError(Format("Cannot write file \"%s\". %s", m_fileName.c_str(), std::strerror(errno)));
}
