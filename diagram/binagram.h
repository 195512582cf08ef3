#pragma once
// TBinagram: the binary phase-diagram control. Temperature against the
// composition of a mixture of SubstanceA (composition 0) and SubstanceB
// (composition 100 in percent units, 1 in parts units); compositions are
// always amounts of SubstanceB.
//
// The unit is split over several files sharing this header:
//   binagram.cpp        construction, properties, events
//   binagram_units.cpp  composition window, units and orientation
//   binagram_paint.cpp  layout, paint pipeline, curves, area fill
//   binagram_axes.cpp   axes, scales, grid, titles
//   binagram_tables.cpp legend, values table, co-phases table
//   binagram_mouse.cpp  cursor read-out, zoom and marking
//   binagram_print.cpp  printing and bitmap export
#include <QString>
#include <array>
#include <memory>

#include "diagram/binaplot.h"
#include "diagram/phasekit.h"
#include "platform/bitmap.h"

class QPrinter;

// A colour sampled along one edge of the zoom window, and where along it.
struct TEdgeSeed {
  TColor Color = 0;
  double Position = 0;  // a composition (top, bottom) or a temperature (sides)
  int Run = 0;          // pixels of this colour in a row along the edge
};

using TEdgeSeeds = TSeedList<TEdgeSeed>;

// The layout of one picture: plot rectangle and legend column, in pixels.
struct TBinaLayout {
  int PlotLeft = 0;
  int PlotTop = 0;
  int PlotWidth = 260;
  int PlotHeight = 220;
  int LegendWidth = 0;
};

class TBinagram : public TBinaplot {
  Q_OBJECT
 public:
  explicit TBinagram(QWidget* AOwner = nullptr);
  ~TBinagram() override;

  // Published properties.
  int CAxisStep() const { return cAxisStep_; }
  void SetCAxisStep(int Value);
  binary::TCUnits CUnits() const { return cUnits_; }
  void SetCUnits(binary::TCUnits Value);
  bool CursorOnArea() const { return cursorOnArea_; }
  binary::TDataOrientation DataOrientation() const { return dataOrientation_; }
  void SetDataOrientation(binary::TDataOrientation Value);
  binary::TGridType GridType() const { return gridType_; }
  void SetGridType(binary::TGridType Value);
  double LowCLimit() const { return lowCLimit_; }
  void SetLowCLimit(double Value);
  double HighCLimit() const { return highCLimit_; }
  void SetHighCLimit(double Value);
  TSubstance* SubstanceA() { return &substanceA_; }
  TSubstance* SubstanceB() { return &substanceB_; }
  const TSubstance* SubstanceA() const { return &substanceA_; }
  const TSubstance* SubstanceB() const { return &substanceB_; }
  int TAxisStep() const { return tAxisStep_; }
  void SetTAxisStep(int Value);

  void SetTUnits(binary::TTUnits Value) override;

  bool IsZoomed() const override { return Zooming(); }
  void ForgetCursorReadout() override;

  // Public state.
  double CompositionScale() const { return compositionScale_; }
  const QString& CAxisCaption() const { return cAxisCaption_; }
  const QString& DivisionText() const { return divisionText_; }
  bool DivisionPoint() const { return divisionPoint_; }
  int HotArea() const { return hotArea_; }
  int PlotLeft() const { return layout_.PlotLeft; }
  int PlotTop() const { return layout_.PlotTop; }
  int PlotWidth() const { return layout_.PlotWidth; }
  int PlotHeight() const { return layout_.PlotHeight; }
  int LegendWidth() const { return layout_.LegendWidth; }
  const TBinaLayout& Layout() const { return layout_; }
  double SavedLowCLimit() const { return savedLowCLimit_; }
  double SavedHighCLimit() const { return savedHighCLimit_; }
  double ZoomLowCLimit() const { return zoomLowCLimit_; }
  double ZoomHighCLimit() const { return zoomHighCLimit_; }
  double ZoomLowTLimit() const { return zoomLowTLimit_; }
  double ZoomHighTLimit() const { return zoomHighTLimit_; }
  const TEdgeSeeds& TopSeeds() const { return topSeeds_; }
  const TEdgeSeeds& BottomSeeds() const { return bottomSeeds_; }
  const TEdgeSeeds& LeftSeeds() const { return leftSeeds_; }
  const TEdgeSeeds& RightSeeds() const { return rightSeeds_; }
  bool ZoomDragging() const { return zoomDragging_; }
  bool MouseGridShown() const { return mouseGridShown_; }

  // Printing and export with the fixed print layout; both repaint after.
  // Print() uses the default printer (telling the user when there is none);
  // Print(Printer) is false, after telling the user, when the job failed.
  void Print();
  bool Print(QPrinter& Printer);
  // Writes a Windows bitmap; false on failure, leaving any existing file
  // intact, with the reason in *Error or, without Error, in a message box.
  bool SaveToBitmap(const QString& FileName, bool Monochrome, QString* Error = nullptr);
  // The picture Print and SaveToBitmap send: rendered with the print layout.
  void RenderPrintBitmap(TBitmap& Bitmap);
  // Rows "curve" (every point of every curve run: run and point number, C in
  // the composition scale, T in the temperature unit) and, for a marked
  // point, one row "marked" with its read-out.
  QByteArray DataCsv() const override;

