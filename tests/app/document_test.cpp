// Diagram documents: what is saved opens to the same picture; what cannot
// be read is refused with the file, the place and the reason, and changes
// nothing; the samples shipped in samples/; Open and Save As in both
// windows, each kind opening in its own window; pictures from the command
// line.
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QApplication>
#include <QMouseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include "app/command_line.h"
#include "app/document.h"
#include "app/document_windows.h"
#include "app/main_form.h"
#include "app/window_kit.h"
#include "app/sample_system.h"
#include "app/ternary_form.h"
#include "app/ternary_sample.h"
#include "message_collector.h"
#include "ternary_test_system.h"

namespace {

const QSize PictureSize(900, 600);

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void Put(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Pixels that differ between two pictures of the same size (all when the
// sizes differ).
int Differing(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return -1;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
  return n;
}

template <class Control>
QImage Picture(Control& g) {
  g.resize(PictureSize);
  g.Repaint();
  return g.Surface().Image().copy();
}

// The binary sample with everything a document holds away from the
// sample's values: 16 areas, a curve of 14 points, the axis inversed, mole
// parts and kelvin reached by converting (so the numbers are no longer
// those typed in), every switch and step changed.
void LoadFullBinary(TBinagram& g) {
  LoadSampleSystem(g);
  for (int i = 8; i < 16; ++i) {
    TPhaseArea a;
    a.Identifier = QString::fromUtf8("Ärea %1 – αβγ").arg(i);
    a.TwoPhase = i % 2;
    a.C = 30 + 4 * i;
    a.T = 1420 + 5 * i;
    g.AreaList().Put(i, a);
  }
  g.SetAreas(16);
  TSplinesData curves = SampleCurves();
  curves.Points.push_back({-1, -1});
  for (int i = 0; i < 14; ++i) curves.Points.push_back({float(30 + 5 * i), float(1450 + (i % 3) * 7)});
  curves.LastIndex = std::uint16_t(curves.Points.size() - 1);
  g.SetSplinesData(curves);
  g.SetDataOrientation(binary::doInversed);
  g.SetCUnits(binary::cuMolParts);
  g.SetTUnits(binary::tuK);
  g.SetHighTLimit(2350.5);
  g.SetLowCLimit(5);
  g.SetHighCLimit(95);
  g.SetGraphKind(binary::gkVertical);
  g.SetBorder(true);
  g.SetPaperColor(0x00C8E0F0);
  g.SetAllowZoom(false);
  g.SetValuesTable(false);
  g.SetCoPhasesTable(false);
  g.SetMarkMode(false);
  g.SetMouseGrid(true);
  g.SetGridType(binary::gtOutsideScale);
  g.SetCAxisStep(10);
  g.SetTAxisStep(50);
  g.SetTitle(QString::fromUtf8("Tïtle with “quotes” and \\ back-slash"));
}

// The small ternary system with isotherms drawn as labelled splines, an
// area of 12 T-points, a curve of 15 points, 16 areas, mass parts,
// Fahrenheit and an exchanged orientation.
void LoadFullTernary(TTernagram& g) {
  using namespace ternarytest;
  LoadTestSystem(g);
  TTernaryArea& a = g.AreaList()[0];
  for (int k = a.TPointCount; k < MaxTPoints; ++k) a.TPoints[k] = {float(62 + k), float(4 + k / 2.0), 1200 + 7 * k};
  a.TPointCount = MaxTPoints;
  for (int i = 3; i < 16; ++i) SetArea(g, i, QString::fromUtf8("Фаза %1 βγδεζηθικλμνξοπρ").arg(i).left(25), 1, 1, {});
  g.SetAreas(16);
  SetCurves(g, {Sep, {60, 40}, {50, 36}, {40, 30}, Sep, {0, 45}, {20, 40}, {40, 30}, Sep, {55, 0},
                {46, 14}, {40, 30}, Sep, {5, 5}, {8, 6}, {11, 8}, {14, 9}, {17, 11}, {20, 12},
                {23, 14}, {26, 15}, {29, 17}, {32, 18}, {35, 20}, {38, 21}, {41, 23}, {44, 24},
                {47, 26}});
  ternary::TIsotherm* iso = g.Isotherms();
  iso->SetGraphType(ternary::itSpline);
  iso->SetColor(0x00308010);
  iso->SetStep(50);
  iso->SetMethodStep(1.5f);
  iso->SetSignStep(15);
  iso->SetSimplified(true);
  iso->SetSmoothedTimes(2);
  iso->SetWidth(1);
  g.SetDrawIsotherms(true);
  g.SetHotIsotherm(1000);
  g.SetHotIsothermColor(0x000000C0);
  g.SetTCalcMethod(ternary::tcPolynomial);
  g.SetCUnits(ternary::cuMassParts);
  g.SetTUnits(ternary::tuF);
  g.SetDataOrientation(ternary::doBCA);
  g.SetGridSteps(4);
  g.SetGridType(ternary::gtOutsideScale);
  g.SetBorder(false);
  g.SetPaperColor(0x00D0D0D0);
  g.SetValuesTable(false);
  g.SetMarkMode(true);
}

void Load(TBinagram& g, const TDiagramDocument& d) { LoadDocument(g, d.Binary); }
void Load(TTernagram& g, const TDiagramDocument& d) { LoadDocument(g, d.Ternary); }

// Saves what the control shows, opens the file again and checks that the
// picture and the file come back unchanged, in a new control and in Other,
// which showed another diagram in other units before.
template <class Control>
void ExpectSameAfterSaveAndOpen(Control& g, Control& Other, const char* Name) {
  SCOPED_TRACE(Name);
  const QImage before = Picture(g);
  QTemporaryDir dir;
  const QString path = dir.filePath("diagram.pdiag");
  QString error;
  ASSERT_TRUE(WriteDocument(path, DocumentOf(g), &error)) << error.toStdString();
  TDiagramDocument read;
  ASSERT_TRUE(ReadDocument(path, read, &error)) << error.toStdString();
  EXPECT_EQ(DocumentText(read).toStdString(), Contents(path).toStdString());
  EXPECT_EQ(Differing(DocumentPicture(read, PictureSize), before), 0);
  MessageCollector messages;
  Load(Other, read);
  EXPECT_EQ(Differing(Picture(Other), before), 0);
  EXPECT_EQ(DocumentText(DocumentOf(Other)).toStdString(), Contents(path).toStdString());
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), b, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

}  // namespace

TEST(Document, WhatIsSavedOpensToTheSamePicture) {
  {
    TBinagram sample, other;
    LoadSampleSystem(sample);
    LoadSampleSystem(other);
    ExpectSameAfterSaveAndOpen(sample, other, "binary sample");
  }
  {
    // Loaded into a zoomed diagram in Fahrenheit: the zoom is left first.
    TBinagram full, zoomed;
    LoadFullBinary(full);
    LoadSampleSystem(zoomed);
    zoomed.SetTUnits(binary::tuF);
    Picture(zoomed);
    const QPoint from(zoomed.CompositionMap().transformRounded(30),
                      zoomed.TemperatureMap().transformRounded(3300));
    const QPoint to(zoomed.CompositionMap().transformRounded(60),
                    zoomed.TemperatureMap().transformRounded(3500));
    SendMouse(&zoomed, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(&zoomed, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(&zoomed, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(zoomed.Zooming());
    ExpectSameAfterSaveAndOpen(full, zoomed, "binary with everything");
  }
  {
    TTernagram test, other;
    ternarytest::LoadTestSystem(test);
    test.SetTCalcMethod(ternary::tcTriangulation);  // stored by its name, after the others
    LoadFullTernary(other);
    ExpectSameAfterSaveAndOpen(test, other, "ternary test system");
  }
  {
    TTernagram full, other;
    LoadFullTernary(full);
    ternarytest::LoadTestSystem(other);
    other.SetDataOrientation(ternary::doCAB);
    other.SetCUnits(ternary::cuMolParts);
    ExpectSameAfterSaveAndOpen(full, other, "ternary with everything");
  }
}

namespace {

// A document text with the value at Path ("areas.3.tpoints") replaced,
// or removed when Value is undefined.
QJsonValue Replaced(const QJsonValue& Node, QStringList Path, const QJsonValue& Value) {
  if (Path.isEmpty()) return Value;
  const QString head = Path.takeFirst();
  if (Node.isArray()) {
    QJsonArray a = Node.toArray();
    const int i = head.toInt();
    while (a.size() <= i) a.append(QJsonValue());
    a[i] = Replaced(a[i], Path, Value);
    return a;
  }
  QJsonObject o = Node.toObject();
  o.insert(head, Replaced(o.value(head), Path, Value));
  return o;
}
QByteArray With(const QByteArray& Text, const QString& Path, const QJsonValue& Value) {
  const QJsonValue root = QJsonDocument::fromJson(Text).object();
  return QJsonDocument(Replaced(root, Path.split('.'), Value).toObject()).toJson();
}
QByteArray Without(const QByteArray& Text, const QString& Path) {
  return With(Text, Path, QJsonValue(QJsonValue::Undefined));
}
QJsonValue Parsed(const char* Json) { return QJsonDocument::fromJson(QByteArray("[") + Json + "]").array()[0]; }

QByteArray BinarySampleText() {
  TBinagram g;
  LoadSampleSystem(g);
  return DocumentText(DocumentOf(g));
}
QByteArray TernaryTestText() {
  TTernagram g;
  ternarytest::LoadTestSystem(g);
  return DocumentText(DocumentOf(g));
}

struct TBadInput {
  const char* Case;
  QByteArray Text;
  QString Place;  // empty: the whole file
  QString What;   // a part of the reason
};

}  // namespace

// Every file below is refused with a message naming the file, the place
// and the reason; the diagram on screen stays as it was and no file on
// disk changes.
TEST(Document, BadFilesAreRefusedWithPlaceAndReasonAndChangeNothing) {
  const QByteArray B = BinarySampleText(), T = TernaryTestText();
  QJsonArray seventeen, thirteen;
  for (int i = 0; i < 17; ++i)
    seventeen.append(QJsonObject{{"identifier", QString("A%1").arg(i)}, {"twoPhase", false}, {"c", 50}, {"t", 1500}});
  for (int i = 0; i < 13; ++i) thirteen.append(QJsonArray{10, 10, 1000});
  const QString long26 = QString::fromUtf8("αβγδεζηθικλμνξοπρστυφχψωάέ");
  ASSERT_EQ(long26.size(), 26);
  const QByteArray deep = QByteArray(5000, '[') + QByteArray(5000, ']');
  QJsonValue nested = QJsonArray{};
  for (int i = 0; i < 200; ++i) nested = QJsonArray{nested};

  const std::vector<TBadInput> cases = {
      {"empty file", "", "line 1, column 1", "not a JSON text"},
      {"not JSON", "phase diagram", "line 1, column 2", "not a JSON text (illegal value)"},
      {"truncated", B.left(B.size() / 2), "", "not a JSON text"},
      {"nested past the reader's limit", deep, "", "not a JSON text (too deeply nested document)"},
      {"a list, not an object", "[1, 2]", "", "expected a JSON object"},
      {"another format", With(B, "format", "svg-drawing"), "format", "not a diagram document"},
      {"no format", Without(B, "format"), "format", "missing field"},
      {"newer version", With(B, "version", 2), "version", "version 2 is newer than this program reads (1)"},
      {"version as text", With(B, "version", "1"), "version", "expected a number, found a text"},
      {"version 0", With(B, "version", 0), "version", "0 is outside 1..1"},
      {"unknown kind", With(B, "kind", "quaternary"), "kind", "\"quaternary\" is none of binary, ternary"},
      {"missing limits", Without(B, "limits"), "limits", "missing field"},
      {"unknown field", With(B, "areas.0.colour", "red"), "areas[0].colour", "unknown field"},
      {"duplicate key", QByteArray(B).replace("\"kind\": \"binary\",", "\"kind\": \"binary\", \"kind\": \"binary\","),
       "kind", "the field appears twice"},
      {"duplicate nested key", QByteArray(B).replace("\"identifier\": \"Liquid\",", "\"identifier\": \"Liquid\", \"ident\\u0069fier\": \"Gas\","),
       "areas[0].identifier", "the field appears twice"},
      {"title a number", With(B, "title", 5), "title", "expected a text, found a number"},
      {"title nested 200 deep", With(B, "title", nested), "title", "expected a text, found a list"},
      {"units an array", With(B, "units", QJsonArray{}), "units", "expected an object, found a list"},
      {"unknown unit", With(B, "units.temperature", "Celsius"), "units.temperature", "is none of tuC, tuK, tuF"},
      {"substances an object", With(B, "substances", QJsonObject{}), "substances", "expected a list, found an object"},
      {"three substances in a binary", With(B, "substances.2", Parsed(R"({"name": "X", "molarMass": 1})")),
       "substances", "3 substances given, this diagram has 2"},
      {"molar mass 0", With(B, "substances.1.molarMass", 0), "substances[1].molarMass", "positive number, not 0"},
      {"negative molar mass", With(B, "substances.0.molarMass", -5), "substances[0].molarMass", "not -5"},
      {"molar mass past a float", With(B, "substances.0.molarMass", 1e39), "substances[0].molarMass", "not 1e+39"},
      {"molar mass as text", With(B, "substances.0.molarMass", "60"), "substances[0].molarMass", "expected a number, found a text"},
      {"number too large", QByteArray(B).replace("\"lowT\": 1400", "\"lowT\": 1e400"), "", "not a JSON text (illegal number)"},
      {"huge temperature", With(B, "areas.0.t", 1e300), "areas[0].t", "1e+300 is outside -100000..100000"},
      {"17 areas", With(B, "areas", seventeen), "areas[16]", "at most 16 areas"},
      {"area a number", With(B, "areas.2", 7), "areas[2]", "expected an object, found a number"},
      {"composition 120", With(B, "areas.2.c", 120), "areas[2].c", "120 is outside 0..100"},
      {"two-phase as text", With(B, "areas.0.twoPhase", "yes"), "areas[0].twoPhase", "expected true or false, found a text"},
      {"empty identifier", With(B, "areas.3.identifier", ""), "areas[3].identifier", "an area needs a name"},
      {"identifier of 26 characters", With(B, "areas.3.identifier", long26), "areas[3].identifier",
       "the name has 26 characters, an area name at most 25"},
      {"curve a number", With(B, "curves.1", 3), "curves[1]", "expected a list, found a number"},
      {"empty curve", With(B, "curves.1", QJsonArray{}), "curves[1]", "a curve needs at least one point"},
      {"point of three", With(B, "curves.2.1", QJsonArray{1, 2, 3}), "curves[2][1]", "expected a point [C, T], found a list of 3"},
      {"point value as text", With(B, "curves.2.1.1", "x"), "curves[2][1][1]", "expected a number, found a text"},
      {"curve composition -1", With(B, "curves.0.0.0", -1), "curves[0][0][0]", "-1 is outside 0..100"},
      {"window under 100 degrees", With(B, "limits.highT", 1450), "limits.highT", "at least 100 degrees"},
      {"window past 3000 C", With(B, "limits.highT", 3001), "limits.highT", "3001 is outside 0..3000"},
      {"composition window upside down", With(B, "limits.lowC", 100), "limits.highC", "above the low one"},
      {"colour by name", With(B, "presentation.paperColor", "red"), "presentation.paperColor", "no colour \"#RRGGBB\""},
      {"switch as number", With(B, "presentation.legend", 1), "presentation.legend", "expected true or false, found a number"},
      {"step the axis cannot take", With(B, "presentation.cAxisStep", 7), "presentation.cAxisStep", "2, 5 or 10, not 7"},
      {"13 T-points", With(T, "areas.0.tpoints", thirteen), "areas[0].tpoints[12]", "at most 12 T-points"},
      {"A + B over 100", With(T, "areas.1.tpoints.0", QJsonArray{70, 40, 1000}), "areas[1].tpoints[0]", "A + B is 110, more than 100"},
      {"T-point temperature not whole", With(T, "areas.1.tpoints.0.2", 1000.5), "areas[1].tpoints[0][2]", "not a whole number"},
      {"fill seed off the triangle", With(T, "areas.2.fill", QJsonArray{101, 0}), "areas[2].fill[0]", "101 is outside 0..100"},
      {"ternary curve over 100", With(T, "curves.0.1", QJsonArray{60, 50}), "curves[0][1]", "A + B is 110"},
      {"isotherm step", With(T, "isotherms.methodStep", 0.3), "isotherms.methodStep", "not a multiple of 0.25"},
      {"isotherms missing", Without(T, "isotherms"), "isotherms", "missing field"},
      {"limits in a ternary", With(T, "limits", QJsonObject{}), "limits", "unknown field"},
  };

  MessageCollector messages;
  TMainForm form;
  TBinagram* g = form.Binagram1();
  const QImage before = Picture(*g);
  const QByteArray sampleText = DocumentText(DocumentOf(*g));
  QTemporaryDir dir;
  const QString path = dir.filePath("bad.pdiag");
  for (const TBadInput& c : cases) {
    SCOPED_TRACE(c.Case);
    Put(path, c.Text);
    TDiagramDocument document;
    QString error;
    ASSERT_FALSE(ReadDocument(path, document, &error));
    const QString start = "Cannot open " + path + ": " + (c.Place.isEmpty() ? QString() : c.Place + ": ");
    EXPECT_TRUE(error.startsWith(start)) << error.toStdString();
    EXPECT_TRUE(error.contains(c.What)) << error.toStdString();
    // The message the user sees when the file is opened, nothing else.
    messages.texts.clear();
    EXPECT_FALSE(OpenDocumentFile(path));
    EXPECT_EQ(messages.texts, QStringList{error});
    EXPECT_EQ(Differing(Picture(*g), before), 0);
    EXPECT_EQ(Contents(path), c.Text);
    ::testing::Test::RecordProperty(c.Case, error.toStdString());
  }
  EXPECT_EQ(DocumentText(DocumentOf(*g)), sampleText);

  // Files that are no document at all.
  const QString big = dir.filePath("big.pdiag");
  Put(big, B + QByteArray(MaxDocumentBytes, ' '));
  const struct {
    QString Path, What;
  } files[] = {{dir.path(), "this is a folder, not a document"},
               {dir.filePath("missing.pdiag"), "there is no such file"},
               {big, QString("the file has %1 bytes; a document has at most 4194304").arg(B.size() + MaxDocumentBytes)},
               // Opens, but reading fails (for every user, root too).
               {"/proc/self/mem", "Cannot open /proc/self/mem: "}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.Path.toStdString());
    messages.texts.clear();
    EXPECT_FALSE(OpenDocumentFile(f.Path));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("Cannot open " + f.Path + ": ")) << messages.texts[0].toStdString();
    EXPECT_TRUE(messages.texts[0].contains(f.What)) << messages.texts[0].toStdString();
    ::testing::Test::RecordProperty(f.Path.toStdString(), messages.texts[0].toStdString());
  }
  EXPECT_EQ(Differing(Picture(*g), before), 0);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"bad.pdiag", "big.pdiag"}));
}

