#pragma once
// Intrusive reference counting for the library's own objects.  Ref<T> is a
// counted reference; a plain T* is an uncounted one, used on purpose where
// window properties and hook tables keep raw pointers.
#include "ComPtr.h"
#include "NonCopyable.h"

#include <utility>

namespace glim {

class RefCounted : NonCopyable {
  public:
    RefCounted() = default;

    unsigned long AddRef() { return ++refs_; }
    unsigned long Release() {
        const unsigned long left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    unsigned long RefCount() const { return refs_; }

  protected:
    virtual ~RefCounted() = default;

  private:
    unsigned long refs_ = 0;
};

// A counted reference to one of the library's own objects: the same owner as
// for COM objects.
template <class T>
using Ref = ComPtr<T>;

// A new object, held by its first counted reference.
template <class T, class... A>
Ref<T> MakeRef(A&&... a) {
    return Ref<T>(new T(std::forward<A>(a)...));
}

} // namespace glim
