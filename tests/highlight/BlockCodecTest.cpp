// The block method's coder: item layout, stored blocks, chunk framing and hostile blocks.
#include "SampleParser.h"
#include "highlight/BlockCodec.h"
#include "highlight/Compressor.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace blockcodec;

namespace {

std::vector<uint8_t> encode(const std::vector<uint8_t>& in)
{
    std::vector<uint8_t> padded(kIoBufferSize, 0);
    std::copy(in.begin(), in.end(), padded.begin());
    std::vector<uint8_t> out(kIoBufferSize, 0);
    std::vector<int16_t> hash(kHashSize);
    const size_t size = encodeBlock(padded.data(), in.size(), out.data(), hash);
    out.resize(size);
    return out;
}

std::vector<uint8_t> decode(const std::vector<uint8_t>& block)
{
    std::vector<uint8_t> out(kPieceSize);
    const auto n = decodeBlock(block.data(), block.size(), out.data());
    EXPECT_TRUE(n.has_value());
    out.resize(n.value_or(0));
    return out;
}

struct Item
{
    bool coded;
    size_t offset; // 0 for a run
    size_t length;
};

// Splits an encoded (not stored) block into its items.
std::vector<Item> itemsOf(const std::vector<uint8_t>& block)
{
    std::vector<Item> items;
    unsigned word = (block[1] << 8) | block[2];
    unsigned used = 0;
    size_t pos = 3;
    while (pos < block.size()) {
        if (used == 16) {
            word = (block[pos] << 8) | block[pos + 1];
            pos += 2;
            used = 0;
        }
        const bool coded = word & 0x8000;
        word <<= 1;
        ++used;
        if (!coded) {
            items.push_back({false, 0, 1});
            ++pos;
        } else if (((block[pos] << 4) | (block[pos + 1] >> 4)) != 0) {
            items.push_back({true, size_t((block[pos] << 4) | (block[pos + 1] >> 4)), size_t(block[pos + 1] & 15) + 3});
            pos += 2;
        } else {
            items.push_back({true, 0, size_t((block[pos + 1] << 8) | block[pos + 2]) + 16});
            pos += 4;
        }
    }
    return items;
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

} // namespace

TEST(BlockCodec, EmptyInputPacksToOneStoredEmptyChunk)
{
    const std::vector<uint8_t> packed = compressBytes(nullptr, 0, cmBlock);
    const std::vector<uint8_t> expected = {'W', 'R', 'Z', 'L', 0, 0, 0, 0, 1, 0, 0x80};
    EXPECT_EQ(packed, expected);
    EXPECT_TRUE(decompressBytes(packed.data(), packed.size()).empty());
}

TEST(BlockCodec, ExactPieceEndsWithAnEmptyChunk)
{
    const std::string text = basicLikeText(kPieceSize, 3);
    const std::vector<uint8_t> packed = compressBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), cmBlock);
    const size_t first = packed[8] | (packed[9] << 8);
    ASSERT_EQ(packed.size(), 8 + 2 + first + 3);
    EXPECT_EQ(packed[10 + first], 1);
    EXPECT_EQ(packed[11 + first], 0);
    EXPECT_EQ(packed[12 + first], 0x80);
    EXPECT_EQ(decompressBytes(packed.data(), packed.size()), bytesOf(text));
}

TEST(BlockCodec, LongRunsBecomeRunItemsOfAtMost4095)
{
    std::vector<uint8_t> in(5000, 'a');
    in.push_back('b');
    const std::vector<uint8_t> block = encode(in);
    ASSERT_EQ(block[0], 0x40);
    const std::vector<Item> items = itemsOf(block);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0].coded && items[0].offset == 0 && items[0].length == 4095);
    EXPECT_TRUE(items[1].coded && items[1].offset == 0 && items[1].length == 905);
    EXPECT_FALSE(items[2].coded);
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 3, block.begin() + 7), (std::vector<uint8_t>{0, 0x0F, 0xEF, 'a'}));
    EXPECT_EQ(decode(block), in);
}

TEST(BlockCodec, ShortRunsBecomeALiteralAndAMatchAtDistanceOne)
{
    for (size_t run = 4; run <= 16; ++run) {
        std::vector<uint8_t> in(run, 'a');
        in.insert(in.end(), {'b', 'c'});
        in.insert(in.end(), 40, 'z');
        const std::vector<uint8_t> block = encode(in);
        ASSERT_EQ(block[0], 0x40) << run;
        const std::vector<Item> items = itemsOf(block);
        if (run == 16) {
            EXPECT_TRUE(items[0].coded && items[0].offset == 0 && items[0].length == 16);
        } else {
            EXPECT_FALSE(items[0].coded) << run;
            EXPECT_TRUE(items[1].coded && items[1].offset == 1 && items[1].length == run - 1) << run;
        }
        EXPECT_EQ(decode(block), in);
    }
}