namespace {
struct SeamsGuard {
  ~SeamsGuard() { ResetToolSeams(); }
};
}  // namespace

// Open and Save As on the main window's tool bar: the dialogs' filter, the
// options and the batch calculator following the opened system, the name
// a document is saved under, and failed saves.
TEST(Document, MainWindowOpensAndSavesDocuments) {
  MessageCollector messages;
  SeamsGuard guard;
  TMainForm form;
  TBinagram* g = form.Binagram1();
  QTemporaryDir dir;

  auto* open = form.findChild<QToolButton*>("OpenSpeedButton");
  auto* saveAs = form.findChild<QToolButton*>("SaveAsSpeedButton");
  ASSERT_TRUE(open && saveAs);
  // In a row of their own inside the option column, side by side; the
  // first row keeps its five buttons.
  EXPECT_EQ(form.findChild<QWidget*>("Panel5")->findChildren<QToolButton*>().size(), 5);
  EXPECT_EQ(open->parentWidget(), saveAs->parentWidget());
  EXPECT_LT(open->geometry().right(), saveAs->geometry().left());
  EXPECT_LE(saveAs->geometry().right(), 194);

  // A CaO-SiO2 system in mole percent and Fahrenheit without legend: the
  // compound lists (aluminium, silicon) do not fit it.
  QByteArray text = BinarySampleText();
  text = With(text, "substances.0", Parsed(R"({"name": "CaO", "molarMass": 56.077, "element": "Ca", "elementAtoms": 1})"));
  text = With(text, "units.composition", "cuMolPercents");
  text = With(text, "units.temperature", "tuF");
  text = With(text, "limits", Parsed(R"({"lowT": 2500, "highT": 3900, "lowC": 0, "highC": 100})"));
  text = With(text, "presentation.legend", false);
  text = With(text, "presentation.tAxisStep", 200);
  const QString cao = dir.filePath("cao-sio2.pdiag");
  Put(cao, text);
  QStringList filters;
  ToolSeams().ChooseOpenFile = [&](QWidget*, const QString&, const QString& filter) {
    filters << filter;
    return cao;
  };
  open->click();
  EXPECT_EQ(filters, QStringList{"Phase Diagram Documents (*.pdiag *.json);;All Files (*)"});
  EXPECT_EQ(g->SubstanceA()->Name(), "CaO");
  EXPECT_EQ(g->TUnits(), binary::tuF);
  EXPECT_EQ(g->HighTLimit(), 3900);
  EXPECT_FALSE(form.findChild<QCheckBox*>("CheckBox1")->isChecked());
  EXPECT_EQ(RadioGroupItemIndex(form.findChild<QGroupBox*>("RadioGroup1")), 0);  // Mole %
  EXPECT_EQ(RadioGroupItemIndex(form.findChild<QGroupBox*>("RadioGroup5")), 1);  // F
  EXPECT_EQ(RadioGroupItemIndex(form.findChild<QGroupBox*>("RadioGroup2")), -1);  // 200: none
  EXPECT_EQ(form.findChild<QLabel*>("StackingUnits")->text(), "mole");
  auto mark = [&](double A) {
    g->MarkedPoint().A = A;
    g->MarkedPoint().Visible = true;
    g->OnMarkPoint()(g);
    return form.findChild<QLabel*>("Label14")->text() + " | " + form.findChild<QLabel*>("Label15")->text();
  };
  form.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(1);  // Al(NO3)3*9H2O
  EXPECT_EQ(mark(50), "A: - | B: -");
  EXPECT_EQ(g->Legend(), false);

  // The sample again: the lists fit, the numbers are those of the sample.
  const QString sample = dir.filePath("sample.pdiag");
  Put(sample, BinarySampleText());
  ToolSeams().ChooseOpenFile = [&](QWidget*, const QString&, const QString&) { return sample; };
  open->defaultAction()->trigger();
  EXPECT_TRUE(form.findChild<QCheckBox*>("CheckBox1")->isChecked());
  EXPECT_EQ(form.findChild<QComboBox*>("ComboBox1")->currentIndex(), 0);
  EXPECT_FALSE(form.findChild<QComboBox*>("ComboBox1")->isEnabled());
  form.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(1);
  QString builtInResult;
  {
    // What the window shows with its built-in sample at the same point.
    TMainForm builtIn;
    TBinagram* h = builtIn.Binagram1();
    builtIn.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(1);
    h->MarkedPoint().A = 50;
    h->MarkedPoint().Visible = true;
    h->OnMarkPoint()(h);
    builtInResult = builtIn.findChild<QLabel*>("Label14")->text() + " | " +
                    builtIn.findChild<QLabel*>("Label15")->text();
  }
  EXPECT_TRUE(builtInResult.endsWith(" kg")) << builtInResult.toStdString();
  EXPECT_EQ(mark(50), builtInResult);

  // Save As: ".pdiag" added to a bare name only; the file opens to what
  // the window shows.
  QStringList answers = {dir.filePath("saved"), dir.filePath("named.json")};
  ToolSeams().ChooseSaveFile = [&](QWidget*, const QString&, const QString& filter) {
    EXPECT_EQ(filter, "Phase Diagram Documents (*.pdiag *.json)");
    return answers.takeFirst();
  };
  saveAs->click();
  saveAs->click();
  const QByteArray shown = DocumentText(DocumentOf(*g));
  EXPECT_EQ(Contents(dir.filePath("saved.pdiag")), shown);
  EXPECT_EQ(Contents(dir.filePath("named.json")), shown);
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();

  // A save into a missing folder says why.
  ToolSeams().ChooseSaveFile = [&](QWidget*, const QString&, const QString&) { return dir.filePath("no/such/x"); };
  saveAs->click();
  EXPECT_EQ(messages.texts, QStringList{"Cannot save " + dir.filePath("no/such/x.pdiag") + ": the folder does not exist"});

#ifdef Q_OS_UNIX
  // A save that fails part of the way (a full disk) keeps the old file and
  // leaves nothing behind.
  messages.texts.clear();
  const QString kept = dir.filePath("kept.pdiag");
  Put(kept, "the old document");
  ToolSeams().ChooseSaveFile = [&](QWidget*, const QString&, const QString&) { return kept; };
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1024;
  auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  saveAs->click();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousSignal);
  ASSERT_EQ(messages.texts.size(), 1);
  EXPECT_TRUE(messages.texts[0].startsWith("Cannot save " + kept + ": ")) << messages.texts[0].toStdString();
  EXPECT_EQ(Contents(kept), "the old document");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"cao-sio2.pdiag", "kept.pdiag", "named.json", "sample.pdiag", "saved.pdiag"}));
