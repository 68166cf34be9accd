#pragma once
// Callback objects through which every notification travels. A Delegate is one callable; a
// MemFnDelegat calls a member function on an object it does not own (the subscriber must
// outlive the subscription); a Delegation is a list of delegates called in the order in which
// they were added. The numbered names (Delegate_2<A, B>, ...) are the ones the code uses.

#include <functional>
#include <typeinfo>
#include <utility>
#include <vector>

#include "ui/shared_object.h"

namespace zentri {

template <class... A>
class Delegate : public shared_object {
  public:
    virtual bool Equals(const Delegate& other) const {
        (void)other;
        return false;
    }
    bool NotEquals(const Delegate& other) const { return !Equals(other); }
    virtual void Invoke(A... args) = 0;
    void operator()(A... args) { Invoke(std::forward<A>(args)...); }
};

template <class T, class... A>
class MemFnDelegat : public Delegate<A...> {
  public:
    using Method = void (T::*)(A...);
    MemFnDelegat(T* object, Method method) : object_(object), method_(method) {}

    void Invoke(A... args) override { (object_->*method_)(std::forward<A>(args)...); }

    // Equal when the other is of the same type and calls the same member of the same object.
    bool Equals(const Delegate<A...>& other) const override {
        if (typeid(other) != typeid(*this)) return false;
        const auto& o = static_cast<const MemFnDelegat&>(other);
        return o.object_ == object_ && o.method_ == method_;
    }

    T* Object() const { return object_; }

  private:
    T* object_;
    Method method_;
};

// A small handler object around any callable; never equal to another delegate.
template <class... A>
class FnDelegate : public Delegate<A...> {
  public:
    explicit FnDelegate(std::function<void(A...)> fn) : fn_(std::move(fn)) {}
    void Invoke(A... args) override {
        if (fn_) fn_(std::forward<A>(args)...);
    }

  private:
    std::function<void(A...)> fn_;
};

template <class... A>
class Delegation : public Delegate<A...> {
  public:
    using Item = shared_ptr<Delegate<A...>>;

    void Add(const Item& delegate) {
        if (delegate) items_.push_back(delegate);
    }
    template <class T>
    void Add(T* object, void (T::*method)(A...)) {
        Add(Item(new MemFnDelegat<T, A...>(object, method)));
    }
    void Add(std::function<void(A...)> fn) { Add(Item(new FnDelegate<A...>(std::move(fn)))); }

    // Removes the first delegate that is `delegate` itself or equal to it; true when one was
    // removed. (A handler object equals nothing, so it is removed by handing back the object.)
    bool Remove(const Delegate<A...>& delegate) {
        for (auto it = items_.begin(); it != items_.end(); ++it) {
            if (it->get() == &delegate || (*it)->Equals(delegate)) {
                items_.erase(it);
                return true;
            }
        }
        return false;
    }
    template <class T>
    bool Remove(T* object, void (T::*method)(A...)) {
        return Remove(MemFnDelegat<T, A...>(object, method));
    }
    // Removes every delegate bound to `object`.
    template <class T>
    void RemoveObject(T* object) {
        std::erase_if(items_, [object](const Item& item) {
            auto* mem = dynamic_cast<const MemFnDelegat<T, A...>*>(item.get());
            return mem && mem->Object() == object;
        });
    }
    void Clear() { items_.clear(); }

    // Calls every delegate in index order. Handlers may add or remove delegates while the list
    // runs: the ones present at the start are called unless they were removed meanwhile.
    void Invoke(A... args) override {
        if (items_.empty()) return;
        std::vector<Item> snapshot = items_;
        for (const Item& item : snapshot) {
            if (Contains(item.get())) item->Invoke(args...);
        }
    }

    bool Equals(const Delegate<A...>& other) const override {
        auto* o = dynamic_cast<const Delegation*>(&other);
        if (!o || o->items_.size() != items_.size()) return false;
        for (size_t i = 0; i < items_.size(); ++i)
            if (!items_[i]->Equals(*o->items_[i])) return false;
        return true;
    }

    size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    const std::vector<Item>& Items() const { return items_; }

  private:
    bool Contains(const Delegate<A...>* d) const {
        for (const Item& item : items_)
            if (item.get() == d) return true;
        return false;
    }

    std::vector<Item> items_;
};

template <class... A>
using DelegationPtr = shared_ptr<Delegation<A...>>;

// The numbered names.
using Delegate_0 = Delegate<>;
template <class A1>
using Delegate_1 = Delegate<A1>;
template <class A1, class A2>
using Delegate_2 = Delegate<A1, A2>;
template <class A1, class A2, class A3>
using Delegate_3 = Delegate<A1, A2, A3>;
template <class A1, class A2, class A3, class A4>
using Delegate_4 = Delegate<A1, A2, A3, A4>;
template <class A1, class A2, class A3, class A4, class A5>
using Delegate_5 = Delegate<A1, A2, A3, A4, A5>;

template <class T>
using MemFnDelegat_0 = MemFnDelegat<T>;
template <class A1, class T>
using MemFnDelegat_1 = MemFnDelegat<T, A1>;
template <class A1, class A2, class T>
using MemFnDelegat_2 = MemFnDelegat<T, A1, A2>;
template <class A1, class A2, class A3, class T>
using MemFnDelegat_3 = MemFnDelegat<T, A1, A2, A3>;
template <class A1, class A2, class A3, class A4, class T>
using MemFnDelegat_4 = MemFnDelegat<T, A1, A2, A3, A4>;
template <class A1, class A2, class A3, class A4, class A5, class T>
using MemFnDelegat_5 = MemFnDelegat<T, A1, A2, A3, A4, A5>;

using Delegation_0 = Delegation<>;
template <class A1>
using Delegation_1 = Delegation<A1>;
template <class A1, class A2>
using Delegation_2 = Delegation<A1, A2>;
template <class A1, class A2, class A3>
using Delegation_3 = Delegation<A1, A2, A3>;
template <class A1, class A2, class A3, class A4>
using Delegation_4 = Delegation<A1, A2, A3, A4>;
template <class A1, class A2, class A3, class A4, class A5>
using Delegation_5 = Delegation<A1, A2, A3, A4, A5>;

}  // namespace zentri
