// Compose and split throughput of message texts.
#include <benchmark/benchmark.h>

#include "messenger/MessageText.h"

namespace {

TStringList MemoOf(int lines) {
    TStringList memo;
    for (int i = 0; i < lines; ++i) {
        memo.push_back("A line of a memo, about as long as people write them: " + std::to_string(i));
    }
    return memo;
}

void BM_ComposeMemo(benchmark::State& state) {
    const TStringList memo = MemoOf(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        TStringList out;
        MessageText::AppendMemo(out, "14:06:30", "WS01", memo);
        const std::string text = MessageText::Join(out);
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeMemo)->Arg(1)->Arg(10)->Arg(100);

void BM_SplitAndReadHeader(benchmark::State& state) {
    TStringList out;
    MessageText::AppendMemo(out, "14:06:30", "WS01", MemoOf(static_cast<int>(state.range(0))));
    const std::string text = MessageText::Join(out);
    for (auto _ : state) {
        const auto header = MessageText::ReadHeader(MessageText::Split(text));
        benchmark::DoNotOptimize(header->MsgLines.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(text.size() * state.iterations()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitAndReadHeader)->Arg(1)->Arg(10)->Arg(100);

}  // namespace
