#pragma once
// What both diagram controls use alike: the area colours and how an area is
// recognised by them, the off-screen bitmap, numbers as the diagrams write
// them, the boxed panels with their drop shadows, the name balloon and the
// walk that cuts boundary curves into spline pieces.
#include <QString>
#include <array>
#include <functional>

#include "diagram/phasekit.h"
#include "diagram/spl.h"
#include "platform/control.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/color.h"

class QImage;
class QPrinter;
class TVectorPicture;

// The 16 fixed area fill colours shared by both controls; entry i belongs to
// area i.
extern const std::array<TColor, 16> AreaColors;

constexpr int MaxAreas = 16;
constexpr int MaxIdentifierLength = 25;

// Pixel coordinates are rounded to nearest, halves to even; values that are
// not finite or do not fit an int become 0 rather than undefined behaviour.
int RoundPixel(double v);

// The general floating-point text form of a number: the shortest text that
// reads back to the same double ("950", "273.15"), with the user's decimal
// separator.
QString FloatToStr(double Value);

// A number as the diagrams write it: fixed decimals ("%.2f") with the user's
// decimal separator, no digit grouping, exact halves rounded to even.
QString FormatFixed(double Value, int Decimals);

// The identifier a new area record carries: "Identifier for Area1" ... 16.
QString DefaultAreaIdentifier(int Index);

// A control's table of phase areas: always exactly 16 records, of which the
// first Areas are in use. Records are read and written in place. An index
// past the table reads an empty record and writes nothing.
template <class TArea>
class TAreaTable {
 public:
  TAreaTable() {
    for (int i = 0; i < MaxAreas; ++i) items_[i].Identifier = DefaultAreaIdentifier(i);
  }
  int Count() const { return MaxAreas; }
  TArea Get(int i) const { return Valid(i) ? items_[i] : TArea{}; }
  void Put(int i, const TArea& area) {
    if (!Valid(i)) return;
    items_[i] = area;
    // The identifier is a short string: what does not fit is cut off.
    items_[i].Identifier.truncate(MaxIdentifierLength);
  }
  // In-range access for the control's own code; out of range yields a
  // scratch record that belongs to no area.
  TArea& operator[](int i) {
    if (Valid(i)) return items_[i];
    scratch_ = TArea{};
    return scratch_;
  }
  const TArea& operator[](int i) const { return Valid(i) ? items_[i] : scratch_; }

 private:
  static bool Valid(int i) { return i >= 0 && i < MaxAreas; }
  std::array<TArea, MaxAreas> items_;
  TArea scratch_;
};

// The colours sampled along the sides of a zoom window at zoom-in: they
// fill the areas cut by the window whose own seed lies outside it. At most
// 12 per side.
template <class TSeed>
struct TSeedList {
  static constexpr int MaxSeeds = 12;
  std::array<TSeed, MaxSeeds> Items;
  int Count = 0;
};

// The off-screen bitmap of both controls.
class TBltBitmap : public TBitmap {
 public:
  // Takes the size of Bitmap and fills itself with clWindowFrame.
  void MakeLike(const TBitmap& Bitmap);
};

// --- Areas by colour ---------------------------------------------------------

// Index of the last of the first Areas areas painted in colour c, or -1.
// Colours that are no pixel colour (clInvalid) never match.
int AreaOfColor(TColor c, int Areas);

// What the pixels around a rejected one show: the first usable colour along
// each of the four diagonals (-1,+1), (+1,+1), (-1,-1), (+1,-1) within two
// pixels. Two different colours mean the point lies on a division between
// areas; one colour is the area the point belongs to.
struct TDiagonalProbe {
  bool Division = false;
  bool Found = false;
  TColor Color = clBlack;
};
TDiagonalProbe ProbeDiagonals(const TCanvas& Canvas, int X, int Y,
                              const std::function<bool(TColor)>& Usable);

// --- Panels ------------------------------------------------------------------

// A white box with a black pen outline and two black shadow rectangles; the
// brush is white again afterwards.
void DrawShadowBox(TCanvas& Canvas, const TRect& Box, const TRect& RightShadow,
                   const TRect& BottomShadow);

// The yellow name balloon with its red pointer at (X, Y), opening to the
// left when OpensLeft; drawn in Arial 8.
void DrawNameBalloon(TCanvas& Canvas, int X, int Y, const QString& Text, bool OpensLeft);

