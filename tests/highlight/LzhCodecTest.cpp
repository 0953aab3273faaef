// The LZH method: the adaptive Huffman tree, round trips over the ring buffer's edges, and
// decoding of hostile data.
#include "SampleParser.h"
#include "highlight/Compressor.h"
#include "highlight/LzhCodec.h"
#include "highlight/LzhHuffman.h"

#include <gtest/gtest.h>

#include <random>

using namespace lzhcodec;

namespace {

std::vector<uint8_t> lzhData(const std::vector<uint8_t>& in)
{
    std::vector<uint8_t> packed = compressBytes(in.data(), in.size(), cmLZH);
    EXPECT_EQ(std::string(packed.begin(), packed.begin() + 4), "!HZL");
    return {packed.begin() + 8, packed.end()};
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

} // namespace

TEST(LzhHuffman, TreeKeepsItsOrderThroughUpdatesAndRebuilds)
{
    HuffmanTree tree;
    ASSERT_TRUE(tree.check());
    std::mt19937 random(7);
    // Skewed symbols drive frequencies up to the rebuild limit several times.
    for (int i = 0; i < 200000; ++i) {
        const int symbol = random() % 4 == 0 ? static_cast<int>(random() % kSymbols) : static_cast<int>(random() % 3);
        tree.update(symbol);
        if (i % 997 == 0) {
            ASSERT_TRUE(tree.check()) << i;
        }
    }
    EXPECT_TRUE(tree.check());
}

TEST(LzhHuffman, CodesLeadFromTheRootToTheirLeaf)
{
    HuffmanTree tree;
    std::array<uint8_t, kTreeSize> bits{};
    for (int round = 0; round < 3; ++round) {
        for (int symbol = 0; symbol < kSymbols; ++symbol) {
            const int count = tree.codeOf(symbol, bits);
            int c = tree.rootSon();
            for (int i = 0; i < count; ++i) {
                ASSERT_FALSE(HuffmanTree::isLeaf(c));
                c = tree.next(c, bits[i]);
            }
            ASSERT_TRUE(HuffmanTree::isLeaf(c));
            EXPECT_EQ(HuffmanTree::symbolOf(c), symbol);
        }
        for (int i = 0; i < 5000; ++i)
            tree.update(i % 17);
    }
}

TEST(LzhCodec, EmptyInputHasNoData)
{
    EXPECT_TRUE(lzhData({}).empty());
    const std::vector<uint8_t> packed = compressBytes(nullptr, 0, cmLZH);
    EXPECT_TRUE(decompressBytes(packed.data(), packed.size()).empty());
}

TEST(LzhCodec, SpacesMatchTheInitialRingContents)
{
    const std::vector<uint8_t> spaces(60, ' ');
    EXPECT_LE(lzhData(spaces).size(), 4u);
    const std::vector<uint8_t> packed = compressBytes(spaces.data(), spaces.size(), cmLZH);
    EXPECT_EQ(decompressBytes(packed.data(), packed.size()), spaces);
}

TEST(LzhCodec, RoundTripsAcrossRingAndRebuildBoundaries)
{
    for (size_t size : {1u, 2u, 3u, 59u, 60u, 61u, 4035u, 4036u, 4096u, 4097u, 8192u, 70000u}) {
        for (const std::vector<uint8_t>& in : {bytesOf(basicLikeText(size, 11)), randomBytes(size, 12)}) {
            const std::vector<uint8_t> packed = compressBytes(in.data(), in.size(), cmLZH);
            EXPECT_EQ(decompressBytes(packed.data(), packed.size()), in) << size;
        }
    }
}

TEST(LzhCodec, TextShrinksAndLongRepeatsShrinkFurther)
{
    const std::vector<uint8_t> text = bytesOf(basicLikeText(50000, 5));
    EXPECT_LT(lzhData(text).size(), text.size() / 3);
    const std::vector<uint8_t> same(200000, 'k');
    // A 60-byte match costs its length code (short once the tree has adapted) and 9 bits of
    // distance.
    EXPECT_LT(lzhData(same).size(), 200000u / 60 * 2);
}

TEST(LzhCodec, DecoderStopsAtTheRequestedSize)
{
    const std::vector<uint8_t> in = bytesOf(basicLikeText(5000, 9));
    const std::vector<uint8_t> data = lzhData(in);
    const auto exact = decodeBytes(data.data(), data.size(), 5000);
    ASSERT_TRUE(exact);
    EXPECT_EQ(*exact, in);
    const auto shorter = decodeBytes(data.data(), data.size(), 1000);
    if (shorter) { // unless a match spans the cut
        EXPECT_EQ(*shorter, std::vector<uint8_t>(in.begin(), in.begin() + 1000));
    }
}

TEST(LzhCodec, HostileSizesAreBoundedByTheInput)
{
    // Nothing to read: only a few zero bytes may be assumed past the end.
    EXPECT_FALSE(decodeBytes(nullptr, 0, 2000000000));
    const std::vector<uint8_t> zeros(64, 0);
    EXPECT_FALSE(decodeBytes(zeros.data(), zeros.size(), 2000000000));
    const std::vector<uint8_t> junk = randomBytes(512, 77);
    EXPECT_FALSE(decodeBytes(junk.data(), junk.size(), 2000000000));
    // A stream cut short gives an error, not invented bytes.
    const std::vector<uint8_t> data = lzhData(randomBytes(3000, 4));
    EXPECT_FALSE(decodeBytes(data.data(), data.size() / 2, 3000));
}

TEST(LzhCodec, RandomGarbageNeverCrashes)
{
    for (uint32_t seed = 0; seed < 300; ++seed) {
        const std::vector<uint8_t> junk = randomBytes(seed * 3, seed);
        const auto out = decodeBytes(junk.data(), junk.size(), seed * 40);
        if (out) {
            EXPECT_EQ(out->size(), seed * 40);
        }
    }
}
