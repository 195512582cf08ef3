#pragma once
// TTernagram: the ternary phase-diagram control. Three substances at the
// corners of an equilateral triangle: A bottom left, B at the apex, C bottom
// right, with the phase-boundary curves, the areas filled in their colours,
// the points of known temperature, isotherms traced from the liquidus
// surface those points span, a grid with scales, a legend and two read-out
// tables.
//
// The unit is split over several files sharing this header:
//   ternagram.cpp             construction, properties, events, TIsotherm
//   ternagram_paint.cpp       layout, paint pipeline, curves, fill, T-points
//   ternagram_labels.cpp      grid, scales, texts and legend
//   ternagram_mouse.cpp       cursor read-out, tables and marking
//   ternagram_temperature.cpp liquidus temperature of an area's point
//   ternagram_isotherms.cpp   isotherm tracing, chains and drawing
//   ternagram_zoom.cpp        zoom window, rubber band, clipping, edge seeds
//   ternagram_units.cpp       composition units and data orientation
//   ternagram_print.cpp       printing and export at a fixed picture size
//   ternagram_crystallization.cpp  the crystallization path of a melt
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "diagram/crystallization.h"
#include "diagram/phasekit.h"
#include "diagram/ternaplot.h"
#include "platform/bitmap.h"

class QPrinter;
class TTernagram;

namespace ternary {

// How the ternary control finds and draws its isotherms, and the ladder of
// isotherm temperatures it last computed.
class TIsotherm {
 public:
  TIsotherm() = default;
  virtual ~TIsotherm() = default;

  TColor Color() const { return color_; }
  virtual void SetColor(TColor Value);
  int Error() const { return error_; }
  virtual void SetError(int Value);
  TIsothermType GraphType() const { return graphType_; }
  virtual void SetGraphType(TIsothermType Value);
  TIsothermMethod Method() const { return method_; }
  virtual void SetMethod(TIsothermMethod Value);
  float MethodStep() const { return methodStep_; }
  virtual void SetMethodStep(float Value);
  bool Signed() const { return signed_; }
  virtual void SetSigned(bool Value);
  int SignStep() const { return signStep_; }
  virtual void SetSignStep(int Value);
  bool Simplified() const { return simplified_; }
  virtual void SetSimplified(bool Value);
  int SimplifiedTimes() const { return simplifiedTimes_; }
  virtual void SetSimplifiedTimes(int Value);
  bool Smoothed() const { return smoothed_; }
  virtual void SetSmoothed(bool Value);
  int SmoothedTimes() const { return smoothedTimes_; }
  virtual void SetSmoothedTimes(int Value);
  int Step() const { return step_; }
  virtual void SetStep(int Value);
  int Width() const { return width_; }
  virtual void SetWidth(int Value);

  // The control that owns these settings and repaints when they change.
  TTernagram* Diagram = nullptr;
  // The ladder and the chains in the owning control are computed and valid.
  bool Calculated = false;
  int LowIsotherm = 0;
  int HighIsotherm = 0;
  int IsothermCount = 0;

 private:
  // The last steps of every setter: forget the computation when the
  // setting decides it, and repaint the owner.
  void Changed(bool Recompute);

  TColor color_ = 0x008080;
  int error_ = 2;
  TIsothermType graphType_ = itPoints;
  TIsothermMethod method_ = imCornerConsecutive;
  float methodStep_ = 1.0f;
  bool signed_ = true;
  int signStep_ = 10;
  bool simplified_ = false;
  int simplifiedTimes_ = 1;
  bool smoothed_ = true;
  int smoothedTimes_ = 3;
  int step_ = 100;
  int width_ = 2;
};

}  // namespace ternary

// One point of an isotherm chain: the shares of A (X) and B (Y) in percent.
struct TIsoPoint {
  float X = 0;
  float Y = 0;
};

// The squared distance of two chain points (percent squared); squared
// distances compare as the distances do.
inline double Distance2(const TIsoPoint& a, const TIsoPoint& b) {
  const double dx = double(a.X) - b.X, dy = double(a.Y) - b.Y;
  return dx * dx + dy * dy;
}

