#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/delegate.h"
#include "ui/shared_object.h"
#include "ui/singleton.h"

namespace zentri {
namespace {

struct Tracked : shared_object {
    explicit Tracked(int* deaths) : deaths(deaths) {}
    ~Tracked() override { ++*deaths; }
    int* deaths;
};

struct Derived : Tracked {
    using Tracked::Tracked;
};

TEST(SharedPtr, CountsReferencesAndDeletesWithTheLast) {
    int deaths = 0;
    {
        shared_ptr<Tracked> a(new Tracked(&deaths));
        EXPECT_EQ(a->RefCount(), 1);
        shared_ptr<Tracked> b = a;
        EXPECT_EQ(a->RefCount(), 2);
        shared_ptr<Tracked> c = std::move(b);
        EXPECT_FALSE(b);
        EXPECT_EQ(a->RefCount(), 2);
        a = nullptr;
        EXPECT_EQ(deaths, 0);
        EXPECT_EQ(c->RefCount(), 1);
    }
    EXPECT_EQ(deaths, 1);
}

TEST(SharedPtr, SelfAssignmentAndAssigningAPartOfItselfAreSafe) {
    int deaths = 0;
    struct Node : shared_object {
        shared_ptr<Node> next;
        int* deaths;
        explicit Node(int* d) : deaths(d) {}
        ~Node() override { ++*deaths; }
    };
    shared_ptr<Node> head(new Node(&deaths));
    head->next = new Node(&deaths);
    head = head;
    EXPECT_EQ(deaths, 0);
    head = head->next;  // the new target is counted before the old one goes
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(head->RefCount(), 1);
}

TEST(SharedPtr, ReleasingAtZeroDeletesNothing) {
    int deaths = 0;
    auto* unowned = new Tracked(&deaths);
    unowned->Release();  // count is 0: nothing happens
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(unowned->RefCount(), 0);
    delete unowned;
    EXPECT_EQ(deaths, 1);
    deaths = 0;
    // A copy of an object starts with no references of its own.
    shared_ptr<Tracked> held(new Tracked(&deaths));
    Tracked copy(*held);
    EXPECT_EQ(copy.RefCount(), 0);
}

TEST(SharedPtr, ConvertsAndCasts) {
    int deaths = 0;
    shared_ptr<Derived> d(new Derived(&deaths));
    shared_ptr<Tracked> base = d;
    EXPECT_EQ(base->RefCount(), 2);
    EXPECT_TRUE(base == d);
    shared_ptr<Derived> back = dynamic_pointer_cast<Derived>(base);
    EXPECT_TRUE(back);
    shared_ptr<Tracked> plain(new Tracked(&deaths));
    EXPECT_FALSE(dynamic_pointer_cast<Derived>(plain));
    auto made = MakeShared<Tracked>(&deaths);
    EXPECT_EQ(made->RefCount(), 1);
}

struct Listener {
    std::vector<std::string>* log;
    void A(int x, const std::string& s) { log->push_back("A" + std::to_string(x) + s); }
    void B(int x, const std::string& s) { log->push_back("B" + std::to_string(x) + s); }
};

TEST(Delegation, CallsEverySubscriberInOrderEvenEqualOnes) {
    std::vector<std::string> log;
    Listener l{&log};
    shared_ptr<Delegation_2<int, const std::string&>> list(
        new Delegation_2<int, const std::string&>);
    list->Invoke(1, "x");  // empty: nothing
    list->Add(&l, &Listener::B);
    list->Add(&l, &Listener::A);
    list->Add(&l, &Listener::B);
    list->Invoke(7, "!");
    EXPECT_EQ(log, (std::vector<std::string>{"B7!", "A7!", "B7!"}));
}

TEST(Delegation, EqualityOfMemberDelegatesAndLists) {
    std::vector<std::string> log;
    Listener l1{&log}, l2{&log};
    using D = MemFnDelegat_2<int, const std::string&, Listener>;
    D a1(&l1, &Listener::A), a1again(&l1, &Listener::A), b1(&l1, &Listener::B),
        a2(&l2, &Listener::A);
    EXPECT_TRUE(a1.Equals(a1again));
    EXPECT_FALSE(a1.NotEquals(a1again));
    EXPECT_FALSE(a1.Equals(b1));
    EXPECT_FALSE(a1.Equals(a2));
    FnDelegate<int, const std::string&> fn([](int, const std::string&) {});
    EXPECT_FALSE(fn.Equals(fn));

    Delegation_2<int, const std::string&> x, y;
    EXPECT_TRUE(x.Equals(y));
    x.Add(&l1, &Listener::A);
    EXPECT_FALSE(x.Equals(y));
    y.Add(&l1, &Listener::A);
    EXPECT_TRUE(x.Equals(y));
    y.Add(&l1, &Listener::B);
    EXPECT_FALSE(x.Equals(y));
    EXPECT_TRUE(y.Remove(&l1, &Listener::B));
    EXPECT_FALSE(y.Remove(&l1, &Listener::B));
    EXPECT_TRUE(x.Equals(y));
}

// A handler object that equals nothing, not even itself, is still removed by handing back the
// object that was added; an equal but different handler is not needed for that.
TEST(Delegation, TheVeryDelegateAddedIsRemovedByItself) {
    int calls = 0;
    Delegation_1<int> list;
    auto counter = MakeShared<FnDelegate<int>>([&](int n) { calls += n; });
    auto other = MakeShared<FnDelegate<int>>([&](int n) { calls += 100 * n; });
    list.Add(counter);
    list.Add(other);
    list.Add(counter);
    EXPECT_TRUE(list.Remove(*counter));  // the first of the two entries
    list.Invoke(1);
    EXPECT_EQ(calls, 101);
    EXPECT_TRUE(list.Remove(*counter));
    EXPECT_FALSE(list.Remove(*counter));
    EXPECT_TRUE(list.Remove(*other));
    list.Invoke(1);
    EXPECT_EQ(calls, 101);
    EXPECT_TRUE(list.Empty());
}

TEST(Delegation, HandlersMayChangeTheListWhileItRuns) {
    std::vector<int> calls;
    Delegation_0 list;  // a by-value member list, as managers hold them
    struct Remover {
        Delegation_0* list;
        std::vector<int>* calls;
        void First() {
            calls->push_back(1);
            list->Remove(this, &Remover::Second);  // removed before its turn: not called
            list->Add(this, &Remover::Third);      // added during the run: next time
        }
        void Second() { calls->push_back(2); }
        void Third() { calls->push_back(3); }
    } r{&list, &calls};
    list.Add(&r, &Remover::First);
    list.Add(&r, &Remover::Second);
    list.Invoke();
    EXPECT_EQ(calls, (std::vector<int>{1}));
    list.RemoveObject(&r);
    EXPECT_TRUE(list.Empty());
}

TEST(Delegation, FiveArgumentsAndNestedLists) {
    int sum = 0;
    auto inner = shared_ptr<Delegation_5<int, int, int, int, int>>(
        new Delegation_5<int, int, int, int, int>);
    inner->Add([&](int a, int b, int c, int d, int e) { sum += a + b + c + d + e; });
    Delegation_5<int, int, int, int, int> outer;
    outer.Add(inner);
    outer.Add(inner);
    outer.Invoke(1, 2, 3, 4, 5);
    EXPECT_EQ(sum, 30);
}

struct Counter : Singleton<Counter> {
    int value = 0;
};

TEST(Singleton, OneInstanceForTheWholeProgram) {
    Counter::Instance().value = 41;
    ++Counter::Instance().value;
    EXPECT_EQ(&Counter::Instance(), &Counter::Instance());
    EXPECT_EQ(Counter::Instance().value, 42);
}

}  // namespace
}  // namespace zentri
