// The crystallization path in the Bi-Pb-Sn sample: a melt marked with the
// mouse in each primary field runs straight away from its corner to a
// valley and down the valley to the ternary eutectic, the table agrees with
// the read-out, and documents and --render carry the path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <cmath>

#include "app/command_line.h"
#include "app/document.h"
#include "app/ternary_sample.h"
#include "platform/color.h"

namespace ts = ternarysample;
using namespace ternary;

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

int PathPixels(const QImage& image) {
  int n = 0;
  const QRgb path = qRgb(GetRValue(TTernagram::CrystallizationColor), GetGValue(TTernagram::CrystallizationColor),
                         GetBValue(TTernagram::CrystallizationColor));
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (path & 0xFFFFFF);
  return n;
}

}  // namespace

TEST(CrystallizationSample, EachFieldsMeltRunsFromItsCornerToTheEutecticAsTheReadOutReadsIt) {
  QLocale::setDefault(QLocale::c());
  TTernagram g;
  g.resize(1000, 700);
  LoadTernarySample(g);
  ASSERT_TRUE(g.DrawCrystallization());
  g.Repaint();

  const struct {
    const char* Field;
    int Area;
    TTernarySamplePoint Corner;
    double A, B;
  } melts[] = {{"Bi", ts::FieldBi, ts::Bi, 72, 14}, {"Pb", ts::FieldPb, ts::Pb, 22, 62},
               {"Sn", ts::FieldSn, ts::Sn, 22, 14}};
  for (const auto& m : melts) {
    SCOPED_TRACE(m.Field);
    // Marked with the right button, as a user marks it.
    const TPoint p = g.TriangleMap().transformRounded(m.A, m.B);
    Send(&g, QEvent::MouseMove, QPoint(p.X, p.Y), Qt::NoButton, Qt::NoButton);
    Send(&g, QEvent::MouseButtonPress, QPoint(p.X, p.Y), Qt::RightButton, Qt::RightButton);
    Send(&g, QEvent::MouseButtonRelease, QPoint(p.X, p.Y), Qt::RightButton, Qt::NoButton);
    ASSERT_TRUE(g.MarkedPoint().Visible);
    const double xa = g.MarkedPoint().A, xb = g.MarkedPoint().B;
    g.Repaint();
    const QString picture = qEnvironmentVariable("PD_SAVE_PICTURES");
    if (!picture.isEmpty())
      g.Canvas()->Image()->save(QDir(picture).filePath(QStringLiteral("bi-pb-sn-%1.png").arg(m.Field)));

    const std::vector<TCrystallizationStage> s = g.CrystallizationPath(xa, xb);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].Kind, ckPrimary);
    EXPECT_EQ(s[1].Kind, ckCotectic);
    EXPECT_EQ(s[2].Kind, ckEutectic);
    EXPECT_EQ(s[0].Phases, m.Field);
    EXPECT_TRUE(s[1].Phases.startsWith(QString(m.Field) + " + "));
    EXPECT_EQ(s[2].Phases.split(" + ").size(), 3);
    // The liquidus temperature of the melt is the read-out's at the mark.
    EXPECT_NEAR(s[0].T, g.MarkedPoint().T, 1e-6);

    // L1 lies on the ray from the corner through the melt, beyond the melt,
    // on a valley (a division between two fields).
    const double pa = m.Corner.A, pb = m.Corner.B;
    EXPECT_NEAR((xa - pa) * (s[1].B - pb) - (xb - pb) * (s[1].A - pa), 0, 1e-6);
    EXPECT_GT(std::hypot(s[1].A - pa, s[1].B - pb), std::hypot(xa - pa, xb - pb));
    EXPECT_EQ(g.AreaAt(s[1].A, s[1].B), -2);
    // Just before L1 the read-out under the cursor shows the stage's
    // temperature (a few pixels off L1, a degree or so away); the path
    // itself is taken off so that the cursor stands on the field.
    g.SetDrawCrystallization(false);
    g.Repaint();
    const double before = 0.995;
    const TPoint q = g.TriangleMap().transformRounded(pa + (s[1].A - pa) * before, pb + (s[1].B - pb) * before);
    Send(&g, QEvent::MouseMove, QPoint(q.X, q.Y), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(g.HotArea(), m.Area);
    EXPECT_NEAR(g.CursorPoint().T, s[1].T, 1.5);
    g.SetDrawCrystallization(true);
    g.Repaint();

    // Down the valley to the ternary eutectic, the temperature falling.
    EXPECT_NEAR(s[2].A, ts::Eutectic.A, 1e-4);
    EXPECT_NEAR(s[2].B, ts::Eutectic.B, 1e-4);
    EXPECT_GT(s[0].T, s[1].T);
    EXPECT_GT(s[1].T, s[2].T);
    EXPECT_NEAR(s[2].T, ts::Eutectic.T, 2);
    EXPECT_GT(s[1].SolidPercent, 0);
    EXPECT_GT(s[2].SolidPercent, s[1].SolidPercent);
    EXPECT_LT(s[2].SolidPercent, 100);
    EXPECT_TRUE(s[2].Text.startsWith("Eutectic "));
    EXPECT_GT(PathPixels(*g.Canvas()->Image()), 50);

    // Left click: the mark goes, and the path with it.
    Send(&g, QEvent::MouseButtonPress, QPoint(p.X, p.Y), Qt::LeftButton, Qt::LeftButton);
    Send(&g, QEvent::MouseButtonRelease, QPoint(p.X, p.Y), Qt::LeftButton, Qt::NoButton);
    g.Repaint();
    EXPECT_EQ(PathPixels(*g.Canvas()->Image()), 0);
  }
}

