// TBinaplot: phase areas, curves, temperature window and unit of the binary
// phase diagram.
#include "diagram/binaplot.h"

#include <QLocale>
#include <algorithm>
#include <charconv>

#include "platform/messages.h"

using namespace binary;

// --- Helpers ---------------------------------------------------------------

int TScaleMap::transformRounded(double v) const { return RoundPixel(transform(v) - p1) + int(p1); }

// --- TBinaplot -------------------------------------------------------------

TBinaplot::TBinaplot(QWidget* AOwner) : TPhasePlot(AOwner) {}

TBinaplot::~TBinaplot() = default;

void TBinaplot::SetGraphKind(TGraphKind Value) { Change(graphKind_, Value); }

namespace {
// The range a temperature limit may take in each unit (ClampTemperature
// tells the user about these ends).
struct TTRange {
  double Low, High;
};
TTRange UnitRange(TTUnits u) {
  switch (u) {
    case tuF: return {32, 5432};
    case tuK: return {273.15, 3273.15};
    default: return {0, 3000};
  }
}
// The smallest span of the temperature window, in any unit.
constexpr double MinTSpan = 100;
}  // namespace

double TBinaplot::ClampTemperature(double x) const {
  double low = 0, high = 3000;
  QString lowText, highText;
  switch (tUnits_) {
    case tuC:
      low = 0;
      high = 3000;
      lowText = QStringLiteral("The lowest temperature limit is 0C degrees");
      highText = QStringLiteral("The highest temperature limit is 3000C degrees");
      break;
    case tuF:
      low = 32;
      high = 5432;
      lowText = QStringLiteral("The lowest temperature limit is 32F degrees");
      highText = QStringLiteral("The highest temperature limit is 5432F degrees");
      break;
    case tuK:
      low = 273.15;
      high = 3273.15;
      lowText = QStringLiteral("The lowest temperature limit is 273.15K degrees");
      highText = QStringLiteral("The highest temperature limit is 3273.15K degrees");
      break;
  }
  if (x < low) {
    x = low;
    ShowMessage(lowText);
  }
  if (x > high) {
    x = high;
    ShowMessage(highText);
  }
  return x;
}

// Non-finite limits (NaN, infinities) can only come from a host's faulty
// data, never from a user's typing; they are refused silently and nothing
// changes, because NaN would slip past every comparison below.
void TBinaplot::SetLowTLimit(double Value) {
  if (!std::isfinite(Value)) return;
  if (Value > highTLimit_ - MinTSpan) {
    ShowMessage(QStringLiteral("Low temperature limit must be lower then high one:") +
                FloatToStr(Value) + QStringLiteral(" not < ") + FloatToStr(highTLimit_));
    return;
  }
  if (Value == lowTLimit_) return;
  lowTLimit_ = ClampTemperature(Value);
  if (!zooming_) savedLowTLimit_ = lowTLimit_;
  Invalidate();
}

void TBinaplot::SetHighTLimit(double Value) {
  if (!std::isfinite(Value)) return;
  if (Value < lowTLimit_ + MinTSpan) {
    ShowMessage(QStringLiteral("High temperature limit must be higher then low one:") +
                FloatToStr(Value) + QStringLiteral(" not > ") + FloatToStr(lowTLimit_));
    return;
  }
  if (Value == highTLimit_) return;
  highTLimit_ = ClampTemperature(Value);
  if (!zooming_) savedHighTLimit_ = highTLimit_;
  Invalidate();
}

void TBinaplot::StoreTLimits(double Low, double High) {
  if (Low == lowTLimit_ && High == highTLimit_) return;
  lowTLimit_ = Low;
  highTLimit_ = High;
  if (!zooming_) {
    savedLowTLimit_ = Low;
    savedHighTLimit_ = High;
  }
  Invalidate();
}

double TBinaplot::ConvertTemperature(double t, TTUnits from, TTUnits to) {
  if (from == to) return t;
  if (from == tuC) return to == tuF ? t * 1.8 + 32 : t + 273.15;
  if (from == tuF) return to == tuC ? (t - 32) / 1.8 : (t - 32) / 1.8 + 273.15;
  return to == tuC ? t - 273.15 : (t - 273.15) * 1.8 + 32;  // from kelvin
}

// Ignored while zoomed: the saved window and the zoom window would stay in
// the old unit and the zoom-out would restore them as values of the new one.
void TBinaplot::SetTUnits(TTUnits Value) {
  if (Value == tUnits_ || zooming_) return;
  const TTUnits from = tUnits_;
  tUnits_ = Value;

  // The window converts without a message: the user's window was valid, so
  // the converted one is made valid too. Limits converted to Celsius are
  // whole degrees; the range ends are met up to the conversion's rounding;
  // and where the conversion shrinks the span below the minimum (Fahrenheit
  // to Celsius divides it by 1.8), the window widens at its high end, or at
  // its low end against the top of the range.
  auto limit = [&](double t) {
    const double v = ConvertTemperature(t, from, Value);
    return Value == tuC ? std::nearbyint(v) : v;
  };
  const TTRange range = UnitRange(Value);
  double low = std::clamp(limit(lowTLimit_), range.Low, range.High);
  double high = std::clamp(limit(highTLimit_), range.Low, range.High);
  if (!(high - low >= MinTSpan)) {
    high = low + MinTSpan;
    if (high > range.High) {
      high = range.High;
      low = high - MinTSpan;
    }
  }
  StoreTLimits(low, high);

  // Curve points (separators keep their temperature) and the areas in use.
  for (int i = 0; i <= lastIndex_ && i < int(curveC_.size()); ++i)
    if (curveC_[i] >= 0 && curveC_[i] <= 100)
      curveT_[i] = ConvertTemperature(curveT_[i], from, Value);
  for (int i = 0; i < AreasInUse(); ++i)
    areaList_[i].T = float(ConvertTemperature(areaList_[i].T, from, Value));

  Invalidate();
}

void TBinaplot::SetSplinesData(const TSplinesData& Data) {
  // A last index past the points handed over is cut back to the last point
  // given, so nothing is read past the array. No points at all leave one
  // separator, an empty curve set.
  const int given = int(Data.Points.size());
  lastIndex_ = given == 0 ? 0 : std::min<int>(Data.LastIndex, given - 1);
  curveC_.resize(lastIndex_ + 2, 0.0);
  curveT_.resize(lastIndex_ + 2, 0.0);
  if (given == 0) {
    curveC_[0] = -1;
    curveT_[0] = -1;
  }
  for (int i = 0; i < given && i <= lastIndex_; ++i) {
    curveC_[i] = Data.Points[i].C;
    curveT_[i] = Data.Points[i].T;
  }
  Invalidate();
}

void TBinaplot::SetCurvePoints(const std::vector<double>& C, const std::vector<double>& T) {
  const int given = int(std::min(C.size(), T.size()));
  lastIndex_ = given == 0 ? 0 : given - 1;
  curveC_.assign(C.begin(), C.begin() + given);
  curveT_.assign(T.begin(), T.begin() + given);
  curveC_.resize(lastIndex_ + 2, 0.0);
  curveT_.resize(lastIndex_ + 2, 0.0);
  if (given == 0) {
    curveC_[0] = -1;
    curveT_[0] = -1;
  }
  Invalidate();
}
