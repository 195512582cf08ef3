// Printing and export at a fixed picture size.
//
// Both render the diagram again into a bitmap whose size does not depend on
// the control's, with the same drawing steps as the screen paint but on
// white paper without the frame's rim, then send it to the printer or a
// file and repaint the control with its screen layout.
#include <QPrinter>

#include "diagram/ternagram.h"

namespace {
// Under the printed picture: the component, then the project that makes it.
const QString kFooter = PrintFooter(QStringLiteral("Ternagram"));
}  // namespace

void TTernagram::RenderFixedSize(TBitmap& Bitmap) {
  Bitmap.SetSize(FixedPictureWidth, FixedPictureHeight);
  // The screen's layout comes back afterwards: a paint under way (this may
  // run from its scan's messages) goes on with the layout it started with.
  const TTernaLayout screen = layout_;
  RunLayout(FixedPictureWidth, FixedPictureHeight);
  // Paper colour and rim are the screen's; the picture goes on paper. The
  // setters only ask for a repaint, which the caller runs anyway.
  const TColor paper = PaperColor();
  const bool border = Border();
  SetPaperColor(clWhite);
  SetBorder(false);
  ComposeInto(Bitmap);
  // Only a marked point is shown, never the read-out of the moving cursor.
  if (ValuesTable() && MarkMode() && MarkedPoint().Visible) DrawValuesTable(*Bitmap.Canvas());
  SetPaperColor(paper);
  SetBorder(border);
  layout_ = screen;
}

bool TTernagram::Print(QPrinter& Printer) {
  return PrintRendered(Printer, [this](TBitmap& b) { RenderFixedSize(b); }, kFooter);
}

void TTernagram::Print() {
  PrintOnDefaultPrinter([this](QPrinter& printer) { Print(printer); });
}

bool TTernagram::SaveToFile(const QString& FileName, QString* Error) {
  QString reason;
  bool ok;
  {
    TBitmap bitmap;
    RenderFixedSize(bitmap);
    ok = FileName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)
             ? bitmap.SaveToPngFile(FileName, &reason)
             : bitmap.SaveToFile(FileName, &reason);
  }
  Repaint();  // back to the screen layout
  if (!ok) ReportSaveFailure(FileName, reason, Error);
  return ok;
}

// --- The screen's picture, for the vector output -------------------------------------

void TTernagram::DrawScreenPicture(TCanvas& Canvas, int Width, int Height) {
  // As in RenderFixedSize, the screen's layout comes back afterwards.
  const TTernaLayout screen = layout_;
  RunLayout(Width, Height);
  Canvas.Brush = TBrush{clBlack, bsSolid};
  Canvas.FillRect(TRect{0, 0, Width, Height});
  ComposePicture(Canvas, nullptr);
  if (CoPhasesTable()) DrawCoPhasesTable(Canvas);
  if (ValuesTable()) DrawValuesTable(Canvas);
  layout_ = screen;
}