TEST(BlockCodec, MatchesAreAtMost18Bytes)
{
    std::vector<uint8_t> in;
    for (int i = 0; i < 30; ++i)
        in.push_back(static_cast<uint8_t>('A' + i));
    const std::vector<uint8_t> copy = in;
    in.insert(in.end(), copy.begin(), copy.end());
    const std::vector<Item> items = itemsOf(encode(in));
    ASSERT_GT(items.size(), 31u);
    EXPECT_TRUE(items[30].coded);
    EXPECT_EQ(items[30].offset, 30u);
    EXPECT_EQ(items[30].length, 18u);
    EXPECT_EQ(decode(encode(in)), in);
}

// Strings that share their first two bytes never share a hash, but the last two bytes of a
// piece hash with zeros after them and so meet an earlier "ab\0": a two-byte agreement, which
// is not worth a match.
TEST(BlockCodec, TwoByteAgreementIsWrittenAsLiterals)
{
    std::vector<uint8_t> in = {'a', 'b', 0};
    in.insert(in.end(), 40, 'z');
    in.insert(in.end(), {'a', 'b'});
    const std::vector<uint8_t> block = encode(in);
    ASSERT_EQ(block[0], 0x40);
    const std::vector<Item> items = itemsOf(block);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_TRUE(items[3].coded && items[3].offset == 0 && items[3].length == 40);
    EXPECT_FALSE(items[4].coded);
    EXPECT_FALSE(items[5].coded);
    EXPECT_EQ(decode(block), in);
}

TEST(BlockCodec, RandomDataIsStoredAndGrowsByOneByte)
{
    for (size_t n : {1u, 2u, 100u, 32767u, 32768u}) {
        const std::vector<uint8_t> in = randomBytes(n, static_cast<uint32_t>(n));
        const std::vector<uint8_t> block = encode(in);
        ASSERT_EQ(block.size(), n + 1);
        EXPECT_EQ(block[0], 0x80);
        EXPECT_EQ(decode(block), in);
    }
}

TEST(BlockCodec, ManyGroupsOfSixteenItemsRoundTrip)
{
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        const std::string text = basicLikeText(1000 * seed, seed);
        const std::vector<uint8_t> in = bytesOf(text);
        const std::vector<uint8_t> block = encode(in);
        EXPECT_LT(block.size(), in.size());
        EXPECT_EQ(decode(block), in);
    }
}

TEST(BlockCodec, ShortBlocksDecodeToNothing)
{
    uint8_t out[4];
    EXPECT_EQ(decodeBlock(nullptr, 0, out), size_t{0});
    const uint8_t one[] = {0x40};
    EXPECT_EQ(decodeBlock(one, 1, out), size_t{0});
}

TEST(BlockCodec, HostileBlocksAreRejected)
{
    std::vector<uint8_t> out(kPieceSize);
    // A match reaching before the start of the output.
    const std::vector<uint8_t> early = {0x40, 0x80, 0x00, 0x00, 0x52};
    EXPECT_FALSE(decodeBlock(early.data(), early.size(), out.data()));
    // A match cut off by the end of the block, and a run cut off.
    const std::vector<uint8_t> cutMatch = {0x40, 0x40, 0x00, 'a', 0x00};
    EXPECT_FALSE(decodeBlock(cutMatch.data(), cutMatch.size(), out.data()));
    const std::vector<uint8_t> cutRun = {0x40, 0x80, 0x00, 0x00, 0x01, 0x00};
    EXPECT_FALSE(decodeBlock(cutRun.data(), cutRun.size(), out.data()));
    // Runs adding up to more than a piece.
    std::vector<uint8_t> runs = {0x40, 0xFF, 0xFF};
    for (int i = 0; i < 9; ++i)
        runs.insert(runs.end(), {0x00, 0x0F, 0xFF, 'x'});
    EXPECT_FALSE(decodeBlock(runs.data(), runs.size(), out.data()));
    // A stored block longer than a piece.
    std::vector<uint8_t> stored(kPieceSize + 2, 'y');
    stored[0] = 0x80;
    EXPECT_FALSE(decodeBlock(stored.data(), stored.size(), out.data()));
    // A control word cut off after sixteen literals.
    std::vector<uint8_t> cutWord = {0x40, 0x00, 0x00};
    cutWord.insert(cutWord.end(), 16, 'l');
    cutWord.push_back(0x00);
    EXPECT_FALSE(decodeBlock(cutWord.data(), cutWord.size(), out.data()));
}

TEST(BlockCodec, ChunkStreamIsBoundedByTheExpectedSize)
{
    std::vector<uint8_t> in(100000, 'q');
    const std::vector<uint8_t> packed = compressBytes(in.data(), in.size(), cmBlock);
    const auto full = decodeBytes(packed.data() + 8, packed.size() - 8, 100000);
    ASSERT_TRUE(full);
    EXPECT_EQ(*full, in);
    EXPECT_FALSE(decodeBytes(packed.data() + 8, packed.size() - 8, 50000));
    EXPECT_FALSE(decodeBytes(packed.data() + 8, packed.size() - 9, 100000));
}
