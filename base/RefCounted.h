#pragma once
// Intrusive reference counting for the library's own objects.  Ref<T> is a
// counted reference; a plain T* is an uncounted one, used on purpose where
// window properties and hook tables keep raw pointers.
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

template <class T>
class Ref {
  public:
    Ref() = default;
    Ref(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    Ref(const Ref& o) : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U>
    Ref(const Ref<U>& o) : Ref(o.get()) {}
    ~Ref() { reset(); }
    Ref& operator=(Ref o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// A new object, held by its first counted reference.
template <class T, class... A>
Ref<T> MakeRef(A&&... a) {
    return Ref<T>(new T(std::forward<A>(a)...));
}

} // namespace glim
