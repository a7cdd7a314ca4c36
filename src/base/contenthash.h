#pragma once
#include <QtGlobal>

// The hash of a file's content (FileStamp::hash), fed in pieces of any
// length. Eight lanes of 64-bit sums over stripes of 64 bytes: each word is
// added to its neighbour's lane, and the product of its two halves (once
// mixed with a key of its place in the kilobyte) to its own; the lanes are
// scrambled every kilobyte and folded together with the length at the end
// (the rounds of XXH3's long inputs). The machine's vector instructions do
// the stripes when it has them (AVX2), and give the same value as the plain
// loop. A hash is only compared with another one of the same run of the
// program.
class ContentHash
{
public:
    void add(const char *data, qsizetype size);
    quint64 result() const;

    // Whether the vector instructions do the stripes: they do when the
    // machine has them; a test may turn them off.
    static bool &vectors();

private:
    static constexpr qsizetype kStripe = 64;
    alignas(32) quint64 m_lanes[8] = {};
    int m_stripes = 0; // since the last scrambling
    quint64 m_total = 0;
    char m_stripe[kStripe] = {};
    qsizetype m_kept = 0;
};
