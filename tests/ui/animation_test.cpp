#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/ui/test_nodes.h"
#include "ui/animator.h"
#include "ui/interpolator.h"
#include "ui/performance_frequency.h"
#include "ui/property.h"
#include "ui/states_chain.h"

namespace zentri::test {
namespace {

// A chain of n states that records every state it is moved to.
class CountingChain : public StatesChain {
  public:
    explicit CountingChain(int n) { SetCount(n); }
    bool Apply(int, int to, int) override {
        applied.push_back(to);
        return true;
    }
    std::vector<int> applied;
};

// The states an animator shows, one per Step, until it ends (or `limit` steps).
std::vector<int> StatesOf(Animator& animator, const StatesChain& chain, int limit = 100) {
    std::vector<int> states{chain.State()};
    while (limit-- > 0 && animator.Step())
        states.push_back(chain.State());
    return states;
}

template <class I>
std::vector<int> Values(int from, int to, int lastState) {
    auto node = Make<GObject>();
    node->SetPosition(from, 0);
    auto chain = MakeShared<ComplexStatesChain<int>>(MakeShared<I>(),
                                                     MakeShared<XPositionProperty>(node.get()));
    chain->SetTarget(lastState, to);
    EXPECT_EQ(chain->Count(), lastState + 1);
    StateAnimator animator(chain, StateAnimator::kLastState);
    std::vector<int> xs{node->X()};
    while (animator.Step())
        xs.push_back(node->X());
    return xs;
}

TEST(Interpolator, LinearAndCubicValuesTruncateTowardZero) {
    EXPECT_EQ(Values<LinearInterpolator<int>>(0, 10, 3), (std::vector<int>{0, 3, 6, 10}));
    EXPECT_EQ(Values<CubicInterpolator<int>>(0, 100, 4), (std::vector<int>{0, 15, 50, 84, 100}));
    EXPECT_EQ(Values<LinearInterpolator<int>>(10, 0, 3), (std::vector<int>{10, 6, 3, 0}));
}

TEST(Interpolator, KeysMustRiseAndKnowTheirSpan) {
    LinearInterpolator<int> interp;
    interp.AddKey(-1, 5);
    EXPECT_EQ(interp.KeyCount(), 0u);
    EXPECT_EQ(interp.StateCount(), 0);
    interp.AddKey(0, 0);
    interp.AddKey(10, 100);
    interp.AddKey(10, 7);
    interp.AddKey(4, 7);
    ASSERT_EQ(interp.KeyCount(), 2u);
    EXPECT_EQ(interp.Keys()[1].span, 10);
    EXPECT_EQ(interp.StateCount(), 11);
    EXPECT_EQ(interp.ValueAt(5), 50);
    EXPECT_EQ(interp.ValueAt(10), 100);
    EXPECT_EQ(interp.ValueAt(99), 100);
    LinearInterpolator<int> single;
    single.AddKey(3, 9);
    EXPECT_EQ(single.ValueAt(0), 9);
}

TEST(StatesChain, SetCountAndRefusals) {
    CountingChain chain(5);
    int events = 0;
    chain.OnStateChanged().Add([&](StatesChain*, int from, int to, int count) {
        ++events;
        EXPECT_EQ(from, 0);
        EXPECT_EQ(to, 4);
        EXPECT_EQ(count, 5);
    });
    EXPECT_FALSE(chain.SetState(5));
    EXPECT_FALSE(chain.SetState(-1));
    EXPECT_TRUE(chain.SetState(4));
    EXPECT_EQ(events, 1);
    chain.SetCount(0);
    EXPECT_EQ(chain.Count(), 1);
    EXPECT_EQ(chain.State(), 0);
    EXPECT_EQ(events, 1);  // nothing applied, nothing fired
    chain.Lock();
    EXPECT_FALSE(chain.SetState(0));
    EXPECT_EQ(chain.applied, (std::vector<int>{4}));
}

TEST(StatesChain, ComplexTargetStartsFromTheCurrentValueAndParallelFollows) {
    auto node = Make<GObject>();
    node->SetTransparency(200);
    auto fade = MakeShared<ComplexStatesChain<int>>(MakeShared<LinearInterpolator<int>>(),
                                                    MakeShared<TransparencyProperty>(node.get()));
    fade->SetTarget(2, 0);
    auto other = MakeShared<CountingChain>(3);
    ParallelStatesChain both;
    both.SetCount(3);
    both.AddChain(fade);
    both.AddChain(other);
    EXPECT_TRUE(both.SetState(1));
    EXPECT_EQ(node->Transparency(), 100);
    EXPECT_EQ(other->State(), 1);
    fade->Reset();
    EXPECT_EQ(fade->Count(), 1);
    EXPECT_EQ(fade->GetInterpolator()->KeyCount(), 0u);
    // Without an interpolator a target changes nothing.
    ComplexStatesChain<int> bare;
    bare.SetProperty(MakeShared<TransparencyProperty>(node.get()));
    bare.SetTarget(3, 9);
    EXPECT_EQ(bare.Count(), 1);
}

TEST(StateAnimator, RestartLoopsAndBounceReturns) {
    auto chain = MakeShared<CountingChain>(8);
    StateAnimator restart(chain, StateAnimator::kLastState, true, StateAnimator::kRestart, -1);
    EXPECT_EQ(StatesOf(restart, *chain, 10), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2}));
    EXPECT_TRUE(restart.Endless());