#endif
}

// Open and Save As on the ternary window's tool bar, and where each kind
// of document goes: a ternary one opened from the main window shows in the
// ternary window with its option pages following it, a binary one opened
// from the ternary window goes to the main window, a refused file changes
// neither, and Save As writes the ternary window's diagram.
TEST(Document, EachKindOpensInItsOwnWindow) {
  MessageCollector messages;
  SeamsGuard guard;
  TMainForm main;
  TTernaryForm ternary(&main);
  ASSERT_EQ(TernaryForm, &ternary);
  TBinagram* b = main.Binagram1();
  TTernagram* t = ternary.Ternagram1();
  QTemporaryDir dir;
  // The ternary window is the main window's child: the main window's own
  // button is looked for in its own strip.
  auto* mainOpen = main.findChild<QWidget*>("DocumentStrip")->findChild<QToolButton*>("OpenSpeedButton");
  ASSERT_NE(mainOpen, nullptr);

  auto* tOpen = ternary.findChild<QToolButton*>("OpenSpeedButton");
  auto* tSaveAs = ternary.findChild<QToolButton*>("SaveAsSpeedButton");
  ASSERT_TRUE(tOpen && tSaveAs);
  EXPECT_EQ(ternary.findChild<QAction*>("OpenAction"), tOpen->defaultAction());
  EXPECT_EQ(ternary.findChild<QAction*>("SaveAsAction"), tSaveAs->defaultAction());
  // Beside Print and Save, inside the option column.
  auto* print = ternary.findChild<QToolButton*>("PrintSpeedButton");
  auto* save = ternary.findChild<QToolButton*>("SaveSpeedButton");
  for (QToolButton* button : {save, tOpen, tSaveAs}) {
    EXPECT_EQ(button->parentWidget(), print->parentWidget());
    EXPECT_EQ(button->geometry().top(), print->geometry().top());
  }
  EXPECT_LT(save->geometry().right(), tOpen->geometry().left());
  EXPECT_LT(tOpen->geometry().right(), tSaveAs->geometry().left());
  EXPECT_LE(tSaveAs->geometry().right(), 186);

  // A ternary document far from the sample: other substances, orientation,
  // units, switches and isotherm settings.
  TTernagram full;
  LoadFullTernary(full);
  QByteArray text = DocumentText(DocumentOf(full));
  for (const auto& [i, name] : {std::pair{0, "Cu"}, {1, "Ni"}, {2, "Zn"}})
    text = With(text, QString("substances.%1.name").arg(i), name);
  text = With(text, "presentation.legend", false);
  const QString ternaryFile = dir.filePath("cu-ni-zn.pdiag");
  Put(ternaryFile, text);
  TDiagramDocument expected;
  ASSERT_TRUE(ReadDocument(ternaryFile, expected, nullptr));
  ASSERT_EQ(expected.Kind, TDiagramKind::Ternary);

  const QByteArray mainBefore = DocumentText(DocumentOf(*b));
  const QByteArray sampleTernary = DocumentText(DocumentOf(*t));
  ASSERT_NE(sampleTernary, DocumentText(expected));
  ToolSeams().ChooseOpenFile = [&](QWidget*, const QString&, const QString&) { return ternaryFile; };
  EXPECT_FALSE(ternary.isVisible());
  mainOpen->click();
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
  EXPECT_TRUE(ternary.isVisible());
  EXPECT_EQ(DocumentText(DocumentOf(*t)).toStdString(), DocumentText(expected).toStdString());
  EXPECT_EQ(DocumentText(DocumentOf(*b)), mainBefore);
  // The option pages show the opened diagram.
  auto* orientations = ternary.findChild<QGroupBox*>("OrientationGroup");
  EXPECT_EQ(RadioGroupItemIndex(orientations), int(ternary::doBCA));
  // Each caption names the corners as they stand after its click: the
  // checked one the corners of the document.
  EXPECT_EQ(RadioGroupItems(orientations)->button(int(ternary::doBCA))->text(), "Cu-Ni-Zn");
  EXPECT_EQ(RadioGroupItems(orientations)->button(0)->text(), "Zn-Cu-Ni");
  EXPECT_EQ(RadioGroupItems(orientations)->button(int(ternary::doCBA))->text(), "Ni-Cu-Zn");
  RadioGroupItems(orientations)->button(int(ternary::doCBA))->click();
  EXPECT_EQ(t->SubstanceA()->Name() + '-' + t->SubstanceB()->Name() + '-' + t->SubstanceC()->Name(),
            "Ni-Cu-Zn");
  EXPECT_EQ(RadioGroupItemIndex(ternary.findChild<QGroupBox*>("CUnitsGroup")), int(ternary::cuMassParts));
  EXPECT_EQ(RadioGroupItemIndex(ternary.findChild<QGroupBox*>("TUnitsGroup")), 1);  // F
  EXPECT_EQ(RadioGroupItemIndex(ternary.findChild<QGroupBox*>("TCalcMethodGroup")), 1);  // polynomial
  EXPECT_FALSE(ternary.findChild<QCheckBox*>("LegendCheckBox")->isChecked());
  EXPECT_FALSE(ternary.findChild<QCheckBox*>("ValuesTableCheckBox")->isChecked());
  EXPECT_TRUE(ternary.findChild<QCheckBox*>("SimplifiedCheckBox")->isChecked());
  EXPECT_TRUE(orientations->isEnabled());

  // A binary document opened from the ternary window goes to the main one.
  QByteArray binaryText = With(BinarySampleText(), "substances.0",
                               Parsed(R"({"name": "CaO", "molarMass": 56.077, "element": "Ca", "elementAtoms": 1})"));
  binaryText = With(binaryText, "presentation.legend", false);
  const QString binaryFile = dir.filePath("cao-sio2.pdiag");
  Put(binaryFile, binaryText);
  TDiagramDocument expectedBinary;
  ASSERT_TRUE(ReadDocument(binaryFile, expectedBinary, nullptr));
  const QByteArray ternaryShown = DocumentText(DocumentOf(*t));
  ToolSeams().ChooseOpenFile = [&](QWidget*, const QString&, const QString&) { return binaryFile; };
  tOpen->click();
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
  EXPECT_EQ(DocumentText(DocumentOf(*b)).toStdString(), DocumentText(expectedBinary).toStdString());
  EXPECT_FALSE(main.findChild<QCheckBox*>("CheckBox1")->isChecked());
  EXPECT_EQ(DocumentText(DocumentOf(*t)), ternaryShown);

  // A refused file, from either window, changes neither diagram.
  const QByteArray mainShown = DocumentText(DocumentOf(*b));
  const QString bad = dir.filePath("bad.pdiag");
  Put(bad, With(text, "areas.0.tpoints.0", Parsed("[80, 30, 900]")));
  QString reason;
  TDiagramDocument unused;
  ASSERT_FALSE(ReadDocument(bad, unused, &reason));
  EXPECT_TRUE(reason.startsWith("Cannot open " + bad + ": areas[0].tpoints[0]: ")) << reason.toStdString();
  ToolSeams().ChooseOpenFile = [&](QWidget*, const QString&, const QString&) { return bad; };
  for (QToolButton* open : {tOpen, mainOpen}) {
    messages.texts.clear();
    open->click();
    EXPECT_EQ(messages.texts, QStringList{reason});
    EXPECT_EQ(DocumentText(DocumentOf(*t)), ternaryShown);
    EXPECT_EQ(DocumentText(DocumentOf(*b)), mainShown);
  }
  messages.texts.clear();

  // Save As writes the ternary window's diagram, as the user changed it,
  // and the file reads back to the same picture.
  ternary.findChild<QCheckBox*>("LegendCheckBox")->click();
  ASSERT_TRUE(t->Legend());
  QStringList filters;
  ToolSeams().ChooseSaveFile = [&](QWidget*, const QString&, const QString& filter) {
    filters << filter;
    return dir.filePath("saved");
  };
  tSaveAs->click();
  EXPECT_EQ(filters, QStringList{"Phase Diagram Documents (*.pdiag *.json)"});
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
  const QString saved = dir.filePath("saved.pdiag");
  EXPECT_EQ(Contents(saved).toStdString(), DocumentText(DocumentOf(*t)).toStdString());
  TDiagramDocument read;
  QString error;
  ASSERT_TRUE(ReadDocument(saved, read, &error)) << error.toStdString();
  EXPECT_TRUE(read.Ternary.Legend);
  // The window's own control as it shows now, against the file's picture.
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ternary));
  t->Repaint();
  const QImage shown = t->Surface().Image().copy();
  ASSERT_EQ(shown.size(), t->size());
  EXPECT_EQ(Differing(DocumentPicture(read, shown.size()), shown), 0);
}

