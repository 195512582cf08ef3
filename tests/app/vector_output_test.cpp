// Publication output: SVG and PDF of both samples as vectors with their
// texts, pictures drawn back from the vectors that agree with the screen,
// pictures at a scale, the printed page, the clipboard and the data files.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLocale>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QToolButton>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <cmath>
#include <map>

#include "app/command_line.h"
#include "app/document.h"
#include "app/main_form.h"
#include "app/window_kit.h"
#include "app/picture_output.h"
#include "app/ternary_form.h"
#include "diagram/binagram.h"
#include "diagram/ternagram.h"
#include "message_collector.h"
#include "platform/vectorpicture.h"

namespace {

const QString SamplesFolder = QStringLiteral(PD_SOURCE_DIR "/samples");

struct Sample {
  const char* File;
  // Texts every picture of the sample holds: title, names, scale labels.
  QStringList Texts;
};

const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = [] {
    QStringList binary{"Al2O3-SiO2 Sample", "Mass Fraction SiO2 in %", "Liquid", "Mullite ss"};
    for (int c = 0; c <= 100; c += 10) binary << QString::number(c);
    for (int t = 1400; t <= 2100; t += 100) binary << QString::number(t);
    QStringList ternary{"Bi-Pb-Sn Sample", "Mass Fraction in %", "Bi", "Pb", "Sn", "(Bi)", "(Pb)", "(Sn)"};
    for (int c = 20; c <= 80; c += 20) ternary << QString::number(c);
    return std::vector<Sample>{{"al2o3-sio2.pdiag", binary}, {"bi-pb-sn.pdiag", ternary}};
  }();
  return samples;
}

// A control showing a sample document at a size, painted as on screen.
struct SampleControl {
  TDiagramDocument document;
  std::unique_ptr<TPhasePlot> plot;
  SampleControl(const QString& File, QSize Size) {
    QString why;
    EXPECT_TRUE(ReadDocument(SamplesFolder + "/" + File, document, &why)) << why.toStdString();
    if (document.Kind == TDiagramKind::Binary) {
      auto* g = new TBinagram;
      plot.reset(g);
      g->resize(Size);
      LoadDocument(*g, document.Binary);
    } else {
      auto* g = new TTernagram;
      plot.reset(g);
      g->resize(Size);
      LoadDocument(*g, document.Ternary);
    }
    plot->Repaint();
  }
};

// The texts of an SVG's text elements, each with its spaces trimmed.
QStringList SvgTexts(const QByteArray& Svg) {
  QStringList texts;
  QXmlStreamReader xml(Svg);
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
      texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return texts;
}

// What pdftotext reads from a PDF file, one word or number per entry.
QStringList PdfWords(const QString& File) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), File, QStringLiteral("-")});
  EXPECT_TRUE(p.waitForFinished(20000)) << "pdftotext (poppler-utils) is needed";
  return QString::fromUtf8(p.readAllStandardOutput()).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

int PdfPages(const QByteArray& Pdf) {
  return int(QString::fromLatin1(Pdf).count(QRegularExpression("/Type\\s*/Page(?![s\\w])")));
}

// The colour class of a pixel: the nearest of the colours a diagram is
// made of (areas, black for lines and text, white, the paper, isotherms).
struct ColourClasses {
  std::vector<QColor> colours;
  explicit ColourClasses(TColor Paper) {
    for (TColor c : AreaColors) colours.push_back(QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    for (QColor c : {QColor(Qt::black), QColor(Qt::white), QColor(0x80, 0x80, 0), QColor(0, 0, 0xFF)})
      colours.push_back(c);
    colours.push_back(QColor(GetRValue(Paper), GetGValue(Paper), GetBValue(Paper)));
  }
  int Of(QRgb p) const {
    int best = 0, bestD = INT_MAX;
    for (std::size_t i = 0; i < colours.size(); ++i) {
      const int dr = qRed(p) - colours[i].red(), dg = qGreen(p) - colours[i].green(),
                db = qBlue(p) - colours[i].blue();
      const int d = dr * dr + dg * dg + db * db;
      if (d < bestD) bestD = d, best = int(i);
    }
    // White and paper count as one: both are background.
    return colours[std::size_t(best)] == QColor(Qt::white) ? int(colours.size()) - 1 : best;
  }
  double Agreement(const QImage& a, const QImage& b) const {
    if (a.size() != b.size()) return 0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    long same = 0;
    for (int r = 0; r < x.height(); ++r) {
      const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(r));
      const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(r));
      for (int c = 0; c < x.width(); ++c) same += Of(p[c]) == Of(q[c]);
    }
    return double(same) / (double(x.width()) * x.height());
  }
};

}  // namespace

