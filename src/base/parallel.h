#pragma once

#include <QtGlobal>

#include <algorithm>
#include <exception>
#include <system_error>
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

// Runs work(p) for each p from 0 to count - 1, each on a thread of its own,
// the first on this one, and waits for them all. Work no thread could be
// started for runs here too; what a call throws is thrown here once all are
// done.
template <typename Work> void onThreads(int count, const Work &work)
{
    std::vector<std::thread> others;
    others.reserve(size_t(std::max(count - 1, 0)));
    std::vector<std::exception_ptr> failed(size_t(std::max(count, 0)));
    int p = 1;
    try {
        for (; p < count; ++p)
            others.emplace_back([&work, &failed, p] {
                try {
                    work(p);
                } catch (...) {
                    failed[size_t(p)] = std::current_exception();
                }
            });
    } catch (const std::system_error &) {
    }
    auto join = [&] {
        for (std::thread &t : others)
            t.join();
    };
    try {
        for (; p < count; ++p)
            work(p);
        if (count > 0) work(0);
    } catch (...) {
        join();
        throw;
    }
    join();
    for (const std::exception_ptr &e : failed)
        if (e) std::rethrow_exception(e);
}

} // namespace parallel