// Where documents go while a window is missing: a ternary document with
// the ternary window gone makes it again, as the main window's button
// does; without a main window a binary document is refused, and the
// ternary window still takes its own kind.
TEST(Document, AMissingWindowIsMadeOrTheDocumentRefused) {
  MessageCollector messages;
  QTemporaryDir dir;
  TTernagram full;
  LoadFullTernary(full);
  const QString ternaryFile = dir.filePath("ternary.pdiag"), binaryFile = dir.filePath("binary.pdiag");
  Put(ternaryFile, DocumentText(DocumentOf(full)));
  Put(binaryFile, BinarySampleText());
  {
    TMainForm main;
    ASSERT_EQ(TernaryForm, nullptr);
    for (int again = 0; again < 2; ++again) {
      ASSERT_TRUE(OpenDocumentFile(ternaryFile));
      ASSERT_NE(TernaryForm, nullptr);
      EXPECT_EQ(TernaryForm->parentWidget(), &main);
      EXPECT_EQ(DocumentText(DocumentOf(*TernaryForm->Ternagram1())), Contents(ternaryFile));
      delete TernaryForm;
    }
  }
  auto* ternary = new TTernaryForm;
  EXPECT_FALSE(OpenDocumentFile(binaryFile));
  EXPECT_EQ(messages.texts, QStringList{"Cannot open " + binaryFile + ": there is no main window to show it in"});
  EXPECT_TRUE(OpenDocumentFile(ternaryFile));
  EXPECT_EQ(DocumentText(DocumentOf(*ternary->Ternagram1())), Contents(ternaryFile));
  delete ternary;
  messages.texts.clear();
  EXPECT_FALSE(OpenDocumentFile(ternaryFile));
  EXPECT_EQ(messages.texts, QStringList{"Cannot open " + ternaryFile + ": there is no ternary window to show it in"});
}

