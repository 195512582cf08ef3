// Pieces shared by the binary and the ternary diagram controls.
#include "diagram/plotkit.h"

#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPageLayout>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/messages.h"
#include "platform/vectorpicture.h"

const std::array<TColor, 16> AreaColors = {
    0xFFFFE0, 0xFFE0E0, 0xE0E0FF, 0xD8FFD8, 0xD0D0E8, 0xD0FFFF, 0xFFFFB0, 0xFFC0C0,
    0xC0C0FF, 0xB0FFB0, 0xA8A8D0, 0xA8FFFF, 0xFFFF48, 0xFFA0A0, 0xA8A8FF, 0x78FF78};

// --- Numbers -------------------------------------------------------------------

int RoundPixel(double v) {
  return std::isfinite(v) && std::fabs(v) < 1e9 ? int(std::nearbyint(v)) : 0;
}

namespace {

QString WithUserDecimalPoint(const char* text, const char* end) {
  QString s = QString::fromLatin1(text, int(end - text));
  const QString point = QLocale().decimalPoint();
  if (point != QLatin1String(".")) s.replace(QLatin1Char('.'), point);
  return s;
}

}  // namespace

QString FloatToStr(double Value) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, Value);
  return WithUserDecimalPoint(buf, res.ptr);
}

QString FormatFixed(double Value, int Decimals) {
  // std::to_chars rounds exact halves to even, as every number here is
  // rounded; QLocale would round them away from zero.
  char text[400];  // room for the largest double in full
  const auto end = std::to_chars(text, text + sizeof text, Value, std::chars_format::fixed,
                                 std::clamp(Decimals, 0, 20));
  return WithUserDecimalPoint(text, end.ptr);
}

QString DefaultAreaIdentifier(int Index) {
  return QStringLiteral("Identifier for Area") + QString::number(Index + 1);
}

// --- Bitmap --------------------------------------------------------------------

void TBltBitmap::MakeLike(const TBitmap& Bitmap) {
  if (Width() != Bitmap.Width() || Height() != Bitmap.Height())
    SetSize(Bitmap.Width(), Bitmap.Height());
  Canvas()->Brush.Color = clWindowFrame;
  Canvas()->Brush.Style = bsSolid;
  Canvas()->FillRect(TRect{0, 0, Width(), Height()});
}

// --- Areas by colour -----------------------------------------------------------

int AreaOfColor(TColor c, int Areas) {
  int found = -1;
  const int n = std::clamp(Areas, 0, MaxAreas);
  for (int i = 0; i < n; ++i)
    if (c == NearestColor(AreaColors[i])) found = i;
  return found;
}

TDiagonalProbe ProbeDiagonals(const TCanvas& Canvas, int X, int Y,
                              const std::function<bool(TColor)>& Usable) {
  static constexpr int dirs[4][2] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
  TDiagonalProbe probe;
  for (const auto& d : dirs) {
    for (int i = 1; i <= 2; ++i) {
      const TColor p = Canvas.Pixel(X + d[0] * i, Y + d[1] * i);
      if (!Usable(p)) continue;
      if (!probe.Found) {
        probe.Found = true;
        probe.Color = p;
      } else if (p != probe.Color) {
        probe.Division = true;
      }
      break;
    }
  }
  return probe;
}

// --- Panels --------------------------------------------------------------------

void DrawShadowBox(TCanvas& Canvas, const TRect& Box, const TRect& RightShadow,
                   const TRect& BottomShadow) {
  Canvas.Brush.Style = bsSolid;
  Canvas.Brush.Color = clWhite;
  Canvas.Rectangle(Box);
  Canvas.Brush.Color = clBlack;
  Canvas.Rectangle(RightShadow);
  Canvas.Rectangle(BottomShadow);
  Canvas.Brush.Color = clWhite;
}

