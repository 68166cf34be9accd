#pragma once
// A counted reference to an object that is already owned by some shared_ptr. Objects take one
// on themselves to stay alive while their handlers run; an object that nobody owns yet (one
// still being constructed) gets an empty pointer, because counting it up and down again would
// delete it.

#include "ui/shared_object.h"

namespace zentri {

template <class T>
shared_ptr<T> CountedRef(T* object) {
    if (!object || object->RefCount() <= 0) return shared_ptr<T>();
    return shared_ptr<T>(object);
}

}  // namespace zentri
