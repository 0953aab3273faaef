// TCompressor: framing, method choice, round trips of many sizes, stream positions, file mode
// and the error of every kind of bad input.
#include "SampleParser.h"
#include "highlight/Compressor.h"
#include "highlight/CompressorErrors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

int32_t sizeField(const std::vector<uint8_t>& packed)
{
    return static_cast<int32_t>(packed[4] | (packed[5] << 8) | (packed[6] << 16) | (uint32_t(packed[7]) << 24));
}

std::string decompressError(const std::vector<uint8_t>& packed)
{
    try {
        decompressBytes(packed.data(), packed.size());
    } catch (const ECompressorException& e) {
        return e.what();
    }
    return "no error";
}

// A stream that accepts nothing.
class FullStream : public TMemoryStream
{
public:
    int64_t Write(const void*, int64_t) override { return 0; }
};

// A stream whose reads fail once its first bytes are gone.
class FailingStream : public TMemoryStream
{
public:
    using TMemoryStream::TMemoryStream;
    int64_t Read(void* buffer, int64_t count) override
    {
        if (Position() > 0)
            throw EReadError("Stream read error");
        return TMemoryStream::Read(buffer, std::min<int64_t>(count, 10));
    }
};

class TempDir
{
public:
    TempDir() : m_path(std::filesystem::temp_directory_path() / ("hl_compressor_" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

void writeFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> readFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(Compressor, RoundTripsEverySizeWithEveryMethod)
{
    for (size_t size : {0u, 1u, 2u, 32767u, 32768u, 32769u, 65536u, 98303u, 98304u, 1048576u}) {
        for (const std::vector<uint8_t>& in : {bytesOf(basicLikeText(size, 21)), randomBytes(size, 22)}) {
            for (int method : {cmLZH, cmBlock, cmAdvise}) {
                const std::vector<uint8_t> packed = compressBytes(in.data(), in.size(), method);
                ASSERT_EQ(sizeField(packed), static_cast<int32_t>(size));
                ASSERT_EQ(decompressBytes(packed.data(), packed.size()), in) << size << " method " << method;
            }
        }
    }
}

TEST(Compressor, CompressAndDecompressReportTheirByteCounts)
{
    const std::vector<uint8_t> in = bytesOf(basicLikeText(70000, 1));
    TReadOnlyMemoryStream source(in.data(), int64_t(in.size()));
    TMemoryStream packed;
    TCompressor compressor;
    compressor.setUseStreams(true);
    compressor.setInputStream(&source);
    compressor.setOutputStream(&packed);
    const int64_t written = compressor.Compress();
    EXPECT_EQ(written, packed.Size());
    EXPECT_EQ(packed.AsString().substr(0, 4), "WRZL");

    packed.SetPosition(0);
    TMemoryStream unpacked;
    compressor.setInputStream(&packed);
    compressor.setOutputStream(&unpacked);
    EXPECT_EQ(compressor.Decompress(), 70000);
    EXPECT_EQ(unpacked.Bytes(), in);
}

TEST(Compressor, MagicChoosesTheDecoderWhateverTheMethodSetting)
{
    const std::vector<uint8_t> in = bytesOf(basicLikeText(9000, 2));
    const std::vector<uint8_t> packed = compressBytes(in.data(), in.size(), cmLZH);
    TReadOnlyMemoryStream source(packed.data(), int64_t(packed.size()));
    TMemoryStream out;
    TCompressor compressor;
    compressor.setUseStreams(true);
    compressor.setMethod(cmBlock);
    compressor.setInputStream(&source);
    compressor.setOutputStream(&out);
    compressor.Decompress();
    EXPECT_EQ(out.Bytes(), in);
    EXPECT_EQ(compressor.method(), cmBlock);
}

TEST(Compressor, AdviseSmallInputsToLzhAndRemembersIt)
{
    const std::vector<uint8_t> in(98303, 'a');
    TReadOnlyMemoryStream source(in.data(), int64_t(in.size()));
    source.SetPosition(0);
    TCompressor compressor;
    compressor.setUseStreams(true);
    compressor.setMethod(cmAdvise);
    compressor.setInputStream(&source);
    EXPECT_EQ(compressor.Advise(), cmLZH);
    EXPECT_EQ(compressor.method(), cmLZH);
}

TEST(Compressor, AdviseSamplesTwoPiecesAgainstTheThreshold)
{
    // Runs pack to almost nothing, random bytes not at all; the pieces at a third and two
    // thirds of 196,608 bytes start at 65,536 and 131,072.
    std::vector<uint8_t> in = randomBytes(196608, 5);
    std::fill(in.begin() + 65536, in.begin() + 65536 + 32768, 'r');
    std::fill(in.begin() + 131072, in.end(), 's');
    TReadOnlyMemoryStream source(in.data(), int64_t(in.size()));
    source.SetPosition(0);
    TCompressor compressor;
    compressor.setUseStreams(true);
    compressor.setMethod(cmAdvise);
    compressor.setInputStream(&source);
    EXPECT_EQ(compressor.Advise(), cmBlock);
    EXPECT_EQ(source.Position(), 0);
    EXPECT_EQ(compressor.method(), cmAdvise);
    compressor.setThreshold(0);
    EXPECT_EQ(compressor.Advise(), cmLZH);

    const std::vector<uint8_t> noise = randomBytes(200000, 6);
    TReadOnlyMemoryStream noisy(noise.data(), int64_t(noise.size()));
    compressor.setThreshold(40);
    compressor.setInputStream(&noisy);
    EXPECT_EQ(compressor.Advise(), cmLZH);

    const std::vector<uint8_t> packed = compressBytes(in.data(), in.size(), cmAdvise);
    EXPECT_EQ(std::string(packed.begin(), packed.begin() + 4), "WRZL");
}

TEST(Compressor, PacksFromTheCurrentPositionAndStopsAfterThePackedData)
{
    const std::vector<uint8_t> in = bytesOf("HEADER" + basicLikeText(40000, 8));
    for (int method : {cmLZH, cmBlock}) {
        TReadOnlyMemoryStream source(in.data(), int64_t(in.size()));
        source.SetPosition(6);
        TMemoryStream packed;
        packed.Write("xy", 2);
        TCompressor compressor;
        compressor.setUseStreams(true);
        compressor.setMethod(method);
        compressor.setInputStream(&source);
        compressor.setOutputStream(&packed);
        compressor.Compress();
        packed.Write("tail", 4);

        packed.SetPosition(2);
        TMemoryStream out;
        compressor.setInputStream(&packed);
        compressor.setOutputStream(&out);
        EXPECT_EQ(compressor.Decompress(), int64_t(in.size() - 6));
        EXPECT_EQ(out.Bytes(), std::vector<uint8_t>(in.begin() + 6, in.end()));
        char tail[4] = {};
        EXPECT_EQ(packed.Read(tail, 4), 4);
        EXPECT_EQ(std::string(tail, 4), "tail");
    }
}

TEST(Compressor, BadInputGivesTheMatchingError)
{
    EXPECT_EQ(decompressError({}), "Compressor : Error reading from input stream !");
    EXPECT_EQ(decompressError(bytesOf("WRZL\x01")), "Compressor : Error reading from input stream !");
    EXPECT_EQ(decompressError(bytesOf("ABCD\x01\x00\x00\x00")),
              "Compressor decompression : input stream contains no valid header !");

    const std::vector<uint8_t> in = bytesOf(basicLikeText(3000, 4));
    std::vector<uint8_t> block = compressBytes(in.data(), in.size(), cmBlock);
    EXPECT_EQ(decompressError(std::vector<uint8_t>(block.begin(), block.end() - 1)),
              "Compressor : Error reading from input stream ! (Compressor/QZ)");
    EXPECT_EQ(decompressError(std::vector<uint8_t>(block.begin(), block.begin() + 9)),
              "Compressor : Error reading from input stream ! (Compressor/QZ)");
    std::vector<uint8_t> wrongSize = block;
    wrongSize[4] ^= 1;
    EXPECT_EQ(decompressError(wrongSize),
              "Compressor (decompression Compressor/QZ) : Original and compressed sizes do not match !");

    std::vector<uint8_t> lzh = compressBytes(in.data(), in.size(), cmLZH);
    std::vector<uint8_t> bigger = lzh;
    bigger[5] += 1; // 256 more bytes than coded: the decoder runs out of input
    EXPECT_EQ(decompressError(bigger), "Compressor : Error reading from input stream ! (LZH)");
    std::vector<uint8_t> cut = lzh;
    cut.resize(cut.size() / 2);
    EXPECT_EQ(decompressError(cut), "Compressor : Error reading from input stream ! (LZH)");
    std::vector<uint8_t> negative = lzh;
    negative[7] = 0xFF;
    EXPECT_EQ(decompressError(negative),
              "Compressor (LZH decompression) : Original and compressed sizes do not match !");
}

TEST(Compressor, RefusingOutputIsAWriteError)
{
    const std::vector<uint8_t> in = bytesOf(basicLikeText(100, 4));
    TReadOnlyMemoryStream source(in.data(), int64_t(in.size()));
    FullStream full;
    TCompressor compressor;
    compressor.setUseStreams(true);
    compressor.setInputStream(&source);
    compressor.setOutputStream(&full);
    try {
        compressor.Compress();
        FAIL() << "no error";
    } catch (const ECompressorException& e) {
        EXPECT_STREQ(e.what(), "Compressor : Error writing to output stream !");
    }
    const std::vector<uint8_t> packed = compressBytes(in.data(), in.size(), cmBlock);
    TReadOnlyMemoryStream packedSource(packed.data(), int64_t(packed.size()));
    TReadOnlyMemoryStream readOnly(in.data(), 0);
    compressor.setInputStream(&packedSource);
    compressor.setOutputStream(&readOnly);
    EXPECT_THROW(compressor.Decompress(), ECompressorException);
}

TEST(Compressor, UnreadableInputIsAReadErrorOfTheMethod)
{
    for (int method : {cmBlock, cmLZH}) {
        FailingStream source(randomBytes(50000, 3));
        TMemoryStream out;
        TCompressor compressor;
        compressor.setUseStreams(true);
        compressor.setMethod(method);
        compressor.setInputStream(&source);
        compressor.setOutputStream(&out);
        try {
            compressor.Compress();
            FAIL() << "no error";
        } catch (const ECompressorException& e) {
            EXPECT_STREQ(e.what(), method == cmLZH ? "Compressor : Error reading from input stream ! (LZH)"
                                                   : "Compressor : Error reading from input stream ! (Compressor/QZ)");
        }
    }
}

TEST(Compressor, FileToFileRoundTrip)
{
    TempDir dir;
    const std::vector<uint8_t> in = bytesOf(basicLikeText(120000, 13));
    writeFile(dir.file("in.txt"), in);
    TCompressor compressor;
    compressor.setMethod(cmAdvise);
    compressor.setInputFileName(dir.file("in.txt"));
    compressor.setOutputFileName(dir.file("packed.bin"));
    const int64_t written = compressor.Compress();
    EXPECT_EQ(written, int64_t(std::filesystem::file_size(dir.file("packed.bin"))));

    compressor.setInputFileName(dir.file("packed.bin"));
    compressor.setOutputFileName(dir.file("out.txt"));
    EXPECT_EQ(compressor.Decompress(), int64_t(in.size()));
    EXPECT_EQ(readFile(dir.file("out.txt")), in);
}

TEST(Compressor, FileErrorsNameTheFileAndLeaveNoOutput)
{
    TempDir dir;
    TCompressor compressor;
    auto errorOf = [&](auto action) -> std::string {
        try {
            action();
        } catch (const ECompressorException& e) {
            return e.what();
        }
        return "no error";
    };
    const std::string missing = dir.file("missing.txt");
    compressor.setInputFileName(missing);
    compressor.setOutputFileName(dir.file("out.bin"));
    EXPECT_EQ(errorOf([&] { compressor.Compress(); }), "Compressor (de)compression : Failed to open input file : " + missing);
    EXPECT_EQ(errorOf([&] { compressor.Advise(); }), "Compressor advise : can open input file : " + missing);

    writeFile(dir.file("in.txt"), bytesOf("some text"));
    compressor.setInputFileName(dir.file("in.txt"));
    const std::string badOut = dir.file("no/such/dir/out.bin");
    compressor.setOutputFileName(badOut);
    EXPECT_EQ(errorOf([&] { compressor.Compress(); }), "Compressor (de)compression : Failed to open output file : " + badOut);

    compressor.setOutputFileName(dir.file("out.bin"));
    EXPECT_EQ(errorOf([&] { compressor.Decompress(); }),
              dir.file("in.txt") + " : Compressor decompression : this file has no valid header !");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.bin")));

    const std::vector<uint8_t> text = bytesOf(basicLikeText(5000, 3));
    std::vector<uint8_t> packed = compressBytes(text.data(), text.size(), cmBlock);
    packed.resize(packed.size() - 10);
    writeFile(dir.file("cut.bin"), packed);
    compressor.setInputFileName(dir.file("cut.bin"));
    EXPECT_EQ(errorOf([&] { compressor.Decompress(); }),
              "Compressor : Error reading from input file : " + dir.file("cut.bin") + " (Compressor/QZ)");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.bin")));
}

TEST(Compressor, OutputThatIsTheInputIsRefusedAndTheInputKept)
{
    TempDir dir;
    const std::vector<uint8_t> in = bytesOf(basicLikeText(2000, 3));
    writeFile(dir.file("same.txt"), in);
    TCompressor compressor;
    compressor.setInputFileName(dir.file("same.txt"));
    compressor.setOutputFileName(dir.file("same.txt"));
    EXPECT_THROW(compressor.Compress(), ECompressorException);
    EXPECT_EQ(readFile(dir.file("same.txt")), in);
}