    auto bounceChain = MakeShared<CountingChain>(4);
    StateAnimator bounce(bounceChain, 3, true, StateAnimator::kBounce, 2);
    EXPECT_EQ(StatesOf(bounce, *bounceChain), (std::vector<int>{0, 1, 2, 3, 2, 1, 0}));
    EXPECT_EQ(bounceChain->DriverCount(), 0);

    // A one-shot move ends on arrival; targets are clamped to the chain.
    auto oneShot = MakeShared<CountingChain>(3);
    StateAnimator move(oneShot, 99);
    EXPECT_EQ(StatesOf(move, *oneShot), (std::vector<int>{0, 1, 2}));
    oneShot->SetState(2);
    StateAnimator back(oneShot, StateAnimator::kFirstState);
    EXPECT_EQ(StatesOf(back, *oneShot), (std::vector<int>{2, 1, 0}));
}

TEST(StateAnimator, ALockedChainOrASecondDriverEndsTheRun) {
    auto locked = MakeShared<CountingChain>(5);
    locked->Lock();
    StateAnimator a(locked, StateAnimator::kLastState);
    EXPECT_FALSE(a.Step());
    EXPECT_EQ(locked->DriverCount(), 0);

    // A second driver makes the first step of either refuse; the one refused ends and lets
    // the chain go, so the other carries on.
    auto chain = MakeShared<CountingChain>(5);
    StateAnimator first(chain, StateAnimator::kLastState);
    EXPECT_TRUE(first.Step());
    {
        StateAnimator second(chain, StateAnimator::kFirstState);
        EXPECT_EQ(chain->DriverCount(), 2);
        EXPECT_FALSE(first.Step());
        EXPECT_EQ(chain->State(), 1);
        EXPECT_TRUE(second.Step());
        EXPECT_EQ(chain->State(), 0);
        EXPECT_FALSE(second.Step());  // arrived
    }
    EXPECT_EQ(chain->DriverCount(), 0);

    // An animator dropped before it ran lets the chain go.
    {
        StateAnimator never(chain, 0);
        EXPECT_EQ(chain->DriverCount(), 1);
    }
    EXPECT_EQ(chain->DriverCount(), 0);
    StateAnimator third(chain, StateAnimator::kLastState);
    EXPECT_TRUE(third.Step());
}

