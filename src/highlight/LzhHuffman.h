// The adaptive Huffman tree of the LZH method. Nodes 0..kTreeSize-1 are kept in ascending
// frequency order (the sibling property); the children of an inner node are son and son + 1,
// leaves are marked by son >= kTreeSize (son - kTreeSize is the symbol). The root is the last
// node. When the root frequency reaches kMaxFrequency all frequencies are halved and the tree
// is rebuilt, so code lengths stay bounded.
#pragma once

#include "highlight/LzhCodec.h"

#include <array>

namespace lzhcodec {

class HuffmanTree
{
public:
    HuffmanTree();

    // Path from the root to the symbol's leaf, as bits (0 for son, 1 for son + 1) from the root
    // down, written into bits; returns the count.
    int codeOf(int symbol, std::array<uint8_t, kTreeSize>& bits) const;
    // Decoding walks son values: start at rootSon(), then next(c, bit) until isLeaf(c); the
    // symbol is then symbolOf(c).
    int rootSon() const { return m_son[kRoot]; }
    int next(int c, int bit) const { return m_son[c + bit]; }
    static bool isLeaf(int c) { return c >= kTreeSize; }
    static int symbolOf(int c) { return c - kTreeSize; }
    // Counts one more occurrence of symbol and restores the sibling property.
    void update(int symbol);
    // Verifies frequency order, parent links and that every symbol has one leaf.
    bool check() const;

private:
    void rebuild();

    std::array<unsigned, kTreeSize + 1> m_freq{};
    std::array<int, kTreeSize + kSymbols> m_parent{};
    std::array<int, kTreeSize> m_son{};
};

} // namespace lzhcodec