// The isotherm chains are worked on by free functions so that they can be
// checked apart from any picture (ternagram_chains.cpp).
namespace ternary {
// Puts the first Count points into path order by a nearest-neighbour walk
// and returns the number of failed steps; the caller cuts that many points
// off the end.
int OrderChain(TIsoPoint* Points, int Count);
// One smoothing pass over the interior points.
void SmoothChain(TIsoPoint* Points, int Count);
// One thinning pass; returns the new count.
int SimplifyChain(TIsoPoint* Points, int Count);
// Runs Pass (SmoothChain's or SimplifyChain's work, returning the new count)
// on each stretch of the chain between breaks, where neighbours lie more
// than Join apart and the drawing does not join them, and closes up the
// stretches; returns the new count. A pass over the whole chain would pull
// the ends of two stretches towards each other: pieces of one isotherm in
// two fields, ordered one after the other, would then grow a line across
// the gap, along the side of the triangle they both reach.
int InStretches(TIsoPoint* Points, int Count, double Join, int (*Pass)(TIsoPoint*, int));
}  // namespace ternary

// The whole picture's layout: the triangle and the legend column.
struct TTernaLayout : TTriangleGeometry {
  int LegendWidth = 135;
};

// A colour sampled along one side of the zoom window and the composition
// it stands for.
struct TTernarySeed {
  TColor Color = 0;
  double A = 0;
  double B = 0;
  int Run = 0;
};

using TTernarySeeds = TSeedList<TTernarySeed>;

// One stage of a melt's crystallization (TTernagram::CrystallizationPath).
struct TCrystallizationStage {
  ternary::TCrystallizationKind Kind = ternary::ckStop;
  // Where the stage begins: the temperature in the current unit (NaN for
  // none) and the liquid, A and B in percent of the current basis.
  double T = 0;
  double A = 0;
  double B = 0;
  // The phases crystallizing ("Bi", "Bi + Sn", "Bi + Pb + Sn").
  QString Phases;
  // Percent of the whole that is solid where the stage begins, and how much
  // of it each phase of Phases makes up (same order).
  double SolidPercent = 0;
  std::vector<double> SharePercents;
  // Why the path ends here (ckStop only).
  ternary::TCrystallizationStop Stop = ternary::csNone;
  QString Reason;
  // The row of the "Crystallization" table.
  QString Text;
  // The way the liquid goes during the stage, from (A, B) on.
  std::vector<ternary::TCompositionPoint> Way;
};

class TTernagram : public TTernaplot {
  Q_OBJECT
 public:
  explicit TTernagram(QWidget* AOwner = nullptr);
  ~TTernagram() override;

  // Published properties.
  ternary::TTCalcMethod TCalcMethod() const { return tCalcMethod_; }
  void SetTCalcMethod(ternary::TTCalcMethod Value);
  int CoPhases() const { return coPhases_; }
  ternary::TCUnits CUnits() const { return cUnits_; }
  void SetCUnits(ternary::TCUnits Value);
  bool CursorOnArea() const { return cursorOnArea_; }
  ternary::TDataOrientation DataOrientation() const { return dataOrientation_; }
  void SetDataOrientation(ternary::TDataOrientation Value);
  bool DrawIsotherms() const { return drawIsotherms_; }
  void SetDrawIsotherms(bool Value);
  ternary::TIsotherm* Isotherms() { return isotherms_.get(); }
  const ternary::TIsotherm* Isotherms() const { return isotherms_.get(); }
  // Assigns the settings of another object; the control keeps its own.
  void SetIsotherms(const ternary::TIsotherm* Value);
  int GridSteps() const { return gridSteps_; }
  void SetGridSteps(int Value);
  ternary::TGridType GridType() const { return gridType_; }
  void SetGridType(ternary::TGridType Value);
  int HotIsotherm() const { return hotIsotherm_; }
  void SetHotIsotherm(int Value);
  TColor HotIsothermColor() const { return hotIsothermColor_; }
  void SetHotIsothermColor(TColor Value);
  TSubstance* SubstanceA() { return &substances_[0]; }
  TSubstance* SubstanceB() { return &substances_[1]; }
  TSubstance* SubstanceC() { return &substances_[2]; }
  const TSubstance* SubstanceA() const { return &substances_[0]; }
  const TSubstance* SubstanceB() const { return &substances_[1]; }
  const TSubstance* SubstanceC() const { return &substances_[2]; }
  ternary::TTUnits TUnits() const { return tUnits_; }
  void SetTUnits(ternary::TTUnits Value);
  bool Zoom() const { return zoom_; }
  // Draw the crystallization path of the marked point and its table.
  bool DrawCrystallization() const { return drawCrystallization_; }
  void SetDrawCrystallization(bool Value);