TEST(UIServer, StepsEachAnimatorOncePerTickAndStopsWhenNoneRuns) {
    TestServer server;
    server.Resize(10, 10);
    server.Tick(false, true);  // the first paint
    auto chain = MakeShared<CountingChain>(3);
    shared_ptr<Animator> animator(new StateAnimator(chain, StateAnimator::kLastState));
    server.AddAnimator(animator);
    server.AddAnimator(animator);  // twice: the older entry is dropped, one step per tick
    EXPECT_EQ(server.starts, 1);
    server.Tick(true, false);
    EXPECT_EQ(chain->State(), 1);
    EXPECT_EQ(server.AnimatorCount(), 1u);
    server.Tick(true, false);
    EXPECT_EQ(chain->State(), 2);
    server.Tick(true, false);  // the animator finds itself at the target and ends
    EXPECT_EQ(server.AnimatorCount(), 0u);
    EXPECT_EQ(animator->AttachCount(), 0);
    EXPECT_EQ(server.stops, 0);
    server.Tick(true, false);  // the first tick without animators stops the timer
    EXPECT_EQ(server.stops, 1);
    EXPECT_FALSE(server.TimerRunning());
}

TEST(UIServer, AnAnimatorAddedDuringATickWaitsForTheNext) {
    TestServer server;
    server.Resize(10, 10);
    auto chain = MakeShared<CountingChain>(5);
    auto later = MakeShared<CountingChain>(5);
    chain->OnStateChanged().Add([&](StatesChain*, int, int to, int) {
        if (to == 1) server.AddAnimator(new StateAnimator(later, StateAnimator::kLastState));
    });
    server.AddAnimator(new StateAnimator(chain, StateAnimator::kLastState));
    server.Tick(true, false);
    EXPECT_EQ(later->State(), 0);
    server.Tick(true, false);
    EXPECT_EQ(later->State(), 1);
}

TEST(PerformanceFrequency, ShiftsWrapsAndGuardsAgainstAStall) {
    auto counter = std::make_shared<ManualCounter>(1000000000u, 0xFFull << 32);
    PerformanceFrequency clock(counter);
    EXPECT_EQ(clock.Shift(), 9);  // 1 GHz >> 9 = 1,953,125 counts per second
    EXPECT_DOUBLE_EQ(clock.SecondsPerTick(), 1.0 / 1953125);
    EXPECT_EQ(clock.Seconds(), 0.0);
    counter->Advance(512u * 1953125u);  // one second
    EXPECT_DOUBLE_EQ(clock.Seconds(), 1.0);
    // A reading that falls back a little is not newer: the clock stays.
    counter->Set(counter->Counter() - 512u * 1000u);
    EXPECT_DOUBLE_EQ(clock.Seconds(), 1.0);

    // The shifted 32-bit reading wraps: the difference still counts.
    auto wrapping = std::make_shared<ManualCounter>(1000000u, 0xFFFFFF00ull);
    PerformanceFrequency wrapClock(wrapping);
    EXPECT_EQ(wrapClock.Shift(), 0);
    wrapClock.Seconds();
    wrapping->Set(0x100000100ull);  // 0x200 counts later, past the wrap
    EXPECT_DOUBLE_EQ(wrapClock.Seconds(), 0x200 / 1e6);

    // A counter that never moves is pushed on by a second after enough readings.
    auto stuck = std::make_shared<ManualCounter>(1000000u, 5);
    PerformanceFrequency stuckClock(stuck);
    double last = 0;
    for (int i = 0; i <= PerformanceFrequency::kStallLimit + 1; ++i)
        last = stuckClock.Seconds();
    EXPECT_DOUBLE_EQ(last, 1.0);
}

TEST(PerformanceFrequency, TickCountFollowsTheInjectedCounter) {
    auto counter = std::make_shared<ManualCounter>(1000000u, 0);
    PerformanceFrequency clock(counter);
    counter->AdvanceMs(40);
    EXPECT_EQ(clock.TickCount(), 40u);
    clock.SetSource(nullptr);  // the monotonic clock again
    EXPECT_EQ(clock.Shift(), 9);
}

}  // namespace
}  // namespace zentri::test
