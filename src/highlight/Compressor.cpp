#include "highlight/Compressor.h"

#include "base/Exception.h"
#include "highlight/BlockCodec.h"
#include "highlight/CodecIO.h"
#include "highlight/CompressorErrors.h"
#include "highlight/LzhCodec.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

namespace {

constexpr char kBlockMagic[4] = {'W', 'R', 'Z', 'L'};
constexpr char kLzhMagic[4] = {'!', 'H', 'Z', 'L'};
const char* const kBlockMismatch = "Compressor (decompression Compressor/QZ) : Original and compressed sizes do not match !";
const char* const kLzhMismatch = "Compressor (LZH decompression) : Original and compressed sizes do not match !";
const char* const kNoBuffers = "Compressor (de)compression : Failed to get memory for I/O buffers !";

[[noreturn]] void fail(const std::string& message) { throw ECompressorException(message); }

// Both I/O buffers, allocated together so a shortage is reported once.
struct Buffers
{
    Buffers(TStream& in, TStream& out) : input(in), output(out) {}
    InputBuffer input;
    OutputBuffer output;
};

std::unique_ptr<Buffers> makeBuffers(TStream& in, TStream& out)
{
    try {
        return std::make_unique<Buffers>(in, out);
    } catch (const std::bad_alloc&) {
        fail(kNoBuffers);
    }
}

} // namespace

// The texts of one mode: stream mode names no file, file mode appends the file's name.
struct TCompressor::Messages
{
    std::string readFixed, writeFailed, readBlock, readLzh, noHeader, sizeUnknown;
    std::string initInput = "Compressor (de)compression : Failed to initialize input stream !";
    std::string initOutput = "Compressor (de)compression : Failed to initialize output stream !";
    std::string adviseSize, adviseInit = "Compressor edvise : can not initialize the input stream!", adviseRead;

    static Messages forStreams()
    {
        Messages t;
        t.readFixed = "Compressor : Error reading from input stream !";
        t.writeFailed = "Compressor : Error writing to output stream !";
        t.readBlock = "Compressor : Error reading from input stream ! (Compressor/QZ)";
        t.readLzh = "Compressor : Error reading from input stream ! (LZH)";
        t.noHeader = "Compressor decompression : input stream contains no valid header !";
        t.sizeUnknown = "Compressor compression : Failed to obtain the size of the input stream !";
        t.adviseSize = "Compressor advise : can not get size of inputstream !";
        t.adviseRead = "Compressor advise : input stream read error !";
        return t;
    }
    static Messages forFiles(const std::string& in, const std::string& out)
    {
        Messages t;
        t.readFixed = "Compressor : Error reading from input file : " + in;
        t.writeFailed = "Compressor : Error writing to output file : " + out;
        t.readBlock = "Compressor : Error reading from input file : " + in + " (Compressor/QZ)";
        t.readLzh = "Compressor : Error reading from input file : " + in + " (LZH)";
        t.noHeader = in + " : Compressor decompression : this file has no valid header !";
        t.sizeUnknown = "Compressor compression : Failed to obtain the size of : " + in;
        t.adviseSize = "Compressor advise : can not get the size of : " + in;
        t.adviseRead = "Compressor advise : read error on input file : " + in;
        return t;
    }
};

namespace {

int64_t positionOf(TStream& stream, const std::string& message)
{
    int64_t position = -1;
    try {
        position = stream.Position();
    } catch (const Exception&) {
    }
    if (position < 0)
        fail(message);
    return position;
}

// Bytes from the stream's position to its end.
int64_t remainingOf(TStream& stream, int64_t position, const std::string& message)
{
    int64_t size = -1;
    try {
        size = stream.Size();
    } catch (const Exception&) {
    }
    if (size < position)
        fail(message);
    return size - position;
}

void seekTo(TStream& stream, int64_t position, const std::string& message)
{
    int64_t reached = -1;
    try {
        reached = stream.Seek(position, SeekOrigin::Beginning);
    } catch (const Exception&) {
    }
    if (reached != position)
        fail(message);
}

void putInt32(OutputBuffer& out, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    out.write(bytes, 4);
}

} // namespace