void DrawNameBalloon(TCanvas& Canvas, int X, int Y, const QString& Text, bool OpensLeft) {
  TCanvas& c = Canvas;
  c.Font.Name = QStringLiteral("Arial");
  c.Font.Color = clBlack;
  c.Font.Size = 8;
  c.Font.Style = 0;
  int bw = c.TextWidth(Text) + 6;
  const int bh = c.TextHeight(Text) + 4;
  c.Pen.Color = clBlack;
  c.Pen.Width = 1;
  c.Pen.Mode = pmCopy;
  c.Brush.Color = clInfoBk;
  c.Brush.Style = bsSolid;
  if (OpensLeft) bw = -bw;
  c.Polygon({{X, Y - 1}, {X + bw, Y - 1}, {X + bw, Y - bh - 1}, {X, Y - bh - 1}});
  c.TextOut(bw > 0 ? X + 4 : X + bw + 4, Y - bh + 1, Text);
  c.Brush.Color = clRed;
  const int tip = bw > 0 ? 6 : -6;
  c.Polygon({{X, Y - 1}, {X, Y - 7}, {X + tip, Y - 1}});
  c.Brush.Color = clWhite;
}

// --- Curves --------------------------------------------------------------------

void TCurveRun::Add(double x, double y) {
  if (n_ == MaxSplineKnots) {
    const double lx = x_[n_], ly = y_[n_];  // before the spline reorders them
    sink_(n_, x_, y_);
    x_[1] = lx;
    y_[1] = ly;
    n_ = 1;
  }
  ++n_;
  x_[n_] = x;
  y_[n_] = y;
}

void TCurveRun::End() {
  if (n_ > 1) sink_(n_, x_, y_);
  n_ = 0;
}

void VisitSplinePiece(int n, TSplineKnots& x, TSplineKnots& y, int Samples,
                      const TCurveVisitor& Visit) {
  n = std::clamp(n, 0, MaxSplineKnots);
  Samples = std::clamp(Samples, 1, MaxSplineSamples / MaxSplineKnots);
  TSplineSamples xq{}, yq{};
  for (int k = 2; k <= n; ++k)
    for (int j = 1; j <= Samples; ++j)
      xq[Samples * (k - 1) + j] = x[k - 1] + (x[k] - x[k - 1]) * j / (Samples + 1);
  SplineError err = 0;
  CubicSpline(n, x, y, Samples * n, xq, yq, err);
  if (err == 0) {
    Visit(x[1], y[1], true, true);
    for (int k = 2; k <= n; ++k) {
      for (int j = 1; j <= Samples; ++j) {
        const int q = Samples * (k - 1) + j;
        Visit(xq[q], yq[q], false, true);
      }
      Visit(x[k], y[k], false, true);
    }
    return;
  }
  for (int k = 1; k <= n; ++k) Visit(std::nearbyint(x[k]), std::nearbyint(y[k]), k == 1, false);
}

// --- TPhasePlot ----------------------------------------------------------------

TPhasePlot::TPhasePlot(QWidget* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csFramed | csOpaque);
  markedPoint_.Owner = this;
  cursorPoint_.Owner = this;
}

TPhasePlot::~TPhasePlot() {
  onMarkPoint_ = nullptr;
  onZoomIn_ = nullptr;
  onZoomOut_ = nullptr;
}


void TPhasePlot::SetBorder(bool Value) { Change(border_, Value); }
void TPhasePlot::SetPaperColor(TColor Value) { Change(paperColor_, Value); }
void TPhasePlot::SetDrawSplines(bool Value) { Change(drawSplines_, Value); }
void TPhasePlot::SetDrawAreas(bool Value) { Change(drawAreas_, Value); }
void TPhasePlot::SetCoPhasesTable(bool Value) { Change(coPhasesTable_, Value); }
void TPhasePlot::SetLegend(bool Value) { Change(legend_, Value); }
void TPhasePlot::SetTitle(const QString& Value) { Change(title_, Value); }
void TPhasePlot::SetValuesTable(bool Value) { Change(valuesTable_, Value); }

void TPhasePlot::SetAreas(int Value) {
  if (Value == areas_) return;
  areas_ = std::clamp(Value, 0, MaxAreas);
  Invalidate();
}

void TPhasePlot::SetAllowZoom(bool Value) {
  if (Value == allowZoom_) return;
  if (IsZoomed()) {
    ShowMessage(QStringLiteral("That property can not be changed while zooming."));
    return;
  }
  allowZoom_ = Value;  // only consulted by the mouse: no repaint
}

