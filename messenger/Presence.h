// When a copy speaks up about itself, and which listed computers have fallen silent.
//
// A list is built from announcements and their answers, datagrams that the network may lose. So that a
// lost one is not lost for good, a copy announces itself a second time a few seconds after it starts, and
// again in rounds (every 15 minutes by default); a listed computer that answered none of the last two
// rounds and sent nothing else meanwhile is gone without a goodbye and leaves the list. Answers to an
// announcement wait a random moment, longer the more computers there are, so that a whole office's
// answers do not arrive in the same millisecond.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

struct TPresenceTiming {
    /// An answer waits a random time up to this much for every computer the answering copy lists: 249
    /// answers come over an eighth of a second, which any receive buffer holds, and the newcomer has
    /// them all well within half a second...
    std::chrono::microseconds AnswerSpreadPerComputer{500};
    /// ...but never longer than this.
    std::chrono::milliseconds AnswerSpreadLimit{1000};
    /// The second announcement comes at a random moment in this window after activation; none when the
    /// window ends at zero.
    std::chrono::milliseconds RepeatFrom{2000};
    std::chrono::milliseconds RepeatTo{5000};
    /// The time between rounds, each one 10 % shorter or longer at random; zero: no rounds.
    std::chrono::milliseconds Refresh = std::chrono::minutes(15);

    /// No answer delay, no second announcement, no rounds: every copy as it was first built.
    static TPresenceTiming Immediate() { return {std::chrono::microseconds(0), {}, {}, {}, {}}; }
};

/// The random moments of the presence protocol, drawn from one generator.
class TPresenceClock {
public:
    explicit TPresenceClock(const TPresenceTiming& timing);

    const TPresenceTiming& Timing() const { return FTiming; }
    void SetTiming(const TPresenceTiming& timing) { FTiming = timing; }

    /// How long an answer waits when this copy lists `listed` computers.
    std::chrono::microseconds AnswerDelay(std::size_t listed);
    /// How long after activation the second announcement goes; nothing when there is none.
    std::chrono::milliseconds RepeatDelay();
    /// How long until the next round (Refresh must be set).
    std::chrono::milliseconds NextRound();
    /// How long after a round's announcement the silent are dropped: the answers have all come by then.
    std::chrono::milliseconds RoundSettle() const;

private:
    std::chrono::microseconds Uniform(std::chrono::microseconds from, std::chrono::microseconds to);

    TPresenceTiming FTiming;
    std::mt19937_64 Random;
};

/// Which listed computers were heard from in which round of this copy's announcements.
class TRollCall {
public:
    /// A computer that is now listed, heard from now.
    void Listed(const std::string& name) { LastHeard[name] = Round; }
    /// Anything arrived from `name`; only listed computers are followed.
    void Heard(const std::string& name);
    void Forget(const std::string& name) { LastHeard.erase(name); }
    /// A round begins: this copy is about to announce itself again.
    void NextRound() { ++Round; }
    /// The listed computers heard from in neither this round nor the one before.
    std::vector<std::string> Silent() const;

private:
    std::uint64_t Round = 0;
    std::map<std::string, std::uint64_t> LastHeard;
};