TEST(VectorOutput, SvgAndPdfOfEachSampleHoldEveryTextAtTheDiagramsSize) {
  QTemporaryDir dir;
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.File);
    SampleControl control(s.File, QSize(800, 600));
    QString why;
    const QByteArray svg = DiagramPictureBytes(*control.plot, "svg", QSize(1000, 700), 1, &why);
    ASSERT_FALSE(svg.isEmpty()) << why.toStdString();
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), QSize(1000, 700));
    const QStringList texts = SvgTexts(svg);
    for (const QString& t : s.Texts) EXPECT_TRUE(texts.contains(t)) << t.toStdString();
    // The areas are filled outlines, not one picture.
    EXPECT_FALSE(svg.contains("<image"));

    const QByteArray pdf = DiagramPictureBytes(*control.plot, "pdf", QSize(1000, 700), 1, &why);
    ASSERT_TRUE(pdf.startsWith("%PDF-")) << why.toStdString();
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    const QString file = dir.filePath(QString(s.File) + ".pdf");
    ASSERT_TRUE(WriteWholeFile(file, pdf, &why));
    const QStringList words = PdfWords(file);
    const QString all = words.join(' ');
    for (const QString& t : s.Texts) EXPECT_TRUE(all.contains(t)) << t.toStdString();
    // The page is the picture's size in points at 96 dots per inch.
    EXPECT_TRUE(QString::fromLatin1(pdf).contains(QRegularExpression("/MediaBox \\[0 0 750(\\.0+)? 525(\\.0+)?\\]")));
  }
}

TEST(VectorOutput, DrawnBackTheVectorsAgreeWithTheScreenInColourClasses) {
  for (const Sample& s : Samples()) {
    for (QSize size : {QSize(800, 600), QSize(1400, 900)}) {
      SCOPED_TRACE(std::string(s.File) + " " + std::to_string(size.width()));
      SampleControl control(s.File, size);
      TVectorPicture picture;
      TBitmap screen;
      picture.SetTraceScale(3);
      control.plot->RecordPicture(picture, size.width(), size.height(), &screen);
      EXPECT_GE(picture.RegionCount(), 3);
      // The same picture the control shows on screen.
      EXPECT_EQ(screen.Image(), control.plot->Surface().Image());
      const ColourClasses classes(control.plot->PaperColor());
      EXPECT_GE(classes.Agreement(picture.ToImage(1, false), screen.Image()), 0.98);
      EXPECT_GE(classes.Agreement(picture.ToImage(1, true), screen.Image()), 0.97);
      // The SVG drawn by another renderer agrees too.
      QSvgRenderer renderer(picture.ToSvg());
      QImage svg(size, QImage::Format_RGB32);
      svg.fill(Qt::white);
      QPainter p(&svg);
      renderer.render(&p);
      p.end();
      EXPECT_GE(classes.Agreement(svg, screen.Image()), 0.98);
    }
  }
}

TEST(VectorOutput, PdfDrawnByAnotherReaderAgreesWithTheScreenAndReadsBackEveryCharacter) {
  // Another reader, poppler, draws the PDF back at 96 dots per inch, and
  // its texts (Cyrillic in the binary sample's legend too) read back
  // character for character.
  QTemporaryDir dir;
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.File);
    const QSize size(1000, 700);
    SampleControl control(s.File, size);
    TVectorPicture picture;
    TBitmap screen;
    picture.SetTraceScale(3);
    control.plot->RecordPicture(picture, size.width(), size.height(), &screen);
    const QString file = dir.filePath(QString(s.File) + ".pdf");
    QString why;
    ASSERT_TRUE(WriteWholeFile(file, picture.ToPdf(control.plot->Title()), &why)) << why.toStdString();
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {"-r", "96", "-png", "-singlefile", file, dir.filePath("drawn")});
    ASSERT_TRUE(p.waitForFinished(20000)) << "pdftoppm (poppler-utils) is needed";
    const QImage drawn(dir.filePath("drawn.png"));
    ASSERT_EQ(drawn.size(), size);
    EXPECT_GE(ColourClasses(control.plot->PaperColor()).Agreement(drawn, screen.Image()), 0.97);
    QStringList texts = s.Texts;
    if (QString(s.File) == "al2o3-sio2.pdiag") texts << QStringLiteral(u"\u0430-Al2O3 + Liquid");
    const QString words = PdfWords(file).join(' ');
    for (const QString& t : texts) EXPECT_TRUE(words.contains(t)) << t.toStdString();
  }
}