// The command line: what each argument list asks for, and what is wrong
// with those that make no sense.
TEST(CommandLine, ArgumentsAndTheirMistakes) {
  using C = TCommandLine;
  TCommandLine none = ParseCommandLine({});
  EXPECT_EQ(none.Action, C::caWindows);
  EXPECT_TRUE(none.OpenFile.isEmpty());
  EXPECT_EQ(ParseCommandLine({"d.pdiag"}).OpenFile, "d.pdiag");
  const TCommandLine batch = ParseCommandLine({"--render", "a.pdiag", "a.png", "b.pdiag", "b.pdf", "--size", "640x480"});
  EXPECT_EQ(batch.Action, C::caRender);
  EXPECT_EQ(batch.Size, QSize(640, 480));
  EXPECT_EQ(batch.Renders, (std::vector<std::pair<QString, QString>>{{"a.pdiag", "a.png"}, {"b.pdiag", "b.pdf"}}));
  EXPECT_EQ(ParseCommandLine({"--render", "a", "a.bmp"}).Size, QSize(800, 600));
  EXPECT_EQ(ParseCommandLine({"--help"}).Action, C::caHelp);
  EXPECT_EQ(ParseCommandLine({"--version"}).Action, C::caVersion);
  EXPECT_EQ(ParseCommandLine({"--write-samples", "out"}).SamplesFolder, "out");

  const struct {
    QStringList Arguments;
    const char* Error;
  } wrong[] = {
      {{"--render"}, "--render needs pairs of FILE and PICTURE"},
      {{"--render", "a.pdiag"}, "--render needs pairs of FILE and PICTURE"},
      {{"--render", "a", "a.png", "--size", "0x10"}, "--size needs WIDTHxHEIGHT, each 1..10000, not \"0x10\""},
      {{"--render", "a", "a.png", "--size"}, "--size needs WIDTHxHEIGHT, each 1..10000, not \"\""},
      {{"--render", "a", "a.png", "--size", "20000x10"}, "--size needs WIDTHxHEIGHT"},
      {{"--render", "a", "a.png", "--size=8x8", "--size=9x9"}, "--size is given twice"},
      {{"--render", "a", "a.png", "--frobnicate"}, "unknown option --frobnicate"},
      {{"--bogus"}, "unknown option --bogus"},
      {{"a.pdiag", "b.pdiag"}, "the windows open one FILE at a time"},
      {{"--help", "x"}, "--help takes no arguments"},
      {{"--write-samples"}, "--write-samples needs one FOLDER"},
  };
  for (const auto& w : wrong) {
    const TCommandLine line = ParseCommandLine(w.Arguments);
    EXPECT_EQ(line.Action, C::caError) << w.Arguments.join(' ').toStdString();
    EXPECT_TRUE(line.Error.startsWith(w.Error)) << line.Error.toStdString();
  }
}

