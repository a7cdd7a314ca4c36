#include "base/contenthash.h"

#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#define VALMEQ_HASH_AVX2 1
#endif

namespace
{

constexpr quint64 splitMix(quint64 i)
{
    quint64 z = (i + 1) * 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

constexpr int kStripesPerScramble = 16;

// Words of a fixed pseudo-random series: those the stripes' words are mixed
// with (stripe s of a kilobyte with words s to s + 7, so that two stripes
// swapped give other sums), those the lanes are scrambled with, and those
// they are folded with.
template <int From, int N> constexpr std::array<quint64, N> keys()
{
    std::array<quint64, N> k{};
    for (int i = 0; i < N; ++i)
        k[size_t(i)] = splitMix(quint64(From + i));
    return k;
}
constexpr std::array<quint64, kStripesPerScramble + 7> kMix = keys<0, kStripesPerScramble + 7>();
alignas(32) constexpr std::array<quint64, 8> kScramble = keys<32, 8>();
constexpr std::array<quint64, 8> kFold = keys<40, 8>();
constexpr quint64 kPrime32 = 0x9E3779B1ULL;

void scramble(quint64 *lanes)
{
    for (int i = 0; i < 8; ++i) {
        quint64 a = lanes[i];
        a ^= a >> 47;
        a ^= kScramble[size_t(i)];
        lanes[i] = a * kPrime32;
    }
}

void stripesPlain(quint64 *lanes, const char *p, qsizetype n, int &count)
{
    for (; n > 0; --n, p += 64) {
        for (int i = 0; i < 8; ++i) {
            quint64 v;
            std::memcpy(&v, p + 8 * i, 8);
            const quint64 k = v ^ kMix[size_t(count + i)];
            lanes[i ^ 1] += v;
            lanes[i] += (k & 0xFFFFFFFFULL) * (k >> 32);
        }
        if (++count == kStripesPerScramble) {
            count = 0;
            scramble(lanes);
        }
    }
}

#ifdef VALMEQ_HASH_AVX2
// Four lanes a register: the same sums as the plain loop.
__attribute__((target("avx2"))) void stripesAvx2(quint64 *lanes, const char *p, qsizetype n,
                                                 int &count)
{
    const auto *scrambled = reinterpret_cast<const __m256i *>(kScramble.data());
    const __m256i prime = _mm256_set1_epi64x(qint64(kPrime32));
    __m256i acc[2] = {_mm256_load_si256(reinterpret_cast<const __m256i *>(lanes)),
                      _mm256_load_si256(reinterpret_cast<const __m256i *>(lanes + 4))};
    for (; n > 0; --n, p += 64) {
        for (int j = 0; j < 2; ++j) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 32 * j));
            const __m256i key =
                _mm256_loadu_si256(reinterpret_cast<const __m256i *>(kMix.data() + count + 4 * j));
            const __m256i k = _mm256_xor_si256(v, key);
            const __m256i product =
                _mm256_mul_epu32(k, _mm256_shuffle_epi32(k, _MM_SHUFFLE(0, 3, 0, 1)));
            const __m256i neighbour = _mm256_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2));
            acc[j] = _mm256_add_epi64(acc[j], _mm256_add_epi64(neighbour, product));
        }
        if (++count == kStripesPerScramble) {
            count = 0;
            for (int j = 0; j < 2; ++j) {
                __m256i a = _mm256_xor_si256(acc[j], _mm256_srli_epi64(acc[j], 47));
                a = _mm256_xor_si256(a, _mm256_load_si256(scrambled + j));
                const __m256i low = _mm256_mul_epu32(a, prime);
                const __m256i high = _mm256_mul_epu32(_mm256_srli_epi64(a, 32), prime);
                acc[j] = _mm256_add_epi64(low, _mm256_slli_epi64(high, 32));
            }
        }
    }
    _mm256_store_si256(reinterpret_cast<__m256i *>(lanes), acc[0]);
    _mm256_store_si256(reinterpret_cast<__m256i *>(lanes + 4), acc[1]);
}
#endif

void stripes(quint64 *lanes, const char *p, qsizetype n, int &count)
{
#ifdef VALMEQ_HASH_AVX2
    if (ContentHash::vectors()) return stripesAvx2(lanes, p, n, count);
#endif
    stripesPlain(lanes, p, n, count);
}

// The two halves of the 128-bit product of a and b, xored.
quint64 fold(quint64 a, quint64 b)
{
#ifdef __SIZEOF_INT128__
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return quint64(product) ^ quint64(product >> 64);
#else
    const quint64 aLow = a & 0xFFFFFFFFULL, aHigh = a >> 32;
    const quint64 bLow = b & 0xFFFFFFFFULL, bHigh = b >> 32;
    const quint64 low = aLow * bLow, middle1 = aHigh * bLow, middle2 = aLow * bHigh;
    const quint64 carry =
        ((low >> 32) + (middle1 & 0xFFFFFFFFULL) + (middle2 & 0xFFFFFFFFULL)) >> 32;
    const quint64 high = aHigh * bHigh + (middle1 >> 32) + (middle2 >> 32) + carry;
    return (a * b) ^ high;
#endif
}

} // namespace

bool &ContentHash::vectors()
{
#ifdef VALMEQ_HASH_AVX2
    static bool on = __builtin_cpu_supports("avx2");
#else
    static bool on = false;
#endif
    return on;
}

void ContentHash::add(const char *data, qsizetype size)
{
    m_total += quint64(size);
    if (m_kept > 0) {
        const qsizetype take = std::min<qsizetype>(size, kStripe - m_kept);
        std::memcpy(m_stripe + m_kept, data, size_t(take));
        m_kept += take;
        data += take;
        size -= take;
        if (m_kept < kStripe) return;
        stripes(m_lanes, m_stripe, 1, m_stripes);
        m_kept = 0;
    }
    stripes(m_lanes, data, size / kStripe, m_stripes);
    data += size - size % kStripe;
    size %= kStripe;
    std::memcpy(m_stripe, data, size_t(size));
    m_kept = size;
}

quint64 ContentHash::result() const
{
    quint64 lanes[8];
    std::memcpy(lanes, m_lanes, sizeof lanes);
    if (m_kept > 0) { // the last bytes, followed by zeros: the length tells them apart
        char last[kStripe] = {};
        std::memcpy(last, m_stripe, size_t(m_kept));
        int count = m_stripes;
        stripesPlain(lanes, last, 1, count);
    }
    quint64 h = m_total * 0x9E3779B185EBCA87ULL;
    for (int i = 0; i < 8; i += 2)
        h += fold(lanes[i] ^ kFold[size_t(i)], lanes[i + 1] ^ kFold[size_t(i + 1)]);
    h ^= h >> 37;
    h *= 0x165667919E3779F9ULL;
    return h ^ (h >> 32);
}