TEST(VectorOutput, RenderAtScaleFourHasFourTimesThePixelsAndAgreesScaledDown) {
  QTemporaryDir dir;
  const QString doc = SamplesFolder + "/bi-pb-sn.pdiag";
  QString why;
  ASSERT_TRUE(RenderDocument(doc, dir.filePath("plain.png"), QSize(800, 600), &why, 1)) << why.toStdString();
  ASSERT_TRUE(RenderDocument(doc, dir.filePath("big.png"), QSize(800, 600), &why, 4)) << why.toStdString();
  ASSERT_TRUE(RenderDocument(doc, dir.filePath("big.bmp"), QSize(800, 600), &why, 4)) << why.toStdString();
  ASSERT_TRUE(RenderDocument(doc, dir.filePath("d.svg"), QSize(800, 600), &why)) << why.toStdString();
  const QImage plain(dir.filePath("plain.png")), big(dir.filePath("big.png"));
  EXPECT_EQ(plain.size(), QSize(800, 600));
  EXPECT_EQ(big.size(), QSize(3200, 2400));
  EXPECT_EQ(QImage(dir.filePath("big.bmp")).size(), QSize(3200, 2400));
  EXPECT_TRUE(QSvgRenderer(dir.filePath("d.svg")).isValid());
  const ColourClasses classes(clBtnFace);
  EXPECT_GE(classes.Agreement(big.scaled(800, 600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), plain), 0.98);

  // The command line takes --scale and refuses nonsense.
  const TCommandLine line = ParseCommandLine({"--render", doc, "x.png", "--scale", "4", "--size", "80x60"});
  EXPECT_EQ(line.Action, TCommandLine::caRender);
  EXPECT_EQ(line.Scale, 4);
  EXPECT_EQ(ParseCommandLine({"--render", doc, "x.png", "--scale", "0"}).Action, TCommandLine::caError);
  EXPECT_EQ(ParseCommandLine({"--render", doc, "x.png", "--scale", "x"}).Action, TCommandLine::caError);
}

TEST(VectorOutput, APrintedPageIsVectorsWithTextsAndNoPicture) {
  MessageCollector messages;
  QTemporaryDir dir;
  SampleControl control("al2o3-sio2.pdiag", QSize(800, 600));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("printed.pdf"));
  ASSERT_TRUE(static_cast<TBinagram&>(*control.plot).Print(printer));
  QFile file(dir.filePath("printed.pdf"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  EXPECT_EQ(PdfPages(pdf), 1);
  EXPECT_FALSE(pdf.contains("/Subtype /Image"));
  const QString words = PdfWords(dir.filePath("printed.pdf")).join(' ');
  for (const char* t : {"Al2O3-SiO2 Sample", "Liquid", "2100", "Printed by Binagram component"})
    EXPECT_TRUE(words.contains(t)) << t;
  // Wider than tall: a landscape page.
  const QRegularExpressionMatch box =
      QRegularExpression("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]").match(QString::fromLatin1(pdf));
  ASSERT_TRUE(box.hasMatch());
  EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble()) << "not landscape";
  EXPECT_TRUE(messages.texts.isEmpty());
}

