// The hand-over and the worker threads: run on the pumping thread, exceptions back, release on stop.
#include "HandOver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>

#include "CallQueue.h"

namespace {

using namespace std::chrono_literals;

TEST(HandOver, RunsTheCallOnThePumpingThreadAndWaitsForIt) {
    TCallQueue queue;
    std::thread::id ranOn;
    std::jthread worker([&](std::stop_token stop) {
        EXPECT_TRUE(HandOver(queue, [&] { ranOn = std::this_thread::get_id(); }, stop));
    });
    ASSERT_TRUE(queue.RunOne(10s));
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(HandOver, ThrowsTheCallsExceptionInTheWorker) {
    TCallQueue queue;
    std::promise<std::string> caught;
    std::jthread worker([&](std::stop_token stop) {
        try {
            HandOver(queue, [] { throw std::runtime_error("handler failed"); }, stop);
            caught.set_value("nothing");
        } catch (const std::runtime_error& error) {
            caught.set_value(error.what());
        }
    });
    ASSERT_TRUE(queue.RunOne(10s));  // the failure does not escape on the user-interface side
    EXPECT_EQ(caught.get_future().get(), "handler failed");
}

TEST(HandOver, StopReleasesTheWorkerAndCancelsTheCall) {
    TCallQueue queue;
    std::atomic<bool> ran = false;
    std::atomic<int> result = -1;
    std::jthread worker([&](std::stop_token stop) { result = HandOver(queue, [&] { ran = true; }, stop) ? 1 : 0; });
    ASSERT_TRUE(queue.WaitForCalls(1, 10s));
    worker.request_stop();
    worker.join();  // would hang if the stop did not release the worker
    EXPECT_EQ(result, 0);
    EXPECT_EQ(queue.RunPending(), 1u);
    EXPECT_FALSE(ran);  // cancelled before it started

    std::stop_source already;
    already.request_stop();
    EXPECT_FALSE(HandOver(queue, [&] { ran = true; }, already.get_token()));
    EXPECT_EQ(queue.Size(), 0u);
}

}  // namespace
