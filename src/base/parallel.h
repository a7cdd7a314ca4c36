#pragma once

#include <QtGlobal>

#include <algorithm>
#include <thread>
#include <vector>

// Work over the positions 0 to n cut into consecutive parts, one a core,
// run at once.
namespace parallel
{

// The number of parts for n positions: one a core, each of at least `least`
// positions; 1 at the least.
inline int parts(qsizetype n, qsizetype least)
{
    const qsizetype cores = std::max(1u, std::thread::hardware_concurrency());
    return int(
        std::clamp<qsizetype>(n / std::max<qsizetype>(least, 1), 1, std::min<qsizetype>(cores, 8)));
}

// Calls work(part, begin, end) for each part, in threads of their own but
// the first; returns when all are done. The parts follow each other in
// order and together cover 0 to n. Returns the number of parts.
template <typename Work> int forParts(qsizetype n, qsizetype least, Work work)
{
    const int count = parts(n, least);
    std::vector<std::thread> threads;
    threads.reserve(size_t(count - 1));
    for (int p = 1; p < count; ++p)
        threads.emplace_back(work, p, n * p / count, n * (p + 1) / count);
    work(0, qsizetype(0), n / count);
    for (std::thread &t : threads)
        t.join();
    return count;
}

} // namespace parallel