  // --- Layout and drawing steps -------------------------------------------
  // Each step draws on the given canvas with the current layout, so the
  // screen paint, the printout and the export run the same code.
  void RunLayout(int Width, int Height);  // screen layout
  void RunPrintLayout();                  // fixed layout of printout and export
  // Every measure is kept within +-2^24 pixels (the largest widget size),
  // so that the drawing and the mouse can add and multiply them without
  // overflow.
  void SetLayout(const TBinaLayout& Value);

  // Maps of the current (possibly zoomed) window onto the plot rectangle.
  TScaleMap CompositionMap() const;   // LowCLimit..HighCLimit -> PlotLeft..PlotLeft+PlotWidth
  TScaleMap TemperatureMap() const;   // HighTLimit..LowTLimit -> PlotTop..PlotTop+PlotHeight
  // The same with the saved (unzoomed) limits: where the curves are placed.
  TScaleMap SavedCompositionMap() const;
  TScaleMap SavedTemperatureMap() const;

  // The off-screen picture of a paint (frame, curves, fill, scales, texts,
  // legend) with the current layout.
  void ComposePicture(TCanvas& Canvas);
  void DrawFrame(TCanvas& Canvas);
  void DrawCurves(TCanvas& Canvas);
  void FillAreas(TCanvas& Canvas);
  void DrawAxes(TCanvas& Canvas, TColor BrushColor);
  void DrawTitle(TCanvas& Canvas, TColor BrushColor);
  void DrawCAxisCaption(TCanvas& Canvas, TColor BrushColor);
  void DrawLegend(TCanvas& Canvas);
  void DrawValuesTable(TCanvas& Canvas);
  void DrawCoPhasesTable(TCanvas& Canvas);

  // Zoom window: pixel rectangle of the window in the unzoomed layout and
  // the scale factors, recomputed before each zoomed picture.
  void ComputeZoomWindow();
  double ZoomX1() const { return zx1_; }
  double ZoomX2() const { return zx2_; }
  double ZoomY1() const { return zy1_; }
  double ZoomY2() const { return zy2_; }
  // Maps the segment P -> Q (unzoomed pixels) through the zoom window; false
  // when no piece of it is visible. Mapped runs from (Left, Top) to
  // (Right, Bottom) in the direction P -> Q.
  bool MapZoomSegment(double px, double py, double qx, double qy, TRect& Mapped) const;
  // Sets the zoom window directly (what a zoom-in stores).
  void SetZoomWindow(double LowC, double HighC, double LowT, double HighT);

  // Font sizes that follow the plot width.
  int TitleFontSize() const;
  int AxisFontSize() const;
  int PanelFontSize() const;

 protected:
  void Paint() override;
  void DrawScreenPicture(TCanvas& Canvas, int Width, int Height) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;


  // Mouse helpers (binagram_mouse.cpp).
  void IdentifyArea(TColor c, int x, int y);
  void FindCoPhases(TColor a, int x, int y);
  void DrawMouseGrid();
  void DrawRubberBand();
  void DrawBalloon(int x, int y);
  void TakeEdgeSeeds();
  void ClearCursorPoint();
  // ForgetCursorReadout without the repaint its caller asks for anyway.
  void DropCursorReadout();
  static void SetLeverRatios(TFullDataPoint& p, double Scale);
  // Applies Convert to the marked point's composition and its co-existing
  // phases' compositions, keeps the first phase the one of lower
  // composition and works the amounts out again.
  template <class F>
  void ConvertMarkedPoint(F&& Convert);

  // Builds CAxisCaption from CUnits and SubstanceB's name.
  void RebuildCAxisCaption();
  // Stores a composition window the caller has made valid, without
  // messages; the saved copies follow when not zooming.
  void StoreCLimits(double Low, double High);

 private:
  friend class TBinagramTestAccess;

  int cAxisStep_ = 2;
  binary::TCUnits cUnits_ = binary::cuMolPercents;
  bool cursorOnArea_ = false;
  binary::TDataOrientation dataOrientation_ = binary::doDirect;
  binary::TGridType gridType_ = binary::gtOutsideScale;
  double lowCLimit_ = 0.0;
  double highCLimit_ = 100.0;
  TSubstance substanceA_;
  TSubstance substanceB_;
  int tAxisStep_ = 100;

  double compositionScale_ = 100.0;
  QString cAxisCaption_;
  QString divisionText_;
  bool divisionPoint_ = false;
  int hotArea_ = -1;
  TBinaLayout layout_;
  double savedLowCLimit_ = 0.0;
  double savedHighCLimit_ = 100.0;

  // Zoom window and its unzoomed pixel rectangle with the scale factors.
  double zoomLowCLimit_ = 0, zoomHighCLimit_ = 100, zoomLowTLimit_ = 0, zoomHighTLimit_ = 1000;
  double zx1_ = 0, zx2_ = 1, zy1_ = 0, zy2_ = 1, zsx_ = 1, zsy_ = 1;
  TEdgeSeeds topSeeds_, bottomSeeds_, leftSeeds_, rightSeeds_;

  // Mouse interaction state.
  bool zoomDragging_ = false;
  bool mouseGridShown_ = false;
  bool coPhasesShown_ = false;
  TPoint dragStart_, dragEnd_;
  TPoint bandCorner1_, bandCorner2_;
  TPoint gridH1_, gridH2_, gridV1_, gridV2_;
  TPoint lastMouse_;

  // The paint's off-screen pictures, kept between paints so that a paint
  // of an unchanged size allocates nothing (binagram_paint.cpp).
  TBitmap paintFrame_;
  TBltBitmap paintBuffer_;
};
