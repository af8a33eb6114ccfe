#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace Vandra {

// Independent work on the indexes [0, count) spread over several threads, the calling thread
// among them: each thread takes the next chunk of indexes until none is left, so that a slow
// chunk does not hold the others up. Returns once every chunk is done.
namespace ChunkedWork {

// At most maxThreads threads, and no more than there are chunks. makeWorker is called once on
// each thread and returns what does that thread's chunks, called as worker(first, end), so that
// a thread may keep its own state (a buffer) from one chunk to the next.
template <typename MakeWorker>
void run(std::size_t count, std::size_t chunk, int maxThreads, const MakeWorker &makeWorker) {
    const std::size_t threads = std::clamp<std::size_t>((count + chunk - 1) / chunk, 1,
                                                        std::size_t(std::max(maxThreads, 1)));
    std::atomic<std::size_t> next = 0;
    const auto takeChunks = [&] {
        auto worker = makeWorker();
        for (;;) {
            const std::size_t first = next.fetch_add(chunk, std::memory_order_relaxed);
            if (first >= count)
                return;
            worker(first, std::min(count, first + chunk));
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (std::size_t helper = 1; helper < threads; ++helper)
        helpers.emplace_back(takeChunks);
    takeChunks();
    for (std::thread &helper : helpers)
        helper.join();
}

} // namespace ChunkedWork

} // namespace Vandra
