// The fixed layout of printout and export, the rendered picture, and the
// control's state afterwards.
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "diagram/binagram.h"
#include "message_collector.h"
#include "platform/messages.h"

namespace {

struct LayoutCase {
  bool legend, values, coPhases;
  int legendWidth, plotWidth, plotHeight, bitmapWidth, bitmapHeight;
};

class PrintLayout : public ::testing::TestWithParam<LayoutCase> {};

// A small diagram: one curve across the plot, two areas, a title.
void LoadLittleSystem(TBinagram& g) {
  g.SetHighTLimit(1000);
  g.SetLowTLimit(0);
  g.SetTitle("Test System");
  TPhaseArea upper = g.AreaList().Get(0);
  upper.Identifier = "Upper";
  upper.C = 50;
  upper.T = 800;
  g.AreaList().Put(0, upper);
  TPhaseArea lower = g.AreaList().Get(1);
  lower.Identifier = "Lower";
  lower.C = 50;
  lower.T = 200;
  g.AreaList().Put(1, lower);
  g.SetAreas(2);
  TSplinesData curves;
  curves.Points = {{-1, -1}, {0, 500}, {50, 400}, {100, 500}};
  curves.LastIndex = 3;
  g.SetSplinesData(curves);
  g.SetDrawSplines(true);
  g.SetDrawAreas(true);
}

}  // namespace

TEST_P(PrintLayout, FollowsTheSwitchesNotTheControlSizeNorTheAreaCount) {
  const LayoutCase c = GetParam();
  for (QSize size : {QSize(469, 322), QSize(1500, 900)}) {
    TBinagram g;
    g.resize(size);
    g.SetLegend(c.legend);
    g.SetValuesTable(c.values);
    g.SetCoPhasesTable(c.coPhases);
    ASSERT_EQ(g.Areas(), 0);  // the legend column does not depend on the areas
    TBitmap picture;
    g.RenderPrintBitmap(picture);
    EXPECT_EQ(g.LegendWidth(), c.legendWidth);
    EXPECT_EQ(g.PlotWidth(), c.plotWidth);
    EXPECT_EQ(g.PlotHeight(), c.plotHeight);
    EXPECT_EQ(g.PlotLeft(), 60);
    EXPECT_EQ(g.PlotTop(), 60);
    EXPECT_EQ(picture.Width(), c.bitmapWidth);
    EXPECT_EQ(picture.Height(), c.bitmapHeight);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Switches, PrintLayout,
    ::testing::Values(LayoutCase{true, true, true, 173, 307, 266, 600, 386},
                      LayoutCase{true, false, false, 173, 307, 266, 600, 386},
                      LayoutCase{false, true, false, 173, 307, 266, 600, 386},
                      LayoutCase{false, false, true, 173, 307, 266, 600, 386},
                      LayoutCase{false, false, false, 0, 323, 280, 443, 400}));

TEST(PrintPicture, IsWhiteBehindEverythingWithTheTwoPixelFrame) {
  TBinagram g;
  g.resize(469, 322);
  LoadLittleSystem(g);
  g.SetPaperColor(0x00A0B0C0);  // a paper colour that must not reach the picture
  TBitmap picture;
  g.RenderPrintBitmap(picture);
  const TCanvas& c = *picture.Canvas();
  const int L = g.PlotLeft(), T = g.PlotTop(), W = g.PlotWidth(), H = g.PlotHeight();

  int paper = 0, white = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      paper += c.Pixel(x, y) == 0x00A0B0C0;
      white += c.Pixel(x, y) == clWhite;
    }
  EXPECT_EQ(paper, 0);
  EXPECT_GT(white, picture.Width() * picture.Height() / 2);
  EXPECT_EQ(c.Pixel(0, 0), clWhite);
  EXPECT_EQ(c.Pixel(picture.Width() - 1, picture.Height() - 1), clWhite);

  // The outline is two pixels wide on every side.
  int frameRows = 0;
  for (int dy = -2; dy <= 2; ++dy) frameRows += c.Pixel(L + W / 3, T + dy) == clBlack;
  EXPECT_EQ(frameRows, 2);
  int frameColumns = 0;
  for (int dx = -2; dx <= 2; ++dx) frameColumns += c.Pixel(L + W + dx, T + H / 3) == clBlack;
  EXPECT_EQ(frameColumns, 2);

  // The areas are filled from their points, in the print layout.
  EXPECT_EQ(c.Pixel(g.CompositionMap().transformRounded(50), g.TemperatureMap().transformRounded(800)),
            NearestColor(AreaColors[0]));
  EXPECT_EQ(c.Pixel(g.CompositionMap().transformRounded(50), g.TemperatureMap().transformRounded(200)),
            NearestColor(AreaColors[1]));
}

TEST(PrintPicture, TheCursorReadOutIsNeverPrinted) {
  TBinagram g;
  g.resize(469, 322);
  LoadLittleSystem(g);
  g.SetMarkMode(true);
  g.Repaint();
  TBitmap before;
  g.RenderPrintBitmap(before);
  g.Repaint();
  // The mouse over the lower area: the screen shows its read-out.
  const QPointF at(g.CompositionMap().transform(30), g.TemperatureMap().transform(200));
  QMouseEvent move(QEvent::MouseMove, at, g.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&g, &move);
  ASSERT_TRUE(g.CursorOnArea());
  TBitmap after;
  g.RenderPrintBitmap(after);
  EXPECT_EQ(before.Image(), after.Image());
}

TEST(PrintPicture, ExportAndPrintLeaveTheScreenAsItWas) {
  TBinagram g;
  g.resize(469, 322);
  LoadLittleSystem(g);
  g.Repaint();
  const TBinaLayout screen = g.Layout();
  const QImage shown = g.Surface().Image().copy();

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(g.SaveToBitmap(dir.filePath("d.bmp"), false));
  EXPECT_EQ(g.PlotWidth(), screen.PlotWidth);
  EXPECT_EQ(g.PlotLeft(), screen.PlotLeft);
  EXPECT_EQ(g.LegendWidth(), screen.LegendWidth);
  EXPECT_EQ(g.Surface().Image(), shown);

  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("d.pdf"));
  EXPECT_TRUE(g.Print(printer));
  EXPECT_EQ(g.PlotHeight(), screen.PlotHeight);
  EXPECT_EQ(g.PlotTop(), screen.PlotTop);
  EXPECT_EQ(g.Surface().Image(), shown);
  EXPECT_GT(QFileInfo(dir.filePath("d.pdf")).size(), 1000);
}

TEST(PrintPicture, AFailedPrintJobIsReportedAndTheScreenRestored) {
  MessageCollector messages;
  TBinagram g;
  g.resize(469, 322);
  g.Repaint();
  const QImage shown = g.Surface().Image().copy();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString name = QDir::temp().filePath("no-such-folder-for-print/d.pdf");
  printer.setOutputFileName(name);
  EXPECT_FALSE(g.Print(printer));
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts[0].contains(name)) << messages.texts[0].toStdString();
  EXPECT_EQ(g.Surface().Image(), shown);
}