// --- Curves ------------------------------------------------------------------

// Receives the pieces of a boundary curve: at most MaxSplineKnots points in
// x[1..n], y[1..n] (screen pixels), n >= 2. The receiver may reorder them.
using TCurvePieceSink = std::function<void(int n, TSplineKnots& x, TSplineKnots& y)>;

// Collects the points of one curve run and hands them on in pieces: a run
// longer than one spline holds is drawn as consecutive pieces of at most 10
// points that share their end points.
class TCurveRun {
 public:
  explicit TCurveRun(TCurvePieceSink Sink) : sink_(std::move(Sink)) {}
  void Add(double x, double y);
  // Ends the run: draws what is left (a single point draws nothing).
  void End();

 private:
  TCurvePieceSink sink_;
  TSplineKnots x_{}, y_{};
  int n_ = 0;
};

// Visits a piece of n knots smoothed by the cubic spline with Samples
// interpolated points per interval (Smooth true), or, when the spline
// refuses the knots, the knots rounded to whole pixels (Smooth false).
// First marks the piece's first point.
using TCurveVisitor = std::function<void(double x, double y, bool First, bool Smooth)>;
void VisitSplinePiece(int n, TSplineKnots& x, TSplineKnots& y, int Samples,
                      const TCurveVisitor& Visit);

// --- The controls' common base ----------------------------------------------

// What every phase-diagram control has, whatever it draws: the paper, the
// curve and fill switches, the areas in use, the panels beside the picture,
// marking with its two points, the zoom permission and the three events.
// Setters compare, store and repaint; AllowZoom is refused while zoomed.
class TPhasePlot : public TCustomControl, public TSubstanceOwner {
  Q_OBJECT
 public:
  explicit TPhasePlot(QWidget* AOwner = nullptr);
  ~TPhasePlot() override;

  bool Border() const { return border_; }
  void SetBorder(bool Value);
  TColor PaperColor() const { return paperColor_; }
  void SetPaperColor(TColor Value);
  bool DrawSplines() const { return drawSplines_; }
  void SetDrawSplines(bool Value);
  bool DrawAreas() const { return drawAreas_; }
  void SetDrawAreas(bool Value);
  // 0..16; compared before the correction, so 20 over a stored 16 repaints.
  int Areas() const { return areas_; }
  void SetAreas(int Value);
  bool AllowZoom() const { return allowZoom_; }
  void SetAllowZoom(bool Value);
  bool CoPhasesTable() const { return coPhasesTable_; }
  void SetCoPhasesTable(bool Value);
  bool Legend() const { return legend_; }
  void SetLegend(bool Value);
  bool MarkMode() const { return markMode_; }
  void SetMarkMode(bool Value);
  // Only consulted by the next mouse move: no repaint.
  bool MouseGrid() const { return mouseGrid_; }
  void SetMouseGrid(bool Value) { mouseGrid_ = Value; }
  const QString& Title() const { return title_; }
  void SetTitle(const QString& Value);
  bool ValuesTable() const { return valuesTable_; }
  void SetValuesTable(bool Value);

  TNotifyEvent OnMarkPoint() const { return onMarkPoint_; }
  void SetOnMarkPoint(TNotifyEvent Value) { onMarkPoint_ = std::move(Value); }
  TNotifyEvent OnZoomIn() const { return onZoomIn_; }
  void SetOnZoomIn(TNotifyEvent Value) { onZoomIn_ = std::move(Value); }
  TNotifyEvent OnZoomOut() const { return onZoomOut_; }
  void SetOnZoomOut(TNotifyEvent Value) { onZoomOut_ = std::move(Value); }

  TFullDataPoint& MarkedPoint() { return markedPoint_; }
  TFullDataPoint& CursorPoint() { return cursorPoint_; }
  const TFullDataPoint& MarkedPoint() const { return markedPoint_; }
  const TFullDataPoint& CursorPoint() const { return cursorPoint_; }
  bool BalloonShown() const { return balloonShown_; }
  bool Painted() const { return painted_; }

  // The picture shows a zoom window.
  virtual bool IsZoomed() const = 0;
  // Drops the cursor's read-out, so that the tables show nothing of the
  // cursor until the next move reads it again: after a change of units or
  // orientation, or when the host loads another system.
  virtual void ForgetCursorReadout() = 0;