TEST(CrystallizationSample, DocumentsKeepPrimaryPhasesTheSwitchAndTheMarkedMeltAndRenderThePath) {
  TTernagram g;
  LoadTernarySample(g);
  g.MarkPoint(72, 14);
  ASSERT_TRUE(g.MarkedPoint().Visible);
  const QByteArray text = DocumentText(DocumentOf(g));
  EXPECT_TRUE(text.contains("\"primary\": [100, 0]")) << text.toStdString();
  EXPECT_TRUE(text.contains("\"drawCrystallization\": true"));
  EXPECT_TRUE(text.contains("\"markedPoint\": [72, 14]"));

  TDiagramDocument read;
  QString place, what;
  ASSERT_TRUE(ParseDocument(text, read, &place, &what)) << place.toStdString() << ": " << what.toStdString();
  TTernagram loaded;
  LoadDocument(loaded, read.Ternary);
  EXPECT_TRUE(loaded.DrawCrystallization());
  EXPECT_TRUE(loaded.MarkedPoint().Visible);
  EXPECT_NEAR(loaded.MarkedPoint().T, g.MarkedPoint().T, 1e-9);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(loaded.AreaList()[i].PrimaryPhase.Defined);
    EXPECT_EQ(loaded.AreaList()[i].PrimaryPhase.A, g.AreaList()[i].PrimaryPhase.A);
    EXPECT_EQ(loaded.AreaList()[i].PrimaryPhase.B, g.AreaList()[i].PrimaryPhase.B);
  }
  EXPECT_EQ(DocumentText(DocumentOf(loaded)), text);

  // Without the new fields a document reads as before: no primary phases,
  // the path off. A primary phase off the triangle is refused.
  QByteArray old = text;
  old.replace("\"drawCrystallization\": true,", "");
  old.replace(",\n            \"primary\": [100, 0]", "");
  TDiagramDocument plain;
  ASSERT_TRUE(ParseDocument(old, plain, &place, &what)) << place.toStdString() << ": " << what.toStdString();
  EXPECT_FALSE(plain.Ternary.DrawCrystallization);
  EXPECT_FALSE(plain.Ternary.Areas[0].PrimaryPhase.Defined);
  QByteArray bad = text;
  bad.replace("\"primary\": [100, 0]", "\"primary\": [70, 40]");
  EXPECT_FALSE(ParseDocument(bad, plain, &place, &what));
  EXPECT_EQ(place, "areas[0].primary");

  // --render draws the marked melt's path; with the switch off, none.
  QTemporaryDir dir;
  const QString file = dir.filePath("marked.pdiag"), png = dir.filePath("marked.png");
  QString error;
  ASSERT_TRUE(WriteDocument(file, DocumentOf(g), &error)) << error.toStdString();
  ASSERT_TRUE(RenderDocument(file, png, QSize(800, 600), &error)) << error.toStdString();
  const QImage rendered(png);
  EXPECT_GT(PathPixels(rendered), 50);
  const QString keep = qEnvironmentVariable("PD_SAVE_PICTURES");
  if (!keep.isEmpty()) rendered.save(QDir(keep).filePath("bi-pb-sn-render.png"));
  g.SetDrawCrystallization(false);
  EXPECT_EQ(PathPixels(DocumentPicture(DocumentOf(g), QSize(800, 600))), 0);
}
