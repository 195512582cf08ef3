// The examples of README.md. The documents, read as a reader copies them
// and painted by the controls: every seed fills a field of its own and no
// field is left white; the ternary example's isotherms are long lines, not
// scattered pieces. The host programs' code, compiled here as it stands
// there (the test holds the two texts equal) and run.
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "app/document.h"
#include "diagram/binagram.h"
#include "diagram/plotkit.h"
#include "diagram/ternagram.h"
#include "message_collector.h"

namespace {

// The blocks of one language of the README, in order.
QList<QByteArray> Examples(const char* Language) {
  QFile f(QStringLiteral(PD_SOURCE_DIR "/README.md"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QString text = QString::fromUtf8(f.readAll());
  QList<QByteArray> blocks;
  QRegularExpressionMatchIterator it =
      QRegularExpression(QStringLiteral("```%1\\n(.*?)```").arg(Language),
                         QRegularExpression::DotMatchesEverythingOption)
          .globalMatch(text);
  while (it.hasNext()) blocks << it.next().captured(1).toUtf8();
  return blocks;
}

TColor AreaColor(int i) { return NearestColor(AreaColors[i]); }

// Whether most of the 9 x 9 pixels around (x, y) have the colour: a seed
// may sit on a grid line, but its field lies around it.
bool FieldAround(TCanvas& c, int x, int y, TColor colour) {
  int n = 0;
  for (int dy = -4; dy <= 4; ++dy)
    for (int dx = -4; dx <= 4; ++dx) n += c.Pixel(x + dx, y + dy) == colour;
  return n > 40;
}


}  // namespace

TEST(ReadmeExamples, EveryExampleOpensAndPaintsItsFieldsFromTheirSeeds) {
  MessageCollector messages;
  const QList<QByteArray> examples = Examples("json");
  ASSERT_EQ(examples.size(), 2);
  int binaries = 0, ternaries = 0;
  for (const QByteArray& example : examples) {
    TDiagramDocument d;
    QString place, what;
    ASSERT_TRUE(ParseDocument(example, d, &place, &what)) << place.toStdString() << ": " << what.toStdString();
    if (d.Kind == TDiagramKind::Binary) {
      ++binaries;
      SCOPED_TRACE(d.Binary.Title.toStdString());
      TBinagram g;
      g.resize(800, 600);
      LoadDocument(g, d.Binary);
      g.Repaint();
      TCanvas& c = *g.Canvas();
      // Each seed's own colour, at the seed and over a field no other seed
      // took: a seed in another's field paints over it and leaves its own
      // field white.
      for (int i = 0; i < g.Areas(); ++i) {
        const TPhaseArea& a = g.AreaList()[i];
        const int x = g.CompositionMap().transformRounded(a.C), y = g.TemperatureMap().transformRounded(a.T);
        EXPECT_TRUE(FieldAround(c, x, y, AreaColor(i))) << a.Identifier.toStdString();
      }
      int white = 0;
      std::vector<int> count(std::size_t(g.Areas()), 0);
      for (int y = g.PlotTop() + 1; y < g.PlotTop() + g.PlotHeight(); ++y)
        for (int x = g.PlotLeft() + 1; x < g.PlotLeft() + g.PlotWidth(); ++x) {
          const TColor p = c.Pixel(x, y);
          white += p == clWhite;
          for (int i = 0; i < g.Areas(); ++i) count[std::size_t(i)] += p == AreaColor(i);
        }
      EXPECT_EQ(white, 0);
      for (int i = 0; i < g.Areas(); ++i)
        EXPECT_GT(count[std::size_t(i)], 2000) << g.AreaList()[i].Identifier.toStdString();
    } else {
      ++ternaries;
      SCOPED_TRACE(d.Ternary.Title.toStdString());
      TTernagram g;
      g.resize(800, 600);
      LoadDocument(g, d.Ternary);
      // The fields first, without the isotherms' labels on white.
      g.SetDrawIsotherms(false);
      g.Repaint();
      TCanvas& c = *g.Canvas();
      const TTriangleMap map = g.ViewMap();
      for (int i = 0; i < g.Areas(); ++i) {
        const TTernaryArea& a = g.AreaList()[i];
        const TPoint p = map.transformRounded(a.FillA, a.FillB);
        EXPECT_TRUE(FieldAround(c, p.X, p.Y, AreaColor(i))) << a.Identifier.toStdString();
      }
      // Compositions on a 1 % grid, off the edges: none white, and each
      // field holds the T-points its area names (apart from the shared ones).
      int white = 0;
      std::vector<int> count(std::size_t(g.Areas()), 0);
      for (int A = 1; A < 99; ++A)
        for (int B = 1; A + B < 99; ++B) {
          const TPoint p = map.transformRounded(A, B);
          const TColor colour = c.Pixel(p.X, p.Y);
          white += colour == clWhite;
          for (int i = 0; i < g.Areas(); ++i) count[std::size_t(i)] += colour == AreaColor(i);
        }
      EXPECT_EQ(white, 0);
      for (int i = 0; i < g.Areas(); ++i)
        EXPECT_GT(count[std::size_t(i)], 200) << g.AreaList()[i].Identifier.toStdString();

      // The isotherms: each one of 40 points or more runs, for at least
      // 85 % of its points, in pieces of 10 points or more (the walk that
      // orders a chain jumps more than three grid steps only between
      // pieces); scattered pieces fail.
      ASSERT_TRUE(d.Ternary.DrawIsotherms);
      g.SetDrawIsotherms(true);
      g.Repaint();
      const ternary::TIsotherm* iso = g.Isotherms();
      const double jump = 3 * iso->MethodStep();
      int long_ = 0;
      for (int k = 0; k < iso->IsothermCount; ++k) {
        SCOPED_TRACE(iso->LowIsotherm + 50 * k);
        const std::vector<TIsoPoint>& chain = g.IsoPoints()[std::size_t(k)];
        const int n = g.IsoPointCounts()[std::size_t(k)];
        if (n < 40) continue;
        int run = 1, inLongRuns = 0;
        for (int i = 1; i <= n; ++i) {
          if (i < n && std::hypot(chain[i].X - chain[i - 1].X, chain[i].Y - chain[i - 1].Y) <= jump) {
            ++run;
            continue;
          }
          if (run >= 10) inLongRuns += run;
          run = 1;
        }
        EXPECT_GE(inLongRuns * 100, 85 * n) << inLongRuns << " of " << n;
        ++long_;
      }
      EXPECT_GE(long_, 2);
    }
  }
  EXPECT_EQ(binaries, 1);
  EXPECT_EQ(ternaries, 1);
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
}

// --- The host examples ---------------------------------------------------------

namespace {

// Code compiled as written, with its text (the preprocessor drops the
// comments) for the comparison with the README.
#define README_HOST_EXAMPLE(Name, ...)        \
  const char* const Name##Text = #__VA_ARGS__; \
  void Name([[maybe_unused]] QWidget* parentWidget) { __VA_ARGS__ }

README_HOST_EXAMPLE(BinaryHost,
auto* diagram = new TBinagram(parentWidget);
diagram->SetHighTLimit(2100);   // high before low: the window starts at 0..1000
diagram->SetLowTLimit(1400);
TPhaseArea liquid = diagram->AreaList().Get(0);
liquid.Identifier = "Liquid";
liquid.C = 60;  liquid.T = 1900;          // a point inside the area
diagram->AreaList().Put(0, liquid);
diagram->SetAreas(1);
TSplinesData curves;                       // curves separated by points with C = -1
curves.Points = {{-1, -1}, {0, 1720}, {30, 1650}, {100, 1800}};
curves.LastIndex = 3;
diagram->SetSplinesData(curves);
diagram->SetDrawSplines(true);
diagram->SetDrawAreas(true);
diagram->SetOnMarkPoint([diagram](QObject*) { double c = diagram->MarkedPoint().A; /* ... */ });
)

README_HOST_EXAMPLE(TernaryHost,
auto* ternary = new TTernagram(parentWidget);
ternary->SetCUnits(ternary::cuMassPercents);     // the basis the numbers below are written in
ternary->SubstanceA()->SetName("Bi");  ternary->SubstanceA()->MolMass = 208.98f;
TTernaryArea& bi = ternary->AreaList()[0];       // 16 records, written in place
bi.Identifier = "(Bi)";
bi.TPoints[0] = {100, 0, 271};                   // A, B, T in whole degrees Celsius
bi.TPoints[1] = {55.5f, 44.5f, 124};
bi.TPoints[2] = {52.5f, 32, 95};
bi.TPointCount = 3;                              // at most 12
bi.FillA = 80;  bi.FillB = 8;                    // the seed the area is filled from
ternary->SetAreas(1);
ternary->CurveA() = {-1, 55.5, 54, 52.5};        // runs separated by A = -1
ternary->CurveB() = {-1, 44.5, 38, 32};
ternary->SetCurveLastIndex(3);
ternary->SetDrawSplines(true);
ternary->SetDrawAreas(true);
ternary->SetDrawIsotherms(true);                 // lines of equal liquidus temperature
ternary->Isotherms()->SetStep(50);
ternary->SetOnIsothermCalcStep([](QObject*) { /* one call per grid row: progress */ });
)

// Code without its comments, its #include lines and any white space.
QString Bare(QString Code) {
  Code.remove(QRegularExpression(QStringLiteral("^#include[^\\n]*"), QRegularExpression::MultilineOption));
  Code.remove(QRegularExpression(QStringLiteral("//[^\\n]*")));
  Code.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"), QRegularExpression::DotMatchesEverythingOption));
  Code.remove(QRegularExpression(QStringLiteral("\\s+")));
  return Code;
}

}  // namespace

TEST(ReadmeExamples, HostCodeCompilesAsWrittenAndFillsItsArea) {
  MessageCollector messages;
  // The whole host examples; a fragment that leaves code out ("// ...") is
  // an excerpt of examples/host/, which is built against the installed
  // package by the installation test.
  QList<QByteArray> code = Examples("cpp");
  code.removeIf([](const QByteArray& c) { return c.contains("// ..."); });
  ASSERT_EQ(code.size(), 2);
  EXPECT_EQ(Bare(QString::fromUtf8(code[0])), Bare(BinaryHostText));
  EXPECT_EQ(Bare(QString::fromUtf8(code[1])), Bare(TernaryHostText));

  QWidget host;
  BinaryHost(&host);
  TernaryHost(&host);
  auto* binary = host.findChild<TBinagram*>();
  auto* ternary = host.findChild<TTernagram*>();
  ASSERT_TRUE(binary && ternary);
  binary->resize(800, 600);
  binary->Repaint();
  EXPECT_TRUE(FieldAround(*binary->Canvas(), binary->CompositionMap().transformRounded(60),
                          binary->TemperatureMap().transformRounded(1900), AreaColor(0)));
  // The liquid lies above the curve, nothing below it.
  EXPECT_TRUE(FieldAround(*binary->Canvas(), binary->CompositionMap().transformRounded(60),
                          binary->TemperatureMap().transformRounded(1500), clWhite));
  ternary->resize(800, 600);
  ternary->Repaint();
  const TPoint seed = ternary->ViewMap().transformRounded(80, 8);
  EXPECT_TRUE(FieldAround(*ternary->Canvas(), seed.X, seed.Y, AreaColor(0)));
  EXPECT_GT(ternary->Isotherms()->IsothermCount, 1);
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
}