  TNotifyEvent OnIsothermCalcStep() const { return onIsothermCalcStep_; }
  void SetOnIsothermCalcStep(TNotifyEvent Value) { onIsothermCalcStep_ = std::move(Value); }

  bool IsZoomed() const override { return zoom_; }
  void ForgetCursorReadout() override;

  // Public state.
  const QString& AxisCaption() const { return axisCaption_; }
  int HotArea() const { return hotArea_; }
  bool DivisionPoint() const { return divisionPoint_; }
  void SetDivisionPoint(bool Value);
  const QString& DivisionText() const { return divisionText_; }
  bool ZoomDragging() const { return zoomDragging_; }
  bool MouseGridShown() const { return mouseGridShown_; }
  int TriLeft() const { return layout_.TriLeft; }
  int TriTop() const { return layout_.TriTop; }
  int TriSide() const { return layout_.TriSide; }
  int TriHeight() const { return layout_.TriHeight; }
  int LegendWidth() const { return layout_.LegendWidth; }
  const TTernaLayout& Layout() const { return layout_; }
  // Measures beyond 2^24 pixels are held there.
  void SetLayout(const TTernaLayout& Value);

  // The isotherm chains: one per isotherm, the hot isotherm last.
  const std::vector<std::vector<TIsoPoint>>& IsoPoints() const { return isoPoints_; }
  const std::vector<int>& IsoPointCounts() const { return isoPointCounts_; }
  const std::vector<int>& IsoGapCounts() const { return isoGapCounts_; }

  // Liquidus temperature (degrees Celsius, not rounded) at A, B percent in
  // an area, estimated from its T-points; NaN means no temperature (an area
  // index outside the areas in use, a surface that cannot be fitted).
  double AltitudeTemperature(int Area, double A, double B) const;
  double PolynomialTemperature(int Area, double A, double B) const;
  // The Clough–Tocher surface on the Delaunay triangulation of the T-points;
  // NaN for an area with fewer than three T-points or all on one line.
  double TriangulationTemperature(int Area, double A, double B) const;
  // By TCalcMethod: NaN with tcThermodynamic, which has no model.
  double AreaTemperature(int Area, double A, double B) const;

  // How a melt of A, B (percent of the current basis) crystallizes under
  // equilibrium cooling, from the areas' primary phases, the boundary
  // curves and the liquidus estimate of TCalcMethod; the last stage is the
  // eutectic or says why the construction stops.
  std::vector<TCrystallizationStage> CrystallizationPath(double A, double B) const;
  // The area at A, B (percent), found by colour as the read-out finds it
  // but on an unzoomed picture of the curves and fills alone: its index, -1
  // for none, -2 on a boundary between areas.
  int AreaAt(double A, double B) const;
  // Marks A, B (percent) as a right click there does, with the area and
  // the liquidus temperature found there, and raises OnMarkPoint; nothing
  // without MarkMode or while zoomed.
  void MarkPoint(double A, double B);
  // The colour the path is drawn in; the read-out looks past it.
  static constexpr TColor CrystallizationColor = 0x800080;

  // The zoom window in percent (the whole triangle when not zoomed).
  const TTernaryWindow& ZoomWindow() const { return zoomWindow_; }
  const TTernarySeeds& BottomSeeds() const { return seeds_[0]; }
  const TTernarySeeds& LeftSeeds() const { return seeds_[1]; }
  const TTernarySeeds& RightSeeds() const { return seeds_[2]; }

  // --- Layout and drawing steps -------------------------------------------
  // Each step draws on the given canvas with the current layout, so the
  // screen paint and a picture for printing or export run the same code.
  void RunLayout(int Width, int Height);
  // The map of the whole triangle, and of what the picture shows (the zoom
  // window while zoomed).
  TTriangleMap TriangleMap() const;
  TTriangleMap ViewMap() const;
  // Renders the whole diagram into Bitmap, laid out for its size (no
  // tables); the control keeps its own layout.
  void RenderPicture(TBitmap& Bitmap);

