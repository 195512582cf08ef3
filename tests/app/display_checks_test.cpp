// The display checks at the program's start.
#include <gtest/gtest.h>

#include <QStringList>

#include "app/display_checks.h"
#include "platform/messages.h"

namespace {

const QString Palette = "High Colors (16bit) video is minimal. Bye!";
const QString Narrow = "800x600 screen area is minimal. Bye!";
const QString Advice = "Try 1024x768 or higher video and large fonts next time!";

struct TCheckRun {
  bool Terminate;
  QStringList Messages;
};

TCheckRun Check(int NumColors, int Width) {
  QStringList messages;
  const TMessageHandler old = SetMessageHandler([&](const QString& t) { messages << t; });
  const bool terminate = RunDisplayChecks(NumColors, Width);
  SetMessageHandler(old);
  return {terminate, messages};
}

TEST(DisplayChecks, PaletteDisplayOnASmallScreenGetsEveryMessageThenEnds) {
  const TCheckRun r = Check(256, 640);
  EXPECT_TRUE(r.Terminate);
  EXPECT_EQ(r.Messages, QStringList({Palette, Narrow, Advice}));
}

TEST(DisplayChecks, ScreenWidthLimits) {
  struct Case { int Width; bool Terminate; QStringList Messages; };
  const Case cases[] = {
      {798, true, {Narrow, Advice}},
      {799, false, {Advice}},  // the test is "below 799"
      {800, false, {Advice}},
      {1022, false, {Advice}},
      {1023, false, {}},  // the first width without advice
      {1920, false, {}},
  };
  for (const Case& c : cases) {
    const TCheckRun r = Check(-1, c.Width);
    EXPECT_EQ(r.Terminate, c.Terminate) << c.Width;
    EXPECT_EQ(r.Messages, c.Messages) << c.Width;
  }
}

TEST(DisplayChecks, AnyPaletteEndsTheProgramEvenOnALargeScreen) {
  for (int colors : {16, 256, 0}) {
    const TCheckRun r = Check(colors, 1280);
    EXPECT_TRUE(r.Terminate) << colors;
    EXPECT_EQ(r.Messages, QStringList({Palette})) << colors;
  }
}

}  // namespace