int TCompressor::adviseStream(TStream& in, const Messages& texts)
{
    const int64_t start = positionOf(in, texts.adviseInit);
    const int64_t size = remainingOf(in, start, texts.adviseSize);
    if (size <= kAdviseSmallInput) {
        m_method = cmLZH;
        return cmLZH;
    }
    std::vector<uint8_t> piece, block;
    std::vector<int16_t> hashTable;
    try {
        piece.assign(kIoBufferSize, 0);
        block.assign(kIoBufferSize, 0);
        hashTable.resize(blockcodec::kHashSize);
    } catch (const std::bad_alloc&) {
        fail("Compressor advise : Error getting I/O buffers");
    }
    int64_t sampled = 0;
    int64_t packed = 0;
    for (const int64_t third : {size / 3, size * 2 / 3}) {
        const int64_t offset = third / int64_t(blockcodec::kPieceSize) * int64_t(blockcodec::kPieceSize);
        const auto n = static_cast<size_t>(std::min<int64_t>(int64_t(blockcodec::kPieceSize), size - offset));
        seekTo(in, start + offset, texts.adviseInit);
        int64_t got = -1;
        try {
            got = in.Read(piece.data(), static_cast<int64_t>(n));
        } catch (const Exception&) {
        }
        if (got != static_cast<int64_t>(n))
            fail(texts.adviseRead);
        std::fill(piece.begin() + static_cast<std::ptrdiff_t>(n), piece.end(), uint8_t(0));
        sampled += static_cast<int64_t>(n);
        packed += static_cast<int64_t>(blockcodec::encodeBlock(piece.data(), n, block.data(), hashTable));
    }
    seekTo(in, start, texts.adviseInit);
    return packed < sampled * m_threshold / 100 ? cmBlock : cmLZH;
}

int64_t TCompressor::compressStreams(TStream& in, TStream& out, const Messages& texts)
{
    const int64_t start = positionOf(in, texts.initInput);
    positionOf(out, texts.initOutput);
    const int64_t size = remainingOf(in, start, texts.sizeUnknown);
    if (size > INT32_MAX)
        fail(texts.sizeUnknown);
    const int method = m_method == cmAdvise ? adviseStream(in, texts) : m_method;
    auto buffers = makeBuffers(in, out);
    try {
        buffers->output.write(reinterpret_cast<const uint8_t*>(method == cmLZH ? kLzhMagic : kBlockMagic), 4);
        putInt32(buffers->output, static_cast<int32_t>(size));
        if (method == cmLZH)
            lzhcodec::encodeStream(buffers->input, buffers->output);
        else
            blockcodec::encodeStream(buffers->input, buffers->output);
        buffers->output.flush();
    } catch (const CodecError& error) {
        if (error.fault == CodecFault::WriteOutput)
            fail(texts.writeFailed);
        fail(method == cmLZH ? texts.readLzh : texts.readBlock);
    }
    return buffers->output.written();
}

int64_t TCompressor::decompressStreams(TStream& in, TStream& out, const Messages& texts)
{
    positionOf(in, texts.initInput);
    positionOf(out, texts.initOutput);
    auto buffers = makeBuffers(in, out);
    InputBuffer& input = buffers->input;
    uint8_t field[4];
    bool lzh = false;
    int64_t produced = 0;
    int32_t size = 0;
    try {
        if (input.read(field, 4) != 4)
            fail(texts.readFixed);
        lzh = std::memcmp(field, kLzhMagic, 4) == 0;
        if (!lzh && std::memcmp(field, kBlockMagic, 4) != 0)
            fail(texts.noHeader);
        if (input.read(field, 4) != 4)
            fail(texts.readFixed);
        size = static_cast<int32_t>(field[0] | (uint32_t(field[1]) << 8) | (uint32_t(field[2]) << 16) |
                                    (uint32_t(field[3]) << 24));
        produced = lzh ? lzhcodec::decodeStream(input, buffers->output, size)
                       : blockcodec::decodeStream(input, buffers->output, size);
        buffers->output.flush();
    } catch (const CodecError& error) {
        if (error.fault == CodecFault::WriteOutput)
            fail(texts.writeFailed);
        if (error.fault == CodecFault::ReadInput)
            fail(lzh ? texts.readLzh : texts.readBlock);
        fail(lzh ? kLzhMismatch : kBlockMismatch);
    }
    if (produced != size)
        fail(lzh ? kLzhMismatch : kBlockMismatch);
    input.giveBackUnused();
    return produced;
}

