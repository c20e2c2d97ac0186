// Work shared among threads the system may refuse to start: the run goes on with those it got.
#pragma once
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace calc {

// Runs body(t, n) for every t in [0, n) on n threads, the caller's among them, where n is how many of
// `wanted` the system let us start (the caller's alone at least). Every body learns n before it
// begins, so the work is divided as if n had been asked for. A failure inside any body (memory ran
// out) is rethrown here after every thread has ended, never left to end the program.
template <class F>
void runOnThreads(int wanted, F&& body) {
    std::mutex m;
    std::condition_variable started;
    int n = 0;  // 0 while threads are still being started
    std::exception_ptr failure;
    auto keepFailure = [&] {
        std::lock_guard<std::mutex> lock(m);
        if (!failure) failure = std::current_exception();
    };
    std::vector<std::thread> workers;
    try {
        workers.reserve(wanted > 1 ? static_cast<std::size_t>(wanted - 1) : 0);
        for (int t = 1; t < wanted; ++t) {
            workers.emplace_back([&, t] {
                int count;
                {
                    std::unique_lock<std::mutex> lock(m);
                    started.wait(lock, [&] { return n > 0; });
                    count = n;
                }
                try {
                    body(t, count);
                } catch (...) {
                    keepFailure();
                }
            });
        }
    } catch (const std::system_error&) {
        // No more threads (a process limit, no memory for a stack): the ones started share the work.
    } catch (const std::bad_alloc&) {
    }
    {
        std::lock_guard<std::mutex> lock(m);
        n = static_cast<int>(workers.size()) + 1;
    }
    started.notify_all();
    try {
        body(0, static_cast<int>(workers.size()) + 1);
    } catch (...) {
        keepFailure();
    }
    for (std::thread& w : workers) w.join();
    if (failure) std::rethrow_exception(failure);
}

} // namespace calc
