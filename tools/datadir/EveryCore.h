#pragma once

#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace velmora::datadir {

// Calls work(i) for every i below count, spread over every core: the caller's thread
// and one helper per other core, when there are enough items to share (each call must
// touch only what belongs to its i).
template <typename Work>
void onEveryCore(qsizetype count, const Work& work, qsizetype perHelper = 8) {
    std::atomic<qsizetype> next{0};
    const auto run = [&] {
        for (qsizetype i = next++; i < count; i = next++)
            work(i);
    };
    const unsigned helpers = unsigned(std::min<qsizetype>(
        qsizetype(std::max(1U, std::thread::hardware_concurrency())) - 1, count / perHelper));
    std::vector<std::jthread> threads;
    for (unsigned t = 0; t < helpers; ++t)
        threads.emplace_back(run);
    run();
}

} // namespace velmora::datadir