  // --- Printing and export (ternagram_print.cpp) ---------------------------
  // The picture that is printed and saved has this size whatever the
  // control's: the whole diagram with its legend and, for a marked point,
  // the values table, on white paper.
  static constexpr int FixedPictureWidth = 800;
  static constexpr int FixedPictureHeight = 600;
  // Sizes Bitmap to the fixed size and renders into it; the control keeps
  // its own layout.
  void RenderFixedSize(TBitmap& Bitmap);
  // Print() uses the default printer (telling the user when there is none);
  // Print(Printer) is false, after telling the user, when the job failed.
  // Both print one page: the picture across the page's width and a footer.
  void Print();
  bool Print(QPrinter& Printer);
  // Writes the picture as a PNG file when the name ends in ".png" (in any
  // case), else as a Windows bitmap, never leaving a half-written file. On
  // failure the reason goes into Error when given, else to the user.
  bool SaveToFile(const QString& FileName, QString* Error = nullptr);
  // Rows "isotherm" (every point of every traced isotherm: its temperature
  // in the temperature unit, chain and point number, A, B, C in the
  // composition scale; a chain ends where the drawing lifts the pen) and
  // rows "tpoint" (every point of known temperature of every area in use,
  // the area's number and identifier) and, while the crystallization path
  // of a marked melt is drawn, rows "crystallization" (per stage: its
  // number, T where it begins in the temperature unit, the liquid's A, B, C
  // there, and the phases crystallizing or why the path stops).
  QByteArray DataCsv() const override;

  void DrawPaper(TCanvas& Canvas);
  void DrawCurves(TCanvas& Canvas);
  void FillAreas(TCanvas& Canvas);
  void DrawTPointCircles(TCanvas& Canvas);
  void DrawIsothermStep(TCanvas& Canvas);
  void DrawGrid(TCanvas& Canvas, TColor BrushColor);
  void DrawTexts(TCanvas& Canvas, TColor BrushColor);
  void DrawLegend(TCanvas& Canvas);
  void DrawValuesTable(TCanvas& Canvas);
  void DrawCoPhasesTable(TCanvas& Canvas);
  // The marked point's crystallization path and its table (on the picture).
  void DrawCrystallizationPath(TCanvas& Canvas);
  void DrawCrystallizationTable(TCanvas& Canvas);

  // The C scale's label i and its box, in the canvas's current font.
  QString CScaleLabel(int i) const;
  TRect CScaleLabelBox(TCanvas& Canvas, int i) const;

  // Font sizes that follow the triangle's side.
  int TitleFontSize() const;
  int CaptionFontSize() const;
  int PanelFontSize() const;

  // The isotherm ladder's temperature k (the hot isotherm last).
  int IsothermTemperature(int k) const;

 protected:
  void Paint() override;
  void DrawScreenPicture(TCanvas& Canvas, int Width, int Height) override;
  bool PaintRunsMessages() const override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  virtual void DoIsothermCalcStep();

 private:
  friend class ternary::TIsotherm;
  friend class TTernagramTestAccess;

  // Paint pieces.
  void ComposePicture(TCanvas& Canvas, TBitmap* PaperCache);
  // Paints Bitmap black and composes the picture on it with the current layout.
  void ComposeInto(TBitmap& Bitmap);
  // Isotherms (ternagram_isotherms.cpp).
  void ComputeIsotherms(TCanvas& Canvas);
  void DrawIsothermChains(TCanvas& Canvas);
  // Mouse pieces (ternagram_mouse.cpp).
  // Whether a pixel shows a field's colour, not a line drawn over the
  // fields (boundary, isotherm, hot isotherm, crystallization path).
  bool FieldPixel(TColor c) const;
  int LookupArea(const TCanvas& Canvas, int X, int Y, TColor c);
  double BoundaryTemperature(const TCanvas& Canvas, int X, int Y, double A, double B) const;
  void DrawGuideLines();
  void DrawBalloon(int X, int Y);
  // Zoom pieces (ternagram_zoom.cpp).
  void ComputeZoomImage();
  // The gestures: a left release after a drag zooms into the window the
  // band spans; a left press while zoomed leaves the zoom; a drag move
  // redraws the band up to X.
  void ZoomIn();
  void ZoomOut();
  void DrawRubberBand(int X);
  // Draws the band last drawn once more, which erases it.
  void EraseRubberBand();
  void TakeEdgeSeeds();
  void RenameCorners();
  // Clips the segment P-Q (unzoomed pixels) to the window's image and maps
  // the visible part, still running from P towards Q, to zoomed pixels.
  bool ClipSegment(double px, double py, double qx, double qy, TPoint& From, TPoint& To) const;
  // Units and orientation (ternagram_units.cpp): every stored composition.
  template <class F>
  void ForEachComposition(F&& Convert, bool SkipOutOfRange);

