#pragma once
// A binary control that counts its repaint requests and can be put into the
// zoomed mode, with the modal messages collected instead of shown.
#include <gtest/gtest.h>

#include <QStringList>

#include "diagram/binagram.h"
#include "platform/messages.h"

class CountingBinagram : public TBinagram {
 public:
  int Repaints = 0;
  void Invalidate() override {
    ++Repaints;
    TBinagram::Invalidate();
  }
  void SetZoomed(bool Value) { SetZooming(Value); }
};

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageHandler([this](const QString& text) { Messages << text; });
    Diagram.Repaints = 0;
  }
  void TearDown() override { SetMessageHandler(previous_); }

  // Hands curve points over; (-1, -1) is a separator.
  void SetCurves(std::initializer_list<std::pair<float, float>> points) {
    TSplinesData data;
    for (auto [c, t] : points) data.Points.push_back({c, t});
    data.LastIndex = std::uint16_t(data.Points.size() - 1);
    Diagram.SetSplinesData(data);
  }
  void SetArea(int i, float c, float t) {
    TPhaseArea a = Diagram.AreaList().Get(i);
    a.C = c;
    a.T = t;
    Diagram.AreaList().Put(i, a);
  }
  void Reset() {
    Messages.clear();
    Diagram.Repaints = 0;
  }

  CountingBinagram Diagram;
  QStringList Messages;

 private:
  TMessageHandler previous_;
};
