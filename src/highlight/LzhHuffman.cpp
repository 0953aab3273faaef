#include "highlight/LzhHuffman.h"

#include <algorithm>

namespace lzhcodec {

HuffmanTree::HuffmanTree()
{
    for (int i = 0; i < kSymbols; ++i) {
        m_freq[i] = 1;
        m_son[i] = i + kTreeSize;
        m_parent[i + kTreeSize] = i;
    }
    for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
        m_freq[j] = m_freq[i] + m_freq[i + 1];
        m_son[j] = i;
        m_parent[i] = m_parent[i + 1] = j;
    }
    m_freq[kTreeSize] = 0xFFFF; // sentinel above every real frequency
    m_parent[kRoot] = 0;
}

int HuffmanTree::codeOf(int symbol, std::array<uint8_t, kTreeSize>& bits) const
{
    int count = 0;
    int node = m_parent[symbol + kTreeSize];
    std::array<uint8_t, kTreeSize> upward;
    do {
        upward[count++] = static_cast<uint8_t>(node & 1);
        node = m_parent[node];
    } while (node != kRoot);
    for (int i = 0; i < count; ++i)
        bits[i] = upward[count - 1 - i];
    return count;
}

// Halves every leaf frequency (rounding up) and builds the inner nodes again, keeping the
// nodes sorted by frequency.
void HuffmanTree::rebuild()
{
    int j = 0;
    for (int i = 0; i < kTreeSize; ++i) {
        if (m_son[i] >= kTreeSize) {
            m_freq[j] = (m_freq[i] + 1) / 2;
            m_son[j] = m_son[i];
            ++j;
        }
    }
    for (int i = 0, k = kSymbols; k < kTreeSize; i += 2, ++k) {
        const unsigned f = m_freq[i] + m_freq[i + 1];
        int at = k - 1;
        while (f < m_freq[at])
            --at;
        ++at;
        std::copy_backward(m_freq.begin() + at, m_freq.begin() + k, m_freq.begin() + k + 1);
        m_freq[at] = f;
        std::copy_backward(m_son.begin() + at, m_son.begin() + k, m_son.begin() + k + 1);
        m_son[at] = i;
    }
    for (int i = 0; i < kTreeSize; ++i) {
        const int k = m_son[i];
        if (k >= kTreeSize)
            m_parent[k] = i;
        else
            m_parent[k] = m_parent[k + 1] = i;
    }
}

void HuffmanTree::update(int symbol)
{
    if (m_freq[kRoot] == kMaxFrequency)
        rebuild();
    int c = m_parent[symbol + kTreeSize];
    do {
        const unsigned k = ++m_freq[c];
        int l = c + 1;
        if (k > m_freq[l]) {
            while (k > m_freq[++l]) {
            }
            --l;
            m_freq[c] = m_freq[l];
            m_freq[l] = k;
            const int i = m_son[c];
            m_parent[i] = l;
            if (i < kTreeSize)
                m_parent[i + 1] = l;
            const int j = m_son[l];
            m_son[l] = i;
            m_parent[j] = c;
            if (j < kTreeSize)
                m_parent[j + 1] = c;
            m_son[c] = j;
            c = l;
        }
        c = m_parent[c];
    } while (c != 0);
}

bool HuffmanTree::check() const
{
    std::array<int, kSymbols> leaves{};
    for (int i = 0; i < kTreeSize; ++i) {
        if (i > 0 && m_freq[i - 1] > m_freq[i])
            return false;
        const int s = m_son[i];
        if (s >= kTreeSize) {
            if (s - kTreeSize >= kSymbols || m_parent[s] != i)
                return false;
            ++leaves[s - kTreeSize];
        } else {
            if (s < 0 || s + 1 >= kTreeSize || s % 2 != 0 || m_parent[s] != i || m_parent[s + 1] != i)
                return false;
            if (m_freq[i] != m_freq[s] + m_freq[s + 1])
                return false;
        }
    }
    return std::all_of(leaves.begin(), leaves.end(), [](int n) { return n == 1; });
}

} // namespace lzhcodec
