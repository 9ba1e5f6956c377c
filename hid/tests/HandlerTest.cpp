#include <gtest/gtest.h>

#include "hid/HidEvents.h"

namespace hid {
namespace {

struct Window {
  int calls = 0;
  int last = 0;
  bool Enumerate(THidDevice*, std::int32_t idx) {
    ++calls;
    last = idx;
    return idx < 3;
  }
  bool Other(THidDevice*, std::int32_t) { return false; }
  bool Inspect(THidDevice*, std::int32_t idx) const { return idx == 7; }
};

struct Base {
  virtual ~Base() = default;
  virtual void Change(THidDeviceController*) { ++baseCalls; }
  int baseCalls = 0;
};
struct Derived : Base {
  void Change(THidDeviceController*) override { ++derivedCalls; }
  int derivedCalls = 0;
};

bool Accept(THidDevice*, std::int32_t) { return true; }
bool Reject(THidDevice*, std::int32_t) { return false; }

TEST(Handler, SetWhenCodeIsSetAndCallsTheObject) {
  THidEnumerateEvent empty;
  EXPECT_FALSE(empty);
  Window w;
  THidEnumerateEvent h = MakeHandler(&w, &Window::Enumerate);
  ASSERT_TRUE(h);
  EXPECT_TRUE(h(nullptr, 2));
  EXPECT_FALSE(h(nullptr, 5));
  EXPECT_EQ(w.calls, 2);
  EXPECT_EQ(w.last, 5);
  EXPECT_FALSE(THidEnumerateEvent(&w, static_cast<bool (Window::*)(THidDevice*, std::int32_t)>(nullptr)));
}

TEST(Handler, EqualWhenCodeIsEqualWhateverTheObject) {
  Window a, b;
  EXPECT_EQ(MakeHandler(&a, &Window::Enumerate), MakeHandler(&b, &Window::Enumerate));
  EXPECT_NE(MakeHandler(&a, &Window::Enumerate), MakeHandler(&a, &Window::Other));
  EXPECT_NE(MakeHandler(&a, &Window::Enumerate), THidEnumerateEvent());
  EXPECT_EQ(THidEnumerateEvent(), THidEnumerateEvent());
  EXPECT_EQ(MakeHandler(&Accept), MakeHandler(&Accept));
  EXPECT_NE(MakeHandler(&Accept), MakeHandler(&Reject));
  EXPECT_NE(MakeHandler(&Accept), MakeHandler(&a, &Window::Enumerate));
  EXPECT_NE(MakeHandler(&a, &Window::Inspect), MakeHandler(&a, &Window::Enumerate));
}

TEST(Handler, VirtualAndInheritedMembers) {
  Derived d;
  TNotifyEvent viaBase = MakeHandler(&d, &Base::Change);
  viaBase(nullptr);
  EXPECT_EQ(d.derivedCalls, 1);  // dispatched virtually
  EXPECT_EQ(d.baseCalls, 0);
  Window w;
  THidEnumerateEvent constMember = MakeHandler(&w, &Window::Inspect);
  EXPECT_TRUE(constMember(nullptr, 7));
  EXPECT_TRUE(MakeHandler(&Accept)(nullptr, 0));
}

}  // namespace
}  // namespace hid