  ternary::TTCalcMethod tCalcMethod_ = ternary::tcAltitude;
  int coPhases_ = 0;
  ternary::TCUnits cUnits_ = ternary::cuMolPercents;
  bool cursorOnArea_ = false;
  ternary::TDataOrientation dataOrientation_ = ternary::doDirect;
  bool drawIsotherms_ = false;
  std::unique_ptr<ternary::TIsotherm> isotherms_;
  int gridSteps_ = 5;
  ternary::TGridType gridType_ = ternary::gtAllScales;
  int hotIsotherm_ = 0;
  TColor hotIsothermColor_ = 0xFF0000;
  std::array<TSubstance, 3> substances_;
  ternary::TTUnits tUnits_ = ternary::tuC;
  bool zoom_ = false;
  TNotifyEvent onIsothermCalcStep_;

  QString axisCaption_;
  int hotArea_ = -1;
  bool divisionPoint_ = false;
  QString divisionText_;
  TTernaLayout layout_;

  // Isotherm chains.
  std::vector<std::vector<TIsoPoint>> isoPoints_;
  std::vector<int> isoPointCounts_;
  std::vector<int> isoGapCounts_;
  bool computingIsotherms_ = false;
  bool paintPending_ = false;
  unsigned isoGeneration_ = 0;  // counts the scans started

  // Zoom window and its image in the unzoomed picture.
  TTernaryWindow zoomWindow_;
  double zxL_ = 0, zxR_ = 0, zxM_ = 0, zyA_ = 0, zyB_ = 0, zMag_ = 1;
  // Its sides as lines y = K x + B: left, right, bottom.
  struct TSideLine {
    double K = 0, B = 0;
  };
  std::array<TSideLine, 3> zSides_{};
  std::array<TTernarySeeds, 3> seeds_;

  // Mouse interaction state.
  bool zoomDragging_ = false;
  bool mouseGridShown_ = false;
  TColor hotColor_ = clBlack;
  TPoint dragStart_;
  int dragX_ = 0;
  std::array<TPoint, 3> band_{};
  std::array<TPoint, 4> guide_{};

  // The paint's off-screen pictures, kept between paints, and the paper
  // with the empty triangle for the size and layout it was drawn for.
  TBitmap paintFrame_;
  TBltBitmap paintBuffer_;
  struct TPaperKey {
    int Width = -1, Height = -1;
    TTernaLayout Layout;
    bool Border = false;
    TColor Paper = 0;
    bool operator==(const TPaperKey& o) const {
      return Width == o.Width && Height == o.Height && Layout.TriLeft == o.Layout.TriLeft &&
             Layout.TriTop == o.Layout.TriTop && Layout.TriSide == o.Layout.TriSide &&
             Layout.TriHeight == o.Layout.TriHeight && Border == o.Border && Paper == o.Paper;
    }
  };
  TBitmap paperCache_;
  TPaperKey paperKey_;

  // The crystallization path's map of the areas, kept while the curves and
  // seeds stay the same (ternagram_crystallization.cpp).
  bool drawCrystallization_ = false;
  struct TCrystallizationCache;
  mutable std::shared_ptr<TCrystallizationCache> crystallization_;
  TCrystallizationCache& CrystallizationMap() const;

  // Polynomial fits reused while an area's T-points stay the same.
  struct TFitCache;
  mutable std::shared_ptr<TFitCache> fits_;
};
