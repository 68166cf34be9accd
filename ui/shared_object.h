#pragma once
// The intrusive reference count that every tree node, layout, delegate, request, application
// and category carries, and the program's own counted pointer to it.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace zentri {

class shared_object {
  public:
    shared_object() = default;
    // A copy is a new object: it starts without references.
    shared_object(const shared_object&) {}
    shared_object& operator=(const shared_object&) { return *this; }
    virtual ~shared_object() = default;

    void AddRef() const { refCount_.fetch_add(1, std::memory_order_relaxed); }

    // Decrements the count only while it is above zero; deletes the object when that made it
    // zero. Releasing an object whose count is already zero deletes nothing. Before the last
    // reference goes, LastRelease runs on the whole object.
    void Release() const {
        int32_t count = refCount_.load(std::memory_order_acquire);
        while (count > 0) {
            if (count == 1) {
                const_cast<shared_object*>(this)->LastRelease();
                // References that LastRelease took and dropped again leave the count at one;
                // one that it kept keeps the object.
                count = 1;
                if (refCount_.compare_exchange_strong(count, 0, std::memory_order_acq_rel)) {
                    delete this;
                    return;
                }
                continue;
            }
            if (refCount_.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel))
                return;
        }
    }

    int32_t RefCount() const { return refCount_.load(std::memory_order_relaxed); }

  protected:
    // Called while the last reference is being released, with the count still at one and the
    // whole object (its most derived parts included) still alive: the place for what must see
    // the object whole at its end, which a base class destructor cannot (the derived parts are
    // gone by then). Runs again if the object was kept alive and is released once more.
    virtual void LastRelease() {}

  private:
    // Atomic because worker threads (transfers, installs) hold references too.
    mutable std::atomic<int32_t> refCount_{0};
};

// Holds one raw pointer to a shared_object and one reference on it.
template <class T>
class shared_ptr {
  public:
    shared_ptr() = default;
    shared_ptr(std::nullptr_t) {}
    shared_ptr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    shared_ptr(const shared_ptr& other) : shared_ptr(other.p_) {}
    shared_ptr(shared_ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
    shared_ptr(const shared_ptr<U>& other) : shared_ptr(other.get()) {}
    template <class U>
    shared_ptr(shared_ptr<U>&& other) noexcept : p_(other.detach()) {}
    ~shared_ptr() {
        if (p_) p_->Release();
    }

    // The new target is counted before the old one is released, so assigning a pointer to
    // (a part of) its own target is safe.
    shared_ptr& operator=(const shared_ptr& other) {
        reset(other.p_);
        return *this;
    }
    shared_ptr& operator=(shared_ptr&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(p_, std::exchange(other.p_, nullptr));
            if (old) old->Release();
        }
        return *this;
    }
    shared_ptr& operator=(T* p) {
        reset(p);
        return *this;
    }
    shared_ptr& operator=(std::nullptr_t) {
        reset();
        return *this;
    }

    void reset(T* p = nullptr) {
        if (p) p->AddRef();
        T* old = std::exchange(p_, p);
        if (old) old->Release();
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Gives up the pointer without releasing it (used by converting moves).
    T* detach() { return std::exchange(p_, nullptr); }

    template <class U>
    bool operator==(const shared_ptr<U>& other) const {
        return p_ == other.get();
    }
    bool operator==(const T* other) const { return p_ == other; }
    bool operator==(std::nullptr_t) const { return p_ == nullptr; }

  private:
    T* p_ = nullptr;
};

template <class T, class... Args>
shared_ptr<T> MakeShared(Args&&... args) {
    return shared_ptr<T>(new T(std::forward<Args>(args)...));
}

template <class T, class U>
shared_ptr<T> static_pointer_cast(const shared_ptr<U>& p) {
    return shared_ptr<T>(static_cast<T*>(p.get()));
}

template <class T, class U>
shared_ptr<T> dynamic_pointer_cast(const shared_ptr<U>& p) {
    return shared_ptr<T>(dynamic_cast<T*>(p.get()));
}

}  // namespace zentri