// --render: the three formats as other readers see them, many documents
// in one call, and failures that write nothing.
TEST(CommandLine, RenderWritesPicturesOfDocuments) {
  QTemporaryDir dir;
  const QString binary = dir.filePath("binary.pdiag"), ternary = dir.filePath("ternary.pdiag");
  Put(binary, BinarySampleText());
  Put(ternary, TernaryTestText());
  TCommandLine line = ParseCommandLine({"--render", binary, dir.filePath("b.png"), binary, dir.filePath("b.bmp"),
                                        ternary, dir.filePath("t.PNG"), ternary, dir.filePath("t.pdf"),
                                        "--size", "640x400"});
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(RunCommandLine(line, out, err), 0);
  EXPECT_EQ(std::ftell(err), 0);

  TDiagramDocument b, t;
  ASSERT_TRUE(ReadDocument(binary, b, nullptr));
  ASSERT_TRUE(ReadDocument(ternary, t, nullptr));
  const QImage expectB = DocumentPicture(b, QSize(640, 400)), expectT = DocumentPicture(t, QSize(640, 400));
  for (const auto& [file, expected] : {std::pair{"b.png", expectB}, {"b.bmp", expectB}, {"t.PNG", expectT}}) {
    SCOPED_TRACE(file);
    QImageReader reader(dir.filePath(file));
    EXPECT_EQ(Differing(reader.read(), expected), 0) << reader.errorString().toStdString();
  }
  const QByteArray pdf = Contents(dir.filePath("t.pdf"));
  EXPECT_TRUE(pdf.startsWith("%PDF-"));
  EXPECT_TRUE(pdf.contains("/MediaBox [0 0 480.000000 300.000000]"));  // 640 x 400 pixels at 96 dpi, in points

  // Failures: one line each on standard error, nothing written, and the
  // other pairs still rendered.
  Put(dir.filePath("old.png"), "old picture");
  line = ParseCommandLine({"--render", dir.filePath("missing.pdiag"), dir.filePath("old.png"), binary,
                           dir.filePath("b.gif"), binary, dir.filePath("no/folder/b.png"), binary,
                           dir.filePath("again.png")});
  std::rewind(err);
  EXPECT_EQ(RunCommandLine(line, out, err), 1);
  std::rewind(err);
  QStringList lines;
  char buf[4096];
  while (std::fgets(buf, sizeof buf, err)) lines << QString::fromLocal8Bit(buf);
  ASSERT_EQ(lines.size(), 3) << lines.join("").toStdString();
  EXPECT_EQ(lines[0], "phasediagrams: Cannot open " + dir.filePath("missing.pdiag") + ": there is no such file\n");
  EXPECT_TRUE(lines[1].contains("the picture's name must end in .png, .bmp, .svg or .pdf"));
  EXPECT_TRUE(lines[2].contains("the folder does not exist"));
  EXPECT_EQ(Contents(dir.filePath("old.png")), "old picture");
  EXPECT_EQ(Differing(QImage(dir.filePath("again.png")), DocumentPicture(b, QSize(800, 600))), 0);
  std::fclose(out);
  std::fclose(err);
}