  // --- Vector output (plotkit_output.cpp) -----------------------------------
  // Records the picture the screen shows at Width x Height (the diagram, its
  // legend and the read-out tables) as vectors, drawn by the screen paint's
  // own steps; the fill outlines are traced at Picture's trace scale. The
  // control keeps its screen layout (it repaints when the size differs).
  // With Pixels, the bitmap drawn (the screen's pixels) is kept there.
  void RecordPicture(TVectorPicture& Picture, int Width, int Height, TBitmap* Pixels = nullptr);
  // The diagram's data as comma-separated values with a header row and '.'
  // as the decimal point whatever the locale.
  virtual QByteArray DataCsv() const = 0;
  bool KeepsDisplayNames() const override { return IsZoomed(); }
  void SubstanceRenamed() override { Invalidate(); }

 protected:
  virtual void DoMarkPoint();
  virtual void DoZoomIn();
  virtual void DoZoomOut();
  // Stores a changed value and repaints; an unchanged one does nothing.
  template <class T>
  void Change(T& Field, const T& Value) {
    if (Value == Field) return;
    Field = Value;
    Invalidate();
  }
  // A move removes the name balloon at once, so that the pixels it reads
  // show the diagram and not the label.
  void RemoveBalloon() {
    if (!balloonShown_) return;
    balloonShown_ = false;
    Repaint();
  }
  // Lays out for Width x Height and draws everything the screen shows there
  // onto Canvas (of that size), tables included.
  virtual void DrawScreenPicture(TCanvas& Canvas, int Width, int Height) = 0;
  // Prints the picture Render draws (at a size of its own) with Footer on
  // one page as vectors, then repaints with the screen layout; false when
  // the job failed (the user has been told).
  bool PrintRendered(QPrinter& Printer, const std::function<void(TBitmap&)>& Render,
                     const QString& Footer);
  // Fills the picture with the paper (inside a one-pixel black rim with
  // Border) and leaves the pen for the outline: black, 2 wide, on white.
  void DrawPaperBackground(TCanvas& Canvas) const;
  // The areas in use, clamped to the table.
  int AreasInUse() const { return areas_ < 0 ? 0 : areas_ > MaxAreas ? MaxAreas : areas_; }
  // Composes a picture off screen (Frame and Buffer, kept between paints)
  // with Compose and puts it on the surface in one copy.
  void PaintOffScreen(TBitmap& Frame, TBltBitmap& Buffer,
                      const std::function<void(TCanvas&)>& Compose);

  bool allowZoom_ = true;
  bool coPhasesTable_ = true;
  bool legend_ = true;
  bool markMode_ = false;
  bool mouseGrid_ = false;
  QString title_;
  bool valuesTable_ = true;
  TFullDataPoint markedPoint_;
  TFullDataPoint cursorPoint_;
  bool balloonShown_ = false;
  bool painted_ = false;

 private:
  bool border_ = true;
  TColor paperColor_ = clBtnFace;
  bool drawSplines_ = false;
  bool drawAreas_ = false;
  int areas_ = 0;
  TNotifyEvent onMarkPoint_;
  TNotifyEvent onZoomIn_;
  TNotifyEvent onZoomOut_;
};

// --- Output --------------------------------------------------------------------

// The year the printouts name, the same as the program's copyright.
constexpr int CopyrightYear = 2026;
// The footer of a printed diagram: "Printed by Ternagram component" and
// "phasediagrams project, 2026" on two lines.
QString PrintFooter(const QString& Component);

// Prints Picture as vectors at the printer's resolution: fitted inside the
// page's margins (turned to landscape when the picture is wider than tall)
// with Footer (Arial 8) under it, as one page; false after telling the user
// when the job cannot be started or finished.
bool PrintVectorPage(QPrinter& Printer, const TVectorPicture& Picture, const QString& Footer);

// A number for a data file: the shortest text that reads back to the same
// double, '.' as the decimal point whatever the locale; empty for NaN.
QString CsvNumber(double Value);
// A text field for a data file, quoted when it holds a comma, a quote or a
// line break.
QString CsvText(const QString& Value);

// Runs Print on the default printer, or tells the user that no printer is
// installed.
void PrintOnDefaultPrinter(const std::function<void(QPrinter& Printer)>& Print);

// A failed save: "Cannot save the diagram to FileName: Reason", into Error
// when the caller asks for it, else told to the user.
void ReportSaveFailure(const QString& FileName, const QString& Reason, QString* Error);
