// The hand-over of a worker's call to the user-interface thread: exceptions come back, stop cancels.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "CallQueue.h"
#include "HandOver.h"

namespace {

using namespace std::chrono_literals;

TEST(HandOver, ThrowsTheCallsExceptionInTheWorker) {
    TCallQueue queue;
    std::string caught = "nothing";
    std::jthread worker([&](std::stop_token stop) {
        try {
            HandOver(
                queue, [] { throw std::runtime_error("handler failed"); }, stop);
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
    });
    ASSERT_TRUE(queue.RunOne(10s));  // the failure does not escape on the user-interface side
    worker.join();
    EXPECT_EQ(caught, "handler failed");
}

TEST(HandOver, StopReleasesTheWorkerAndCancelsTheCall) {
    TCallQueue queue;
    std::atomic<bool> ran = false;
    std::atomic<int> result = -1;
    std::jthread worker([&](std::stop_token stop) {
        result = HandOver(
            queue, [&] { ran = true; }, stop);
    });
    ASSERT_TRUE(queue.WaitForCalls(1, 10s));
    worker.request_stop();
    worker.join();  // would hang if the stop did not release the worker
    EXPECT_EQ(queue.RunPending(), 1u);
    EXPECT_FALSE(ran || handed);  // cancelled before it started
    std::stop_source already;
    already.request_stop();
    EXPECT_FALSE(HandOver(
        queue, [&] { ran = true; }, already.get_token()));
    EXPECT_EQ(queue.Size(), 0u);
}

}  // namespace
