#pragma once

#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace velmora::datadir {

// Calls work(i) for every i below count, spread over every core: the caller's thread
// and one helper per other core, when there are enough items to share (each call must
// touch only what belongs to its i).
template <typename Work>
void onEveryCore(qsizetype count, const Work& work, qsizetype perHelper = 8) {
    std::atomic<qsizetype> next{0};
    std::mutex failing;
    std::exception_ptr failure;
    // A failure on a helper (out of memory) stops the others and reaches the caller, as it
    // would on one thread, instead of ending the program.
    const auto run = [&] {
        try {
            for (qsizetype i = next++; i < count; i = next++)
                work(i);
        } catch (...) {
            next = count;
            const std::lock_guard lock(failing);
            if (!failure)
                failure = std::current_exception();
        }
    };
    const unsigned helpers = unsigned(std::min<qsizetype>(
        qsizetype(std::max(1U, std::thread::hardware_concurrency())) - 1, count / perHelper));
    {
        std::vector<std::jthread> threads;
        for (unsigned t = 0; t < helpers; ++t)
            threads.emplace_back(run);
        run();
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace velmora::datadir