void TPhasePlot::SetMarkMode(bool Value) {
  if (Value == markMode_) return;
  markMode_ = Value;
  if (!markMode_) markedPoint_.Visible = false;
  Invalidate();
}

void TPhasePlot::DoMarkPoint() {
  if (onMarkPoint_) onMarkPoint_(this);
}

void TPhasePlot::DoZoomIn() {
  if (onZoomIn_) onZoomIn_(this);
}

void TPhasePlot::DoZoomOut() {
  if (onZoomOut_) onZoomOut_(this);
}

void TPhasePlot::PaintOffScreen(TBitmap& Frame, TBltBitmap& Buffer,
                                const std::function<void(TCanvas&)>& Compose) {
  // A control that was never shown may not have had its resize delivered.
  if (Surface().Width() != Width() || Surface().Height() != Height())
    Surface().SetSize(Width(), Height());
  const TRect whole{0, 0, Width(), Height()};
  if (Frame.Width() != Width() || Frame.Height() != Height()) Frame.SetSize(Width(), Height());
  TCanvas& fc = *Frame.Canvas();
  fc.CopyMode = BLACKNESS;
  fc.CopyRect(whole, fc, whole);
  fc.CopyMode = SRCCOPY;

  Buffer.MakeLike(Frame);
  TCanvas& bc = *Buffer.Canvas();
  bc.CopyMode = BLACKNESS;
  bc.CopyRect(whole, bc, whole);
  bc.CopyMode = SRCCOPY;

  Compose(bc);

  // Onto black, an exclusive-or copy reproduces the picture.
  fc.CopyMode = SRCINVERT;
  fc.CopyRect(whole, bc, whole);
  fc.CopyMode = SRCCOPY;
  TCanvas& screen = *Canvas();
  screen.CopyMode = SRCCOPY;
  screen.CopyRect(whole, fc, whole);
}

void TPhasePlot::DrawPaperBackground(TCanvas& Canvas) const {
  TRect client{0, 0, Canvas.Width(), Canvas.Height()};
  if (Border()) client = TRect{1, 1, client.Right - 1, client.Bottom - 1};
  Canvas.Brush.Style = bsSolid;
  Canvas.Brush.Color = PaperColor();
  Canvas.FillRect(client);
  Canvas.Pen.Color = clBlack;
  Canvas.Pen.Width = 2;
  Canvas.Pen.Mode = pmCopy;
  Canvas.Brush.Color = clWhite;
}

// --- Output --------------------------------------------------------------------

QString PrintFooter(const QString& Component) {
  return QStringLiteral("Printed by %1 component\nphasediagrams project, %2").arg(Component).arg(CopyrightYear);
}

void PrintOnDefaultPrinter(const std::function<void(QPrinter& Printer)>& Print) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    ShowMessage(QStringLiteral("No printer is installed."));
    return;
  }
  QPrinter printer(info, QPrinter::HighResolution);
  Print(printer);
}

void ReportSaveFailure(const QString& FileName, const QString& Reason, QString* Error) {
  const QString text = QStringLiteral("Cannot save the diagram to %1: %2").arg(FileName, Reason);
  if (Error)
    *Error = text;
  else
    ShowMessage(text);
}

bool TPhasePlot::PrintRendered(QPrinter& Printer, const std::function<void(TBitmap&)>& Render,
                               const QString& Footer) {
  bool ok = false;
  {
    // The picture is drawn as on paper and recorded as it is drawn; the
    // fills are traced finely enough for the page's largest scale.
    TBitmap bitmap;
    TVectorPicture picture;
    const QSizeF page = Printer.pageLayout().fullRect(QPageLayout::Point).size();
    picture.SetTraceScale(TVectorPicture::TraceScaleFor(std::max(page.width(), page.height()) / 600));
    bitmap.Canvas()->Recorder = &picture;
    Render(bitmap);
    bitmap.Canvas()->Recorder = nullptr;
    picture.SetSize(bitmap.Width(), bitmap.Height());
    ok = PrintVectorPage(Printer, picture, Footer);
  }
  Repaint();  // back to the screen layout
  return ok;
}
