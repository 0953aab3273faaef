// TCompressor: packs and unpacks with the block method ("WRZL") or the LZH method ("!HZL"),
// stream to stream or file to file. Packed layout: 4 bytes magic, i32 size of the data that was
// packed, then the method's data. Decompress picks the method from the magic.
#pragma once

#include "base/Stream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum CompressorMethod : int {
    cmLZH = 0,
    cmBlock = 1,
    cmAdvise = 2, // choose by Advise at each Compress
};

class TCompressor
{
public:
    static constexpr int kDefaultThreshold = 40;
    // Inputs up to this size are always given to the LZH method by Advise.
    static constexpr int64_t kAdviseSmallInput = 98303;

    int method() const { return m_method; }
    void setMethod(int method) { m_method = method; }
    bool useStreams() const { return m_useStreams; }
    void setUseStreams(bool use) { m_useStreams = use; }
    // Streams are not owned; the input is read from its current position, the output written
    // at its current position.
    void setInputStream(TStream* stream) { m_inputStream = stream; }
    void setOutputStream(TStream* stream) { m_outputStream = stream; }
    void setInputFileName(const std::string& name) { m_inputFileName = name; }
    void setOutputFileName(const std::string& name) { m_outputFileName = name; }
    int threshold() const { return m_threshold; }
    void setThreshold(int percent) { m_threshold = percent; }

    // Packs the input from its position to its end; returns the bytes written, header included.
    // The size field holds the number of bytes packed, so data packed from the middle of a
    // stream unpacks again. A failed file-to-file run leaves no output file.
    int64_t Compress();
    // Unpacks one packed stream; returns the bytes produced. The input is left just after the
    // packed data.
    int64_t Decompress();
    // cmBlock when the block method saves enough on two sample pieces, else cmLZH; inputs of
    // at most kAdviseSmallInput bytes always get cmLZH and also set the method to cmLZH. The
    // input position is restored.
    int Advise();

private:
    struct Messages;
    int64_t compressStreams(TStream& in, TStream& out, const Messages& texts);
    int64_t decompressStreams(TStream& in, TStream& out, const Messages& texts);
    int adviseStream(TStream& in, const Messages& texts);
    template <typename Work> int64_t runOnFiles(Work work);

    int m_method = cmBlock;
    bool m_useStreams = false;
    TStream* m_inputStream = nullptr;
    TStream* m_outputStream = nullptr;
    std::string m_inputFileName;
    std::string m_outputFileName;
    int m_threshold = kDefaultThreshold;
};

// Fuzzing and test entry: unpacks a whole packed stream held in memory. Throws
// ECompressorException like Decompress.
std::vector<uint8_t> decompressBytes(const uint8_t* data, size_t size);
// Packs bytes held in memory with the given method (cmLZH, cmBlock or cmAdvise).
std::vector<uint8_t> compressBytes(const uint8_t* data, size_t size, int method);
