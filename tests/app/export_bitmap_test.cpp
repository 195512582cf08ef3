// Export of the sample diagram as a Windows bitmap: the file as another
// program reads it, what the picture holds, failed writes, and the
// "Save Diagram" button.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QImageReader>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include "app/main_form.h"
#include "app/window_kit.h"
#include "app/picture_output.h"
#include "app/sample_system.h"
#include "message_collector.h"
#include "platform/messages.h"

namespace {

// The sample as the main window shows it, painted once.
struct SampleDiagram {
  TBinagram g;
  SampleDiagram() {
    g.resize(900, 600);
    LoadSampleSystem(g);
    g.Repaint();
  }
};

// The bits per pixel a bitmap file's header declares.
int BitsPerPixel(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray head = f.read(30);
  if (head.size() < 30 || !head.startsWith("BM")) return -1;
  return quint8(head[28]) | (quint8(head[29]) << 8);
}

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), b, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// Zooms in by dragging with the left button from (C1, T1) to (C2, T2).
void ZoomByDrag(TBinagram& g, double c1, double t1, double c2, double t2) {
  const QPoint from(g.CompositionMap().transformRounded(c1), g.TemperatureMap().transformRounded(t1));
  const QPoint to(g.CompositionMap().transformRounded(c2), g.TemperatureMap().transformRounded(t2));
  SendMouse(&g, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  for (int i = 1; i <= 4; ++i)
    SendMouse(&g, QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, Qt::LeftButton);
  SendMouse(&g, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  if (g.Stale()) g.Repaint();
}

// A marked point inside "Mullite ss + Liquid", off the grid lines.
void Mark(TBinagram& g) {
  TFullDataPoint& p = g.MarkedPoint();
  p.Visible = true;
  p.A = 62;
  p.T = 1720;
  p.CoPhases = 2;
  p.PhaseName = "Mullite ss + Liquid";
  p.Phase1Name = "Mullite ss";
  p.Phase2Name = "Liquid";
  p.Phase1Value = 28;
  p.Phase2Value = 88;
  p.Phase1Ratio = 43.33;
  p.Phase2Ratio = 56.67;
}

// Where the boxes of the two tables start on a print picture: their left
// outline, from top to bottom (outline rows excluded).
struct TableColumns {
  int x = 0;
  int valuesTop = 0, valuesBottom = 0;
  int coPhasesTop = 0, coPhasesBottom = 0;
};
TableColumns TablesOf(const TBinagram& g) {
  TBitmap probe(8, 8);
  probe.Canvas()->Font = TFont{QStringLiteral("Arial"), g.PanelFontSize(), clBlack, 0};
  const int w = probe.Canvas()->TextWidth("H"), h = probe.Canvas()->TextHeight("H");
  const int R = g.PlotLeft() + g.PlotWidth(), B = g.PlotTop() + g.PlotHeight();
  const int y0 = g.PlotTop() - 2 * h, n = g.Areas();
  return {R + 3 * w, B + 1, B + 2 * h - 1, y0 + (n + 2) * h + 1, y0 + (n + 7) * h - 1};
}
bool BlackColumn(const TBitmap& b, int x, int top, int bottom) {
  for (int y = top; y < bottom; ++y)
    if (b.Canvas()->Pixel(x, y) != clBlack) return false;
  return bottom > top;
}
bool CrossAt(const TBitmap& b, int x, int y) {
  const TCanvas& c = *b.Canvas();
  return c.Pixel(x - 3, y - 3) == clBlack && c.Pixel(x + 3, y + 3) == clBlack &&
         c.Pixel(x + 3, y - 3) == clBlack && c.Pixel(x - 3, y + 3) == clBlack;
}
int CountColor(const TBitmap& b, TColor colour) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Canvas()->Pixel(x, y) == colour;
  return n;
}

// Replaces the tool bar's dialogs for one test.
struct SeamsGuard {
  ~SeamsGuard() { ResetToolSeams(); }
};

}  // namespace

