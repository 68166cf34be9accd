#pragma once
// One instance per manager: created on first use, destroyed at program exit.

namespace zentri {

template <class T>
class Singleton {
  public:
    static T& Instance() {
        static T instance;
        return instance;
    }

    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

  protected:
    Singleton() = default;
    virtual ~Singleton() = default;
};

}  // namespace zentri
