#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

// Runs one call that may block (the spooler, the name server) on a thread of its own and waits
// for its result at most `limit`, so a hung peer can hold the caller only that long. A call that
// overruns finishes on its own thread later and its result is dropped; it must therefore own
// everything it touches (capture by value). Empty when the limit passed or no thread could start.
template <class Result>
std::optional<Result> callWithin(std::chrono::milliseconds limit, std::function<Result()> work)
{
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Result> result;
    };
    auto shared = std::make_shared<Shared>();
    try {
        std::thread([shared, work = std::move(work)]() mutable {
            Result result = work();
            std::lock_guard<std::mutex> lock(shared->mutex);
            shared->result = std::move(result);
            shared->done.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return std::nullopt;
    }
    std::unique_lock<std::mutex> lock(shared->mutex);
    shared->done.wait_for(lock, limit, [&shared] { return shared->result.has_value(); });
    return shared->result;
}
