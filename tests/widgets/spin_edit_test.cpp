// The whole-number spin edit of the batch calculator.
#include <gtest/gtest.h>

#include <QTest>

#include "widgets/spin_edit.h"

namespace {

TEST(SpinEdit, StartsAtOneInOneToThousandByOne) {
  TSpinEdit e;
  EXPECT_EQ(e.MinValue(), 1);
  EXPECT_EQ(e.MaxValue(), 1000);
  EXPECT_EQ(e.Increment(), 1);
  EXPECT_EQ(e.Value(), 1);
  EXPECT_EQ(e.Text(), "1");
}

TEST(SpinEdit, ValueReadsTheText) {
  TSpinEdit e;
  const std::pair<const char*, int> cases[] = {
      {"25", 25}, {" 7 ", 7}, {"abc", 1}, {"", 1}, {"2.5", 1}, {"12x", 1},
      {"5000", 1000}, {"-3", 1}, {"0", 1}, {"1000", 1000}};
  for (const auto& [text, value] : cases) {
    e.SetText(text);
    EXPECT_EQ(e.Value(), value) << text;
  }
  e.SetText("abc");
  EXPECT_EQ(e.Text(), "abc");  // kept as typed, read as the minimum
}

TEST(SpinEdit, OnChangeFiresOnEveryChangeOfTheText) {
  TSpinEdit e;
  int changes = 0;
  QObject* sender = nullptr;
  e.SetOnChange([&](QObject* s) { ++changes; sender = s; });
  e.SetValue(10);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(sender, &e);
  e.stepUp();
  EXPECT_EQ(e.Value(), 11);
  EXPECT_EQ(changes, 2);
  e.SetText("oops");  // a text that is no number still tells
  EXPECT_EQ(changes, 3);
  e.SetValue(11);  // no change, no event
  EXPECT_EQ(changes, 3);
}

TEST(SpinEdit, TypedDigitsAreTheValue) {
  TSpinEdit e;
  e.show();
  int changes = 0;
  e.SetOnChange([&](QObject*) { ++changes; });
  e.selectAll();
  QTest::keyClicks(&e, "42");
  EXPECT_EQ(e.Value(), 42);
  EXPECT_EQ(changes, 2);  // "4", then "42"
  QTest::keyClick(&e, Qt::Key_Up);
  EXPECT_EQ(e.Value(), 43);
  e.SetIncrement(5);
  QTest::keyClick(&e, Qt::Key_Down);
  EXPECT_EQ(e.Value(), 38);
}

}  // namespace
