// Handler references: code plus the object it runs on.
//
// A handler is "set" when its code is set. Two handlers are equal when their
// code is equal, whatever object they run on: assigning the same member
// function of another window object counts as no change. std::function cannot
// be compared, hence this small type.
//
//   hid::THidDataEvent h = hid::MakeHandler(this, &TMainForm::HidCtlDeviceData);
//   if (h) h(dev, id, data, size);
//
// Plain functions work too: hid::MakeHandler(&SomeFunction).
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace hid {

template <class Sig>
class Handler;

template <class R, class... A>
class Handler<R(A...)> {
 public:
  Handler() = default;

  // Member function `fn` of `obj` (fn may belong to a base class of C).
  template <class C, class B>
  Handler(C* obj, R (B::*fn)(A...)) {
    static_assert(std::is_base_of_v<B, C>, "the member function must belong to the object's class");
    if (obj == nullptr || fn == nullptr) return;
    Bind(static_cast<B*>(obj), fn, &CallMember<B, R (B::*)(A...)>);
  }
  template <class C, class B>
  Handler(C* obj, R (B::*fn)(A...) const) {
    static_assert(std::is_base_of_v<B, C>, "the member function must belong to the object's class");
    if (obj == nullptr || fn == nullptr) return;
    Bind(const_cast<B*>(static_cast<const B*>(obj)), fn, &CallMember<const B, R (B::*)(A...) const>);
  }
  // A plain function; the object is none.
  explicit Handler(R (*fn)(A...)) {
    if (fn == nullptr) return;
    Bind(static_cast<void*>(nullptr), fn, &CallFunction);
  }

  explicit operator bool() const { return call_ != nullptr; }
  bool IsSet() const { return call_ != nullptr; }

  // Equal code: same function (and same kind of binding); the object is not compared.
  friend bool operator==(const Handler& a, const Handler& b) {
    if (a.call_ != b.call_) return false;
    return a.call_ == nullptr || a.same_(a.code_, b.code_);
  }

  // The object the code runs on (nullptr for plain functions and empty handlers).
  void* Object() const { return obj_; }

  R operator()(A... args) const { return call_(obj_, code_, std::forward<A>(args)...); }

 private:
  // Large enough for a pointer to member function on the usual ABIs
  // (two words on Itanium, up to four on others).
  static constexpr std::size_t kCodeSize = 4 * sizeof(void*);
  using Call = R (*)(void*, const unsigned char*, A...);
  using Same = bool (*)(const unsigned char*, const unsigned char*);

  template <class O, class F>
  void Bind(O* obj, F fn, Call call) {
    static_assert(sizeof(F) <= kCodeSize, "pointer to member function too large");
    static_assert(std::is_trivially_copyable_v<F>);
    obj_ = const_cast<void*>(static_cast<const void*>(obj));
    ::new (static_cast<void*>(code_)) F(fn);
    call_ = call;
    same_ = &SameCode<F>;
  }

  template <class F>
  static F Code(const unsigned char* bytes) {
    return *std::launder(reinterpret_cast<const F*>(bytes));
  }
  template <class F>
  static bool SameCode(const unsigned char* a, const unsigned char* b) {
    return Code<F>(a) == Code<F>(b);
  }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
// GCC 12 flags the virtual-call branch of a member-pointer call on classes
// without a vtable as a read of uninitialised memory; that branch is dead.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
  template <class O, class F>
  static R CallMember(void* obj, const unsigned char* code, A... args) {
    return (static_cast<O*>(obj)->*Code<F>(code))(std::forward<A>(args)...);
  }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
  static R CallFunction(void*, const unsigned char* code, A... args) {
    return Code<R (*)(A...)>(code)(std::forward<A>(args)...);
  }

  void* obj_ = nullptr;
  alignas(void*) unsigned char code_[kCodeSize] = {};
  Call call_ = nullptr;
  Same same_ = nullptr;
};

template <class C, class B, class R, class... A>
Handler<R(A...)> MakeHandler(C* obj, R (B::*fn)(A...)) {
  return Handler<R(A...)>(obj, fn);
}
template <class C, class B, class R, class... A>
Handler<R(A...)> MakeHandler(C* obj, R (B::*fn)(A...) const) {
  return Handler<R(A...)>(obj, fn);
}
template <class R, class... A>
Handler<R(A...)> MakeHandler(R (*fn)(A...)) {
  return Handler<R(A...)>(fn);
}

}  // namespace hid