// The documents in samples/ are the built-in samples, written by
// "phasediagrams --write-samples samples": the same text and, opened, the
// same picture. The ternary one is the sample as the ternary window shows
// it (no border, on the window's colour).
TEST(Document, ShippedSamplesAreTheBuiltInOnes) {
  const QString folder = QStringLiteral(PD_SOURCE_DIR "/samples");
  TBinagram binary;
  LoadSampleSystem(binary);
  TTernagram ternary;
  ternary.SetBorder(false);
  ternary.SetPaperColor(clBtnFace);
  LoadTernarySample(ternary);
  const TTernaryForm window;
  ASSERT_EQ(DocumentText(DocumentOf(*window.Ternagram1())), DocumentText(DocumentOf(ternary)));
  struct {
    const char* File;
    TDiagramKind Kind;
    TDiagramDocument BuiltIn;
    QImage Picture;
  } samples[] = {{"al2o3-sio2.pdiag", TDiagramKind::Binary, DocumentOf(binary), Picture(binary)},
                 {"bi-pb-sn.pdiag", TDiagramKind::Ternary, DocumentOf(ternary), Picture(ternary)}};
  // The shipped samples name the schema shipped beside them.
  ASSERT_TRUE(QFileInfo::exists(folder + "/" + DocumentSchemaName));
  for (auto& sample : samples) sample.BuiltIn.Schema = DocumentSchemaName;
  QString error;
  for (const auto& sample : samples) {
    SCOPED_TRACE(sample.File);
    const QString file = folder + "/" + sample.File;
    EXPECT_EQ(Contents(file).toStdString(), DocumentText(sample.BuiltIn).toStdString());
    TDiagramDocument read;
    ASSERT_TRUE(ReadDocument(file, read, &error)) << error.toStdString();
    EXPECT_EQ(read.Kind, sample.Kind);
    EXPECT_EQ(Differing(DocumentPicture(read, PictureSize), sample.Picture), 0);
  }

  // What --write-samples writes now is what is shipped, and nothing else.
  QTemporaryDir dir;
  ASSERT_TRUE(WriteSamples(dir.path(), &error)) << error.toStdString();
  for (const QString& name : QDir(folder).entryList({"*.pdiag"}, QDir::Files))
    EXPECT_EQ(Contents(dir.filePath(name)), Contents(folder + "/" + name)) << name.toStdString();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"al2o3-sio2.pdiag", "bi-pb-sn.pdiag"}));
  EXPECT_EQ(QDir(folder).entryList({"*.pdiag"}, QDir::Files), (QStringList{"al2o3-sio2.pdiag", "bi-pb-sn.pdiag"}));
}