TEST(ExportBitmap, AnotherReaderSeesThePrintPictureIn24Bits) {
  SampleDiagram s;
  QTemporaryDir dir;
  const QString path = dir.filePath("sample.bmp");
  ASSERT_TRUE(s.g.SaveToBitmap(path, false));
  EXPECT_EQ(BitsPerPixel(path), 24);

  QImageReader reader(path);
  EXPECT_EQ(reader.format(), "bmp");
  EXPECT_EQ(reader.size(), QSize(600, 386));
  const QImage read = reader.read();
  ASSERT_FALSE(read.isNull()) << reader.errorString().toStdString();

  TBitmap rendered;
  s.g.RenderPrintBitmap(rendered);
  ASSERT_EQ(read.size(), rendered.Image().size());
  int differing = 0;
  for (int y = 0; y < read.height(); ++y)
    for (int x = 0; x < read.width(); ++x)
      differing += (read.pixel(x, y) & 0xFFFFFF) != (rendered.Image().pixel(x, y) & 0xFFFFFF);
  EXPECT_EQ(differing, 0);
  // The sample's areas are in it, in their own colours.
  for (int i = 0; i < s.g.Areas(); ++i) EXPECT_GT(CountColor(rendered, NearestColor(AreaColors[i])), 0);
}

TEST(ExportBitmap, MonochromeIsOneBitBlackAndWhite) {
  SampleDiagram s;
  QTemporaryDir dir;
  const QString path = dir.filePath("mono.bmp");
  ASSERT_TRUE(s.g.SaveToBitmap(path, true));
  EXPECT_EQ(BitsPerPixel(path), 1);
  QImageReader reader(path);
  EXPECT_EQ(reader.imageFormat(), QImage::Format_Mono);
  const QImage read = reader.read().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(read.size(), QSize(600, 386));
  TBitmap rendered;
  s.g.RenderPrintBitmap(rendered);
  int wrong = 0, black = 0;
  for (int y = 0; y < read.height(); ++y)
    for (int x = 0; x < read.width(); ++x) {
      const QRgb p = read.pixel(x, y) & 0xFFFFFF;
      const TColor r = rendered.Canvas()->Pixel(x, y);
      black += p == 0;
      if ((r == clWhite && p != 0xFFFFFF) || (r == clBlack && p != 0)) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(black, 1000);  // frame, curves, grid and texts
}

TEST(ExportBitmap, WithLegendAndTablesOffThePictureIs443By400) {
  SampleDiagram s;
  s.g.SetLegend(false);
  s.g.SetValuesTable(false);
  s.g.SetCoPhasesTable(false);
  QTemporaryDir dir;
  const QString path = dir.filePath("plain.bmp");
  ASSERT_TRUE(s.g.SaveToBitmap(path, false));
  EXPECT_EQ(QImageReader(path).size(), QSize(443, 400));
}

TEST(ExportBitmap, AMarkedPointComesWithItsCrossAndBothTables) {
  SampleDiagram s;
  TBitmap unmarked;
  s.g.RenderPrintBitmap(unmarked);
  Mark(s.g);
  TBitmap marked;
  s.g.RenderPrintBitmap(marked);
  const int x = s.g.CompositionMap().transformRounded(62);
  const int y = s.g.TemperatureMap().transformRounded(1720);
  EXPECT_TRUE(CrossAt(marked, x, y));
  EXPECT_FALSE(CrossAt(unmarked, x, y));
  const TableColumns t = TablesOf(s.g);
  EXPECT_TRUE(BlackColumn(marked, t.x, t.valuesTop, t.valuesBottom));
  EXPECT_TRUE(BlackColumn(marked, t.x, t.coPhasesTop, t.coPhasesBottom));
  EXPECT_FALSE(BlackColumn(unmarked, t.x, t.valuesTop, t.valuesBottom));
  EXPECT_FALSE(BlackColumn(unmarked, t.x, t.coPhasesTop, t.coPhasesBottom));

  // Without marking switched on, the point is not printed.
  s.g.SetMarkMode(false);
  TBitmap off;
  s.g.RenderPrintBitmap(off);
  EXPECT_FALSE(CrossAt(off, x, y));
  EXPECT_FALSE(BlackColumn(off, t.x, t.valuesTop, t.valuesBottom));
}

TEST(ExportBitmap, AZoomedPictureLeavesTheCoPhasesTableOut) {
  SampleDiagram s;
  ZoomByDrag(s.g, 40, 1700, 75, 1900);
  ASSERT_TRUE(s.g.Zooming());
  Mark(s.g);
  TBitmap zoomed;
  s.g.RenderPrintBitmap(zoomed);
  const TableColumns t = TablesOf(s.g);
  EXPECT_TRUE(BlackColumn(zoomed, t.x, t.valuesTop, t.valuesBottom));
  EXPECT_FALSE(BlackColumn(zoomed, t.x, t.coPhasesTop, t.coPhasesBottom));
  // The zoomed window 40..80 %, 1700..2000 degrees fills the plot.
  EXPECT_TRUE(CrossAt(zoomed, s.g.CompositionMap().transformRounded(62),
                      s.g.TemperatureMap().transformRounded(1720)));
  EXPECT_EQ(s.g.LowCLimit(), 40);
  EXPECT_EQ(s.g.HighTLimit(), 2000);
}

TEST(ExportBitmap, TheScreenTablesStateDoesNotPaintPaperOntoThePicture) {
  SampleDiagram s;
  Mark(s.g);
  s.g.Repaint();  // the co-phases table is now shown on screen
  s.g.MarkedPoint().CoPhases = 0;  // and would be erased there by the next paint
  TBitmap picture;
  s.g.RenderPrintBitmap(picture);
  EXPECT_EQ(CountColor(picture, NearestColor(s.g.PaperColor())), 0);
  EXPECT_FALSE(BlackColumn(picture, TablesOf(s.g).x, TablesOf(s.g).coPhasesTop,
                           TablesOf(s.g).coPhasesBottom));
}

TEST(ExportBitmap, AWriteThatCannotStartSaysWhyAndLeavesNoFile) {
  MessageCollector messages;
  SampleDiagram s;
  QTemporaryDir dir;
  QFile plain(dir.filePath("plain.txt"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.write("x");
  plain.close();

  const QString noFolder = dir.filePath("missing/sample.bmp");
  const QString underFile = dir.filePath("plain.txt/sample.bmp");
  for (const QString& path : {noFolder, underFile}) {
    EXPECT_FALSE(s.g.SaveToBitmap(path, false));
    EXPECT_FALSE(QFile::exists(path));
  }
  ASSERT_EQ(messages.texts.size(), 2);
  for (const QString& text : messages.texts) {
    EXPECT_TRUE(text.contains("sample.bmp")) << text.toStdString();
    EXPECT_TRUE(text.contains("the folder does not exist")) << text.toStdString();
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"plain.txt"});

  // With a place for the reason, the caller gets it and no box is shown.
  QString reason;
  EXPECT_FALSE(s.g.SaveToBitmap(noFolder, false, &reason));
  EXPECT_TRUE(reason.contains("the folder does not exist"));
  EXPECT_EQ(messages.texts.size(), 2);
}

#ifdef Q_OS_UNIX
TEST(ExportBitmap, AWriteThatFailsMidwayKeepsTheOldFileAndLeavesNothingBehind) {
  // A file size limit makes the write fail part of the way, as a full disk
  // would, whoever runs the test (root writes even into read-only folders).
  SampleDiagram s;
  QTemporaryDir dir;
  const QString path = dir.filePath("sample.bmp");
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("the old picture");
  old.close();

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  QString reason;
  const bool ok = s.g.SaveToBitmap(path, false, &reason);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousSignal);

  EXPECT_FALSE(ok);
  EXPECT_TRUE(reason.contains("sample.bmp")) << reason.toStdString();
  EXPECT_EQ(Contents(path), QByteArray("the old picture"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"sample.bmp"});
}
#endif

TEST(SaveDiagram, TheTypedExtensionChoosesTheFormatAndBmpIsTheDefault) {
  MessageCollector messages;
  SeamsGuard guard;
  TMainForm form;
  form.resize(1000, 700);
  QTemporaryDir dir;
  // The PNG at a chosen size and scale; the bitmap keeps its own size
  // whatever is chosen.
  const QSize window = form.Binagram1()->size();
  QList<TPictureChoice> answers = {{dir.filePath("diagram"), QSize(300, 200), 2},
                                   {dir.filePath("named.bmp"), window, 1},
                                   {dir.filePath("x.png"), QSize(400, 300), 2},
                                   {dir.filePath("x.SVG"), window, 1},
                                   {dir.filePath("x.pdf"), window, 1},
                                   {}};
  QStringList filters;
  QList<QSize> offered;
  ToolSeams().ChoosePicture = [&](QWidget*, const QString&, const QString& filter, QSize size) {
    filters << filter;
    offered << size;
    return answers.takeFirst();
  };
  for (int i = 0; i < 6; ++i) form.BitBtn4Click();  // the last one cancelled
  EXPECT_EQ(filters, QStringList(6, SavePictureFilter));
  EXPECT_EQ(offered, QList<QSize>(6, window));
  EXPECT_TRUE(SavePictureFilter.startsWith("Windows Bitmap Files [*.bmp] (*.bmp);;"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
            (QStringList{"diagram.bmp", "named.bmp", "x.SVG", "x.pdf", "x.png"}));
  // A bitmap is the print picture; the others show the diagram as the window does.
  EXPECT_EQ(QImageReader(dir.filePath("diagram.bmp")).size(), QSize(600, 386));
  EXPECT_EQ(QImageReader(dir.filePath("named.bmp")).format(), QByteArray("bmp"));
  QImageReader png(dir.filePath("x.png"));
  EXPECT_EQ(png.format(), QByteArray("png"));
  EXPECT_EQ(png.size(), QSize(800, 600));
  QFile svg(dir.filePath("x.SVG")), pdf(dir.filePath("x.pdf"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly) && pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains("<svg"));
  EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
  EXPECT_TRUE(messages.texts.isEmpty());
}

TEST(SaveDiagram, AFailedSaveIsReportedToTheUser) {
  MessageCollector messages;
  SeamsGuard guard;
  TMainForm form;
  QTemporaryDir dir;
  ToolSeams().ChoosePicture = [&](QWidget*, const QString&, const QString&, QSize size) {
    return TPictureChoice{dir.filePath("no/such/folder/diagram"), size, 1};
  };
  form.BitBtn4Click();
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts[0].contains("diagram.bmp"));
  EXPECT_TRUE(messages.texts[0].contains("the folder does not exist"));
}

TEST(SaveDiagram, TheRealDialogAsksForTheSizeAndScaleBelowTheName) {
  SeamsGuard guard;
  QTemporaryDir dir;
  bool seen = false;
  // Plays the user in the dialog once it is up: the size row starts at the
  // window's size and is greyed for the bitmap; PNG is chosen, 500 x 320
  // at 3 x, and a name without an extension typed.
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* row = dialog->findChild<QWidget*>("PictureSizeRow");
    auto* width = dialog->findChild<QSpinBox*>("PictureWidth");
    auto* height = dialog->findChild<QSpinBox*>("PictureHeight");
    auto* scale = dialog->findChild<QComboBox*>("PictureScale");
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    if (row && width && height && scale && types) {
      seen = row->isVisible() && !row->isEnabled() && width->value() == 640 && height->value() == 480;
      types->setCurrentIndex(1);  // PNG, as a click on it picks it
      emit types->activated(1);
      emit types->textActivated(types->itemText(1));
      seen = seen && row->isEnabled();
      width->setValue(500);
      height->setValue(320);
      scale->setCurrentIndex(2);
    }
    dialog->selectFile(dir.filePath("picture"));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  const TPictureChoice choice =
      ToolSeams().ChoosePicture(nullptr, QStringLiteral("Save Diagram"), SavePictureFilter, QSize(640, 480));
  EXPECT_TRUE(seen);
  EXPECT_EQ(choice.FileName, dir.filePath("picture.png"));
  EXPECT_EQ(choice.Size, QSize(500, 320));
  EXPECT_EQ(choice.Scale, 3);
}