TEST(VectorOutput, CopyPutsPngAndSvgOnTheClipboard) {
  MessageCollector messages;
  TTernaryForm form;
  form.resize(1000, 700);
  form.show();
  QApplication::processEvents();
  form.Ternagram1()->Repaint();
  const QSize size = form.Ternagram1()->size();
  QApplication::clipboard()->clear();
  auto* button = form.findChild<QToolButton*>("CopySpeedButton");
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->toolTip().startsWith("Copy Diagram"));
  EXPECT_EQ(button->defaultAction()->shortcut(), QKeySequence(QKeySequence::Copy));
  button->click();
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  EXPECT_TRUE(mime->hasFormat("image/png"));
  ASSERT_TRUE(mime->hasFormat("image/svg+xml"));
  const QImage png = QImage::fromData(mime->data("image/png"), "PNG");
  EXPECT_EQ(png.size(), size);
  QSvgRenderer svg(mime->data("image/svg+xml"));
  EXPECT_TRUE(svg.isValid());
  EXPECT_EQ(svg.defaultSize(), size);
  EXPECT_TRUE(SvgTexts(mime->data("image/svg+xml")).contains("Bi-Pb-Sn Sample"));
}

// Reads CSV rows (no quoted commas in these files) after the header.
std::vector<QStringList> CsvRows(const QByteArray& Csv, QStringList* Header) {
  QStringList lines = QString::fromUtf8(Csv).split('\n', Qt::SkipEmptyParts);
  std::vector<QStringList> rows;
  if (lines.isEmpty()) return rows;
  *Header = lines.takeFirst().split(',');
  for (const QString& l : lines) rows.push_back(l.split(','));
  return rows;
}