template <typename Work> int64_t TCompressor::runOnFiles(Work work)
{
    const Messages texts = Messages::forFiles(m_inputFileName, m_outputFileName);
    std::unique_ptr<TFileStream> in;
    try {
        in = std::make_unique<TFileStream>(m_inputFileName, FileMode::OpenRead);
    } catch (const EStreamError&) {
        fail("Compressor (de)compression : Failed to open input file : " + m_inputFileName);
    }
    // Creating the output truncates it, so an output that is the input would lose the data.
    std::error_code ec;
    if (std::filesystem::equivalent(m_inputFileName, m_outputFileName, ec))
        fail("Compressor (de)compression : Failed to open output file : " + m_outputFileName);
    std::unique_ptr<TFileStream> out;
    try {
        out = std::make_unique<TFileStream>(m_outputFileName, FileMode::Create);
    } catch (const EStreamError&) {
        fail("Compressor (de)compression : Failed to open output file : " + m_outputFileName);
    }
    auto discardOutput = [&] {
        try {
            out->Close();
        } catch (const Exception&) {
        }
        out.reset();
        std::remove(m_outputFileName.c_str());
    };
    int64_t result = 0;
    try {
        result = work(*in, *out, texts);
    } catch (...) {
        discardOutput();
        throw;
    }
    try {
        out->Close();
    } catch (const Exception&) {
        discardOutput();
        fail(texts.writeFailed);
    }
    return result;
}

int64_t TCompressor::Compress()
{
    if (!m_useStreams)
        return runOnFiles([this](TStream& in, TStream& out, const Messages& t) { return compressStreams(in, out, t); });
    if (!m_inputStream)
        fail(Messages::forStreams().initInput);
    if (!m_outputStream)
        fail(Messages::forStreams().initOutput);
    return compressStreams(*m_inputStream, *m_outputStream, Messages::forStreams());
}

int64_t TCompressor::Decompress()
{
    if (!m_useStreams)
        return runOnFiles([this](TStream& in, TStream& out, const Messages& t) { return decompressStreams(in, out, t); });
    if (!m_inputStream)
        fail(Messages::forStreams().initInput);
    if (!m_outputStream)
        fail(Messages::forStreams().initOutput);
    return decompressStreams(*m_inputStream, *m_outputStream, Messages::forStreams());
}

int TCompressor::Advise()
{
    if (m_useStreams) {
        if (!m_inputStream)
            fail(Messages::forStreams().adviseInit);
        return adviseStream(*m_inputStream, Messages::forStreams());
    }
    std::unique_ptr<TFileStream> in;
    try {
        in = std::make_unique<TFileStream>(m_inputFileName, FileMode::OpenRead);
    } catch (const EStreamError&) {
        fail("Compressor advise : can open input file : " + m_inputFileName);
    }
    return adviseStream(*in, Messages::forFiles(m_inputFileName, m_outputFileName));
}

std::vector<uint8_t> decompressBytes(const uint8_t* data, size_t size)
{
    TReadOnlyMemoryStream in(data, static_cast<int64_t>(size));
    TMemoryStream out;
    TCompressor compressor;
    compressor.setUseStreams(true);
    compressor.setInputStream(&in);
    compressor.setOutputStream(&out);
    compressor.Decompress();
    return std::move(out.Bytes());
}

std::vector<uint8_t> compressBytes(const uint8_t* data, size_t size, int method)
{
    TReadOnlyMemoryStream in(data, static_cast<int64_t>(size));
    TMemoryStream out;
    TCompressor compressor;
    compressor.setUseStreams(true);
    compressor.setMethod(method);
    compressor.setInputStream(&in);
    compressor.setOutputStream(&out);
    compressor.Compress();
    return std::move(out.Bytes());
}
