// The presence protocol's random moments and its roll call.
#include "messenger/Presence.h"

#include <algorithm>

using std::chrono::microseconds;
using std::chrono::milliseconds;

TPresenceClock::TPresenceClock(const TPresenceTiming& timing) : FTiming(timing), Random(std::random_device{}()) {}

microseconds TPresenceClock::Uniform(microseconds from, microseconds to) {
    if (to <= from) {
        return from;
    }
    return microseconds(std::uniform_int_distribution<microseconds::rep>(from.count(), to.count())(Random));
}

microseconds TPresenceClock::AnswerDelay(std::size_t listed) {
    const auto window = std::min<microseconds>(FTiming.AnswerSpreadPerComputer * static_cast<microseconds::rep>(listed),
                                               FTiming.AnswerSpreadLimit);
    return Uniform(microseconds(0), window);
}

milliseconds TPresenceClock::RepeatDelay() {
    return std::chrono::duration_cast<milliseconds>(Uniform(FTiming.RepeatFrom, FTiming.RepeatTo));
}

milliseconds TPresenceClock::NextRound() {
    // Jittered, so that copies started together (after a power cut) do not keep announcing together.
    const auto tenth = FTiming.Refresh / 10;
    return std::chrono::duration_cast<milliseconds>(Uniform(FTiming.Refresh - tenth, FTiming.Refresh + tenth));
}

milliseconds TPresenceClock::RoundSettle() const {
    // The slowest answer plus a second for the network, yet well before the next round.
    return std::min<milliseconds>(FTiming.AnswerSpreadLimit + std::chrono::seconds(1), FTiming.Refresh / 2);
}

void TRollCall::Heard(const std::string& name) {
    if (const auto found = LastHeard.find(name); found != LastHeard.end()) {
        found->second = Round;
    }
}

std::vector<std::string> TRollCall::Silent() const {
    std::vector<std::string> silent;
    for (const auto& [name, round] : LastHeard) {
        if (round + 1 < Round) {
            silent.push_back(name);
        }
    }
    return silent;
}