TEST(DataExport, CsvReadsBackToTheChainsWhateverTheLocale) {
  QTemporaryDir dir;
  QLocale::setDefault(QLocale(QLocale::German));
  QString why;
  const QString csv = dir.filePath("bi-pb-sn.csv");
  ASSERT_TRUE(ExportDocumentData(SamplesFolder + "/bi-pb-sn.pdiag", csv, QSize(800, 600), &why))
      << why.toStdString();
  QLocale::setDefault(QLocale::c());
  QFile file(csv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QStringList header;
  const auto rows = CsvRows(file.readAll(), &header);
  EXPECT_EQ(header, QStringList({"kind", "T", "chain", "point", "A", "B", "C", "area", "identifier"}));

  // The same chains as a control of that size traces.
  SampleControl control("bi-pb-sn.pdiag", QSize(800, 600));
  auto& g = static_cast<TTernagram&>(*control.plot);
  std::map<int, std::vector<TIsoPoint>> expected;  // by temperature
  for (int k = 0; k < int(g.IsoPoints().size()); ++k) {
    const int t = g.IsothermTemperature(k);
    if (k + 1 < int(g.IsoPoints().size()) && t % g.Isotherms()->Step() != 0) continue;
    for (int p = 0; p < g.IsoPointCounts()[std::size_t(k)]; ++p) expected[t].push_back(g.IsoPoints()[std::size_t(k)][std::size_t(p)]);
  }
  std::map<int, std::vector<TIsoPoint>> read;
  int tpoints = 0;
  for (const QStringList& r : rows) {
    ASSERT_EQ(r.size(), header.size()) << r.join(',').toStdString();
    bool okA, okB, okC;
    const double a = r[4].toDouble(&okA), b = r[5].toDouble(&okB), c = r[6].toDouble(&okC);
    ASSERT_TRUE(okA && okB && okC) << r.join(',').toStdString();  // '.' whatever the locale
    EXPECT_NEAR(a + b + c, 100, 1e-9);
    if (r[0] == "isotherm") read[r[1].toInt()].push_back(TIsoPoint{float(a), float(b)});
    if (r[0] == "tpoint") ++tpoints;
  }
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(read.size(), expected.size());
  for (const auto& [t, points] : expected) {
    ASSERT_EQ(read[t].size(), points.size()) << t;
    for (std::size_t i = 0; i < points.size(); ++i) {
      EXPECT_FLOAT_EQ(read[t][i].X, points[i].X);
      EXPECT_FLOAT_EQ(read[t][i].Y, points[i].Y);
    }
  }
  int sampleTPoints = 0;
  for (int i = 0; i < g.Areas(); ++i) sampleTPoints += g.AreaList()[i].TPointCount;
  EXPECT_EQ(tpoints, sampleTPoints);
}

// A marked melt's crystallization path is drawn by the screen's own steps,
// so the vectors carry its line and table; the data file lists its stages.
TEST(DataExport, MarkedMeltsCrystallizationPathInTheDataAndTheVectors) {
  const QSize size(800, 600);
  SampleControl control("bi-pb-sn.pdiag", size);
  auto& g = static_cast<TTernagram&>(*control.plot);
  ASSERT_TRUE(g.MarkMode() && g.DrawCrystallization());
  g.MarkPoint(72, 14);
  ASSERT_TRUE(g.MarkedPoint().Visible);
  const std::vector<TCrystallizationStage> stages = g.CrystallizationPath(g.MarkedPoint().A, g.MarkedPoint().B);
  ASSERT_GE(stages.size(), 2u);

  QStringList header;
  std::vector<QStringList> path;
  for (const QStringList& r : CsvRows(g.DataCsv(), &header))
    if (r[0] == "crystallization") path.push_back(r);
  ASSERT_EQ(path.size(), stages.size());
  const double scale = g.CompositionScale() / 100;
  for (std::size_t k = 0; k < stages.size(); ++k) {
    SCOPED_TRACE(stages[k].Text.toStdString());
    ASSERT_EQ(path[k].size(), header.size());
    EXPECT_EQ(path[k][3].toInt(), int(k) + 1);
    EXPECT_EQ(path[k][1].toDouble(), stages[k].T);
    EXPECT_EQ(path[k][4].toDouble(), stages[k].A * scale);
    EXPECT_EQ(path[k][5].toDouble(), stages[k].B * scale);
    EXPECT_EQ(path[k][8], stages[k].Phases);
  }

  QString why;
  const QByteArray svg = DiagramPictureBytes(g, "svg", size, 1, &why);
  ASSERT_FALSE(svg.isEmpty()) << why.toStdString();
  const QStringList texts = SvgTexts(svg);
  EXPECT_TRUE(texts.contains("Crystallization"));
  for (const TCrystallizationStage& s : stages) EXPECT_TRUE(texts.contains(s.Text)) << s.Text.toStdString();
  EXPECT_TRUE(svg.contains("#800080"));  // the path's colour
  // Without the switch, neither.
  g.SetDrawCrystallization(false);
  EXPECT_FALSE(g.DataCsv().contains("crystallization"));
  EXPECT_FALSE(SvgTexts(DiagramPictureBytes(g, "svg", size, 1, &why)).contains("Crystallization"));
}

TEST(DataExport, BinaryCurvesAndTheMarkedReadOut) {
  SampleControl control("al2o3-sio2.pdiag", QSize(800, 600));
  auto& g = static_cast<TBinagram&>(*control.plot);
  g.SetMarkMode(true);
  TFullDataPoint& m = g.MarkedPoint();
  m.Visible = true;
  m.A = 62.5;
  m.T = 1750;
  m.PhaseName = "Mullite ss + Liquid";
  m.CoPhases = 1;
  m.Phase1Name = "Mullite ss";
  m.Phase1Value = 28.25;
  m.Phase1Ratio = 0.25;
  m.Phase2Name = "Liquid";
  m.Phase2Value = 85;
  m.Phase2Ratio = 0.75;
  QStringList header;
  const auto rows = CsvRows(g.DataCsv(), &header);
  EXPECT_EQ(header.first(), "kind");
  int points = 0;
  for (int j = 0; j <= g.CurveLastIndex(); ++j) points += g.CurveC()[std::size_t(j)] != -1;
  ASSERT_EQ(int(rows.size()), points + 1);
  int i = 0;
  for (int j = 0; j <= g.CurveLastIndex(); ++j) {
    if (g.CurveC()[std::size_t(j)] == -1) continue;
    EXPECT_EQ(rows[std::size_t(i)][0], "curve");
    EXPECT_EQ(rows[std::size_t(i)][3].toDouble(), g.CurveC()[std::size_t(j)] * g.CompositionScale() / 100);
    EXPECT_EQ(rows[std::size_t(i)][4].toDouble(), g.CurveT()[std::size_t(j)]);
    ++i;
  }
  EXPECT_EQ(rows.back(), QStringList({"marked", "", "", "62.5", "1750", "Mullite ss + Liquid", "Mullite ss",
                                      "28.25", "0.25", "Liquid", "85", "0.75"}));
}
