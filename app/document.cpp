// Diagram documents: the JSON text, its checks, and the files.
#include "app/document.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

const QString DocumentFormat = QStringLiteral("phasediagrams-diagram");
const QString DocumentExtension = QStringLiteral("pdiag");
const QString DocumentSchemaName = QStringLiteral("pdiag.schema.json");
const QString DocumentFilter = QStringLiteral("Phase Diagram Documents (*.pdiag *.json)");

namespace {

// --- Names of the enumerations, as the controls call their values ----------

const QStringList BinaryCUnitNames = {"cuMolPercents", "cuMolParts", "cuMassPercents",
                                      "cuMassParts"};
const QStringList TUnitNames = {"tuC", "tuK", "tuF"};
const QStringList BinaryOrientationNames = {"doDirect", "doInversed"};
const QStringList TernaryOrientationNames = {"doDirect", "doACB", "doBAC",
                                             "doBCA",    "doCAB", "doCBA"};
const QStringList GraphKindNames = {"gkHorizontal", "gkVertical"};
const QStringList BinaryGridNames = {"gtOverAllScale", "gtOutsideScale"};
const QStringList TernaryGridNames = {"gtInnerParallel", "gtOutsideScale", "gtAllScales"};
const QStringList GraphTypeNames = {"gtPhase", "gtMelting"};
const QStringList CalcMethodNames = {"tcAltitude", "tcPolynomial", "tcThermodynamic", "tcTriangulation"};
const QStringList IsothermTypeNames = {"itPoints", "itPolyline", "itSpline"};
const QStringList IsothermMethodNames = {"imCornerConsecutive", "imCenterRadial"};

// --- Refusals ----------------------------------------------------------------

// Thrown inside the reader only; ParseDocument turns it into its result.
struct TRefusal {
  QString Place;
  QString What;
};

[[noreturn]] void Refuse(const QString& Place, const QString& What) { throw TRefusal{Place, What}; }

QString Join(const QString& Path, const QString& Key) {
  return Path.isEmpty() ? Key : Path + '.' + Key;
}
QString At(const QString& Path, qsizetype Index) {
  return Path + '[' + QString::number(Index) + ']';
}

QString Kind(const QJsonValue& v) {
  switch (v.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("true/false");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a text");
    case QJsonValue::Array: return QStringLiteral("a list");
    case QJsonValue::Object: return QStringLiteral("an object");
    default: return QStringLiteral("nothing");
  }
}

[[noreturn]] void WrongType(const QString& Place, const QString& Expected, const QJsonValue& v) {
  Refuse(Place, QStringLiteral("expected %1, found %2").arg(Expected, Kind(v)));
}

// Numbers in messages, as the file would write them.
QString Num(double v) {
  if (v == std::trunc(v) && std::abs(v) < 1e15) return QString::number(qint64(v));
  return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

// An object whose keys are the ones listed; others are refused, so that a
// misspelt field is not silently ignored.
class TObject {
 public:
  TObject(const QJsonValue& Value, QString Path, const std::vector<const char*>& Keys,
          std::initializer_list<const char*> Optional = {})
      : path_(std::move(Path)) {
    if (!Value.isObject()) WrongType(path_, QStringLiteral("an object"), Value);
    o_ = Value.toObject();
    QSet<QString> known;
    for (const char* k : Keys) known.insert(QLatin1String(k));
    for (const char* k : Optional) known.insert(QLatin1String(k));
    for (auto it = o_.begin(); it != o_.end(); ++it)
      if (!known.contains(it.key()))
        Refuse(Join(path_, it.key()), QStringLiteral("unknown field"));
    for (const char* k : Keys)
      if (!o_.contains(QLatin1String(k))) Refuse(Join(path_, k), QStringLiteral("missing field"));
  }
  QJsonValue operator[](const char* Key) const { return o_.value(QLatin1String(Key)); }
  bool Has(const char* Key) const { return o_.contains(QLatin1String(Key)); }
  QString Path(const char* Key) const { return Join(path_, Key); }

 private:
  QString path_;
  QJsonObject o_;
};

double Number(const QJsonValue& v, const QString& Place) {
  if (!v.isDouble()) WrongType(Place, QStringLiteral("a number"), v);
  const double d = v.toDouble();
  if (!std::isfinite(d)) Refuse(Place, QStringLiteral("the number is too large"));
  return d;
}

double Number(const QJsonValue& v, const QString& Place, double Low, double High) {
  const double d = Number(v, Place);
  if (d < Low || d > High)
    Refuse(Place, QStringLiteral("%1 is outside %2..%3").arg(Num(d), Num(Low), Num(High)));
  return d;
}

// A single-precision field: a number within the range of a float.
float Single(const QJsonValue& v, const QString& Place, double Low, double High) {
  return float(Number(v, Place, Low, High));
}

int Integer(const QJsonValue& v, const QString& Place, int Low, int High) {
  const double d = Number(v, Place);
  if (d != std::trunc(d)) Refuse(Place, QStringLiteral("%1 is not a whole number").arg(Num(d)));
  if (d < Low || d > High)
    Refuse(Place, QStringLiteral("%1 is outside %2..%3").arg(Num(d)).arg(Low).arg(High));
  return int(d);
}

bool Bool(const QJsonValue& v, const QString& Place) {
  if (!v.isBool()) WrongType(Place, QStringLiteral("true or false"), v);
  return v.toBool();
}

QString Text(const QJsonValue& v, const QString& Place, int MaxLength) {
  if (!v.isString()) WrongType(Place, QStringLiteral("a text"), v);
  const QString s = v.toString();
  if (s.size() > MaxLength)
    Refuse(Place, QStringLiteral("the text has %1 characters, at most %2 are allowed")
                      .arg(s.size())
                      .arg(MaxLength));
  return s;
}

QJsonArray List(const QJsonValue& v, const QString& Place) {
  if (!v.isArray()) WrongType(Place, QStringLiteral("a list"), v);
  return v.toArray();
}

template <class E>
E Enumerator(const QJsonValue& v, const QString& Place, const QStringList& Names) {
  if (!v.isString()) WrongType(Place, QStringLiteral("a text"), v);
  const qsizetype i = Names.indexOf(v.toString());
  if (i < 0)
    Refuse(Place, QStringLiteral("\"%1\" is none of %2").arg(v.toString(), Names.join(", ")));
  return E(i);
}

// Colours are written "#RRGGBB" (red, green, blue), the way web pages and
// most paint programs write them.
TColor Colour(const QJsonValue& v, const QString& Place) {
  if (!v.isString()) WrongType(Place, QStringLiteral("a colour \"#RRGGBB\""), v);
  const QString s = v.toString();
  bool ok = s.size() == 7 && s[0] == '#';
  const uint rgb = ok ? s.mid(1).toUInt(&ok, 16) : 0;
  if (!ok || s.mid(1).contains(QRegularExpression("[^0-9A-Fa-f]")))
    Refuse(Place, QStringLiteral("\"%1\" is no colour \"#RRGGBB\"").arg(s));
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QString ColourText(TColor c) {
  return QStringLiteral("#%1%2%3")
      .arg(GetRValue(c), 2, 16, QChar('0'))
      .arg(GetGValue(c), 2, 16, QChar('0'))
      .arg(GetBValue(c), 2, 16, QChar('0'))
      .toUpper();
}

// Numbers as a user would write them. Unit conversions there and back
// leave rounding errors: 97.5 % by mass goes to mole percent and back as
// 97.49999999999999, a float 1900 as 1899.9999, a composition of 0 as
// -9e-15. A number of precision F (float or double) is written with the
// fewest decimals that keep it within a few units in its last place at the
// scale of the diagram's numbers (100, the full scale of compositions, or
// the number's own size when larger): 2 for a float, 16 for a double
// (about 2e-13 of a percent). A value the user typed is written as typed
// (101.9613 stays 101.9613); the file reads back to values within that
// tolerance, and saving them again writes the same text.
template <class F>
double Tidy(F Value) {
  if (!std::isfinite(Value)) return double(Value);
  constexpr int Ulps = std::is_same_v<F, float> ? 2 : 16;
  auto nearest = [](F f) {
    const F scale = std::max(std::fabs(f), F(100));
    const double tolerance = Ulps * double(std::nextafter(scale, std::numeric_limits<F>::infinity()) - scale);
    char buf[128];
    double d = 0;
    for (int decimals = 0; decimals <= 40; ++decimals) {
      const auto r = std::to_chars(buf, buf + sizeof buf, f, std::chars_format::fixed, decimals);
      if (r.ec != std::errc()) break;
      std::from_chars(buf, r.ptr, d);
      if (std::fabs(d - double(f)) <= tolerance) return d == 0 ? 0.0 : d;  // no "-0"
    }
    // The shortest decimal that reads back to f itself.
    const auto r = std::to_chars(buf, buf + sizeof buf, f);
    std::from_chars(buf, r.ptr, d);
    return d;
  };
  // Until written again unchanged, as the value read back would be.
  double d = nearest(Value);
  for (int i = 0; i < 8; ++i) {
    const double again = nearest(F(d));
    if (again == d) break;
    d = again;
  }
  return d;
}

// --- Duplicate keys ----------------------------------------------------------

// QJsonDocument keeps the last of two equal keys without a word; a file
// that says two things about one field is refused instead. Runs over text
// that has already parsed, so it only follows the nesting.
void RefuseDuplicateKeys(const QByteArray& Text) {
  struct TFrame {
    bool Object;
    QString Path;
    QSet<QString> Keys;
    QString LastKey;
    bool ExpectKey = true;
    qsizetype Index = 0;
  };
  std::vector<TFrame> stack;
  auto childPath = [&]() -> QString {
    if (stack.empty()) return QString();
    const TFrame& f = stack.back();
    return f.Object ? Join(f.Path, f.LastKey) : At(f.Path, f.Index);
  };
  const qsizetype n = Text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char ch = Text[i];
    switch (ch) {
      case '{':
      case '[': {
        TFrame f{ch == '{', childPath(), {}, {}, true, 0};
        stack.push_back(std::move(f));
        break;
      }
      case '}':
      case ']':
        if (!stack.empty()) stack.pop_back();
        break;
      case ',':
        if (!stack.empty()) {
          if (stack.back().Object)
            stack.back().ExpectKey = true;
          else
            ++stack.back().Index;
        }
        break;
      case ':':
        if (!stack.empty()) stack.back().ExpectKey = false;
        break;
      case '"': {
        // The string, its escapes decoded.
        QString s;
        QByteArray run;
        ++i;
        for (; i < n && Text[i] != '"'; ++i) {
          if (Text[i] != '\\') {
            run += Text[i];
            continue;
          }
          s += QString::fromUtf8(run);
          run.clear();
          const char e = i + 1 < n ? Text[++i] : '\\';
          switch (e) {
            case 'b': s += '\b'; break;
            case 'f': s += '\f'; break;
            case 'n': s += '\n'; break;
            case 'r': s += '\r'; break;
            case 't': s += '\t'; break;
            case 'u':
              s += QChar(char16_t(Text.mid(i + 1, 4).toUInt(nullptr, 16)));
              i += 4;
              break;
            default: s += QChar::fromLatin1(e); break;
          }
        }
        s += QString::fromUtf8(run);
        if (!stack.empty() && stack.back().Object && stack.back().ExpectKey) {
          TFrame& f = stack.back();
          if (f.Keys.contains(s))
            Refuse(Join(f.Path, s), QStringLiteral("the field appears twice"));
          f.Keys.insert(s);
          f.LastKey = s;
        }
        break;
      }
      default: break;
    }
  }
}

// --- Reading -----------------------------------------------------------------

TDocumentSubstance ReadSubstance(const QJsonValue& v, const QString& Path) {
  const TObject o(v, Path, {"name", "molarMass"}, {"element", "elementAtoms"});
  TDocumentSubstance s;
  s.Name = Text(o["name"], o.Path("name"), MaxNameLength);
  if (s.Name.isEmpty()) Refuse(o.Path("name"), QStringLiteral("a substance needs a name"));
  const double m = Number(o["molarMass"], o.Path("molarMass"));
  if (!(m > 0) || m > std::numeric_limits<float>::max() || !(float(m) > 0))
    Refuse(o.Path("molarMass"),
           QStringLiteral("a molar mass must be a positive number, not %1").arg(Num(m)));
  s.MolMass = float(m);
  if (o.Has("element")) s.Element = Text(o["element"], o.Path("element"), 8);
  if (o.Has("elementAtoms")) s.ElementAtoms = Integer(o["elementAtoms"], o.Path("elementAtoms"), 0, 1000);
  return s;
}

template <std::size_t N>
void ReadSubstances(const QJsonValue& v, const QString& Path, std::array<TDocumentSubstance, N>& Out) {
  const QJsonArray list = List(v, Path);
  if (list.size() != qsizetype(N))
    Refuse(Path, QStringLiteral("%1 substances given, this diagram has %2").arg(list.size()).arg(N));
  for (std::size_t i = 0; i < N; ++i) Out[i] = ReadSubstance(list[qsizetype(i)], At(Path, qsizetype(i)));
}

QString ReadIdentifier(const QJsonValue& v, const QString& Place) {
  if (!v.isString()) WrongType(Place, QStringLiteral("a text"), v);
  const QString s = v.toString();
  if (s.isEmpty()) Refuse(Place, QStringLiteral("an area needs a name"));
  // The controls keep 25 characters; a longer name would come back cut.
  if (s.size() > MaxIdentifierLength)
    Refuse(Place, QStringLiteral("the name has %1 characters, an area name at most %2")
                      .arg(s.size())
                      .arg(MaxIdentifierLength));
  return s;
}

QJsonArray AreaList(const QJsonValue& v, const QString& Path) {
  const QJsonArray list = List(v, Path);
  if (list.size() > MaxAreas) Refuse(At(Path, MaxAreas), QStringLiteral("a diagram has at most 16 areas"));
  return list;
}

// A point of a ternary diagram: A and B in percent, together at most 100.
std::pair<double, double> TernaryPoint(const QJsonArray& p, const QString& Path) {
  const double a = Number(p[0], At(Path, 0), 0, 100);
  const double b = Number(p[1], At(Path, 1), 0, 100);
  if (a + b > 100)
    Refuse(Path, QStringLiteral("A + B is %1, more than 100").arg(Num(a + b)));
  return {a, b};
}

QJsonArray Tuple(const QJsonValue& v, const QString& Place, int Count, const char* Shape) {
  const QJsonArray p = List(v, Place);
  if (p.size() != Count)
    Refuse(Place, QStringLiteral("expected %1, found a list of %2").arg(QLatin1String(Shape)).arg(p.size()));
  return p;
}

// The curves: a list of runs, each a list of points; a run has at least one
// point. Point reads one point (its place given).
template <class F>
std::vector<TDocumentRun> ReadCurves(const QJsonValue& v, const QString& Path, F&& Point) {
  std::vector<TDocumentRun> runs;
  const QJsonArray list = List(v, Path);
  qsizetype total = 0;
  for (qsizetype r = 0; r < list.size(); ++r) {
    const QString runPath = At(Path, r);
    const QJsonArray run = List(list[r], runPath);
    if (run.isEmpty()) Refuse(runPath, QStringLiteral("a curve needs at least one point"));
    total += run.size() + 1;  // and the separator before it
    if (total > MaxCurvePoints)
      Refuse(runPath, QStringLiteral("more than %1 curve points in all").arg(MaxCurvePoints));
    TDocumentRun points;
    points.reserve(std::size_t(run.size()));
    for (qsizetype i = 0; i < run.size(); ++i) points.push_back(Point(run[i], At(runPath, i)));
    runs.push_back(std::move(points));
  }
  return runs;
}

// What both kinds begin with: the "units" block (the document's unit
// enumerators, with the orientations its kind has), the substances and the
// title.
template <class TDocument>
void ReadHead(const TObject& doc, TDocument& d, const QStringList& orientationNames) {
  using TCU = decltype(d.CUnits);
  using TTU = decltype(d.TUnits);
  using TDO = decltype(d.DataOrientation);
  const TObject u(doc["units"], doc.Path("units"), {"composition", "temperature", "orientation"});
  d.CUnits = Enumerator<TCU>(u["composition"], u.Path("composition"), BinaryCUnitNames);
  d.TUnits = Enumerator<TTU>(u["temperature"], u.Path("temperature"), TUnitNames);
  d.DataOrientation = Enumerator<TDO>(u["orientation"], u.Path("orientation"), orientationNames);
  ReadSubstances(doc["substances"], doc.Path("substances"), d.Substances);
  d.Title = Text(doc["title"], doc.Path("title"), MaxTitleLength);
}

// The presentation fields of the settings both kinds share, and the keys of
// a kind's presentation block with them.
const std::vector<const char*> PlotSettingKeys = {"border", "paperColor", "drawSplines", "drawAreas",
                                                  "allowZoom", "legend", "valuesTable", "coPhasesTable",
                                                  "markMode", "mouseGrid"};

std::vector<const char*> WithPlotSettingKeys(std::initializer_list<const char*> KindKeys) {
  std::vector<const char*> keys = PlotSettingKeys;
  keys.insert(keys.end(), KindKeys);
  return keys;
}

void ReadPlotSettings(const TObject& p, TPlotSettings& d) {
  d.Border = Bool(p["border"], p.Path("border"));
  d.PaperColor = Colour(p["paperColor"], p.Path("paperColor"));
  d.DrawSplines = Bool(p["drawSplines"], p.Path("drawSplines"));
  d.DrawAreas = Bool(p["drawAreas"], p.Path("drawAreas"));
  d.AllowZoom = Bool(p["allowZoom"], p.Path("allowZoom"));
  d.Legend = Bool(p["legend"], p.Path("legend"));
  d.ValuesTable = Bool(p["valuesTable"], p.Path("valuesTable"));
  d.CoPhasesTable = Bool(p["coPhasesTable"], p.Path("coPhasesTable"));
  d.MarkMode = Bool(p["markMode"], p.Path("markMode"));
  d.MouseGrid = Bool(p["mouseGrid"], p.Path("mouseGrid"));
}

void ReadBinary(const TObject& doc, TBinaryDocument& d) {
  using namespace binary;
  ReadHead(doc, d, BinaryOrientationNames);

  const QJsonArray areas = AreaList(doc["areas"], doc.Path("areas"));
  for (qsizetype i = 0; i < areas.size(); ++i) {
    const TObject a(areas[i], At(doc.Path("areas"), i), {"identifier", "twoPhase", "c", "t"});
    TPhaseArea area;
    area.Identifier = ReadIdentifier(a["identifier"], a.Path("identifier"));
    area.TwoPhase = Bool(a["twoPhase"], a.Path("twoPhase")) ? 1 : 0;
    area.C = Single(a["c"], a.Path("c"), 0, 100);
    area.T = Single(a["t"], a.Path("t"), -MaxDocumentTemperature, MaxDocumentTemperature);
    d.Areas.push_back(area);
  }

  d.Curves = ReadCurves(doc["curves"], doc.Path("curves"), [](const QJsonValue& v, const QString& p) {
    const QJsonArray pt = Tuple(v, p, 2, "a point [C, T]");
    return std::pair{Number(pt[0], At(p, 0), 0, 100),
                     Number(pt[1], At(p, 1), -MaxDocumentTemperature, MaxDocumentTemperature)};
  });

  {
    // The window the control accepts in the document's temperature unit.
    const TObject l(doc["limits"], doc.Path("limits"), {"lowT", "highT", "lowC", "highC"});
    static constexpr double range[3][2] = {{0, 3000}, {273.15, 3273.15}, {32, 5432}};
    const double lo = range[d.TUnits][0], hi = range[d.TUnits][1];
    d.LowTLimit = Number(l["lowT"], l.Path("lowT"), lo, hi);
    d.HighTLimit = Number(l["highT"], l.Path("highT"), lo, hi);
    if (d.HighTLimit - d.LowTLimit < 100)
      Refuse(l.Path("highT"), QStringLiteral("the high limit must be at least 100 degrees above the low one"));
    d.LowCLimit = Number(l["lowC"], l.Path("lowC"), 0, 100);
    d.HighCLimit = Number(l["highC"], l.Path("highC"), 0, 100);
    if (!(d.LowCLimit < d.HighCLimit))
      Refuse(l.Path("highC"), QStringLiteral("the high limit must be above the low one"));
  }

  const TObject p(doc["presentation"], doc.Path("presentation"),
                  WithPlotSettingKeys({"graphKind", "gridType", "cAxisStep", "tAxisStep"}));
  ReadPlotSettings(p, d);
  d.GraphKind = Enumerator<TGraphKind>(p["graphKind"], p.Path("graphKind"), GraphKindNames);
  d.GridType = Enumerator<TGridType>(p["gridType"], p.Path("gridType"), BinaryGridNames);
  d.CAxisStep = Integer(p["cAxisStep"], p.Path("cAxisStep"), 2, 10);
  if (d.CAxisStep != 2 && d.CAxisStep != 5 && d.CAxisStep != 10)
    Refuse(p.Path("cAxisStep"), QStringLiteral("the step is 2, 5 or 10, not %1").arg(d.CAxisStep));
  d.TAxisStep = Integer(p["tAxisStep"], p.Path("tAxisStep"), 10, 100000);
}

void ReadTernary(const TObject& doc, TTernaryDocument& d) {
  using namespace ternary;
  ReadHead(doc, d, TernaryOrientationNames);

  const QJsonArray areas = AreaList(doc["areas"], doc.Path("areas"));
  for (qsizetype i = 0; i < areas.size(); ++i) {
    const TObject a(areas[i], At(doc.Path("areas"), i), {"identifier", "twoPhase", "fill", "tpoints"},
                    {"primary"});
    TTernaryArea area;
    area.Identifier = ReadIdentifier(a["identifier"], a.Path("identifier"));
    area.TwoPhase = Bool(a["twoPhase"], a.Path("twoPhase")) ? 1 : 0;
    const auto fill = TernaryPoint(Tuple(a["fill"], a.Path("fill"), 2, "a seed [A, B]"), a.Path("fill"));
    area.FillA = float(fill.first);
    area.FillB = float(fill.second);
    const QJsonArray points = List(a["tpoints"], a.Path("tpoints"));
    if (points.size() > MaxTPoints)
      Refuse(At(a.Path("tpoints"), MaxTPoints), QStringLiteral("an area has at most 12 T-points"));
    for (qsizetype k = 0; k < points.size(); ++k) {
      const QString place = At(a.Path("tpoints"), k);
      const QJsonArray pt = Tuple(points[k], place, 3, "a T-point [A, B, T]");
      const auto ab = TernaryPoint(pt, place);
      // Whole degrees Celsius from absolute zero up; the isotherm ladder
      // runs over the span every 50 degrees.
      const int t = Integer(pt[2], At(place, 2), -273, 10000);
      area.TPoints[std::size_t(k)] = {float(ab.first), float(ab.second), t};
    }
    area.TPointCount = std::uint8_t(points.size());
    if (a.Has("primary")) {
      // The solid crystallizing first from the area's melts.
      const auto p = TernaryPoint(Tuple(a["primary"], a.Path("primary"), 2, "a composition [A, B]"),
                                  a.Path("primary"));
      area.PrimaryPhase = {true, float(p.first), float(p.second)};
    }
    d.Areas.push_back(area);
  }

  d.Curves = ReadCurves(doc["curves"], doc.Path("curves"), [](const QJsonValue& v, const QString& p) {
    return TernaryPoint(Tuple(v, p, 2, "a point [A, B]"), p);
  });

  {
    const TObject s(doc["isotherms"], doc.Path("isotherms"),
                    {"color", "error", "graphType", "method", "methodStep", "signed", "signStep",
                     "simplified", "simplifiedTimes", "smoothed", "smoothedTimes", "step", "width"});
    TIsothermSettings& i = d.Isotherms;
    i.Color = Colour(s["color"], s.Path("color"));
    i.Error = Integer(s["error"], s.Path("error"), 1, 10);
    i.GraphType = Enumerator<TIsothermType>(s["graphType"], s.Path("graphType"), IsothermTypeNames);
    i.Method = Enumerator<TIsothermMethod>(s["method"], s.Path("method"), IsothermMethodNames);
    const double ms = Number(s["methodStep"], s.Path("methodStep"), 0.25, 3.0);
    if (ms * 4 != std::trunc(ms * 4))
      Refuse(s.Path("methodStep"), QStringLiteral("%1 is not a multiple of 0.25").arg(Num(ms)));
    i.MethodStep = float(ms);
    i.Signed = Bool(s["signed"], s.Path("signed"));
    i.SignStep = Integer(s["signStep"], s.Path("signStep"), 5, 50);
    if (i.SignStep % 5) Refuse(s.Path("signStep"), QStringLiteral("%1 is not a multiple of 5").arg(i.SignStep));
    i.Simplified = Bool(s["simplified"], s.Path("simplified"));
    i.SimplifiedTimes = Integer(s["simplifiedTimes"], s.Path("simplifiedTimes"), 1, 3);
    i.Smoothed = Bool(s["smoothed"], s.Path("smoothed"));
    i.SmoothedTimes = Integer(s["smoothedTimes"], s.Path("smoothedTimes"), 1, 5);
    i.Step = Integer(s["step"], s.Path("step"), 50, 250);
    if (i.Step % 50) Refuse(s.Path("step"), QStringLiteral("%1 is not a multiple of 50").arg(i.Step));
    i.Width = Integer(s["width"], s.Path("width"), 0, 255);
  }

  const TObject p(doc["presentation"], doc.Path("presentation"),
                  WithPlotSettingKeys({"graphType", "drawTPoints", "drawIsotherms", "tCalcMethod",
                                       "gridSteps", "gridType", "hotIsotherm", "hotIsothermColor"}),
                  {"drawCrystallization", "markedPoint"});
  ReadPlotSettings(p, d);
  d.GraphType = Enumerator<TGraphType>(p["graphType"], p.Path("graphType"), GraphTypeNames);
  d.DrawTPoints = Bool(p["drawTPoints"], p.Path("drawTPoints"));
  d.DrawIsotherms = Bool(p["drawIsotherms"], p.Path("drawIsotherms"));
  d.TCalcMethod = Enumerator<TTCalcMethod>(p["tCalcMethod"], p.Path("tCalcMethod"), CalcMethodNames);
  d.GridSteps = Integer(p["gridSteps"], p.Path("gridSteps"), 2, 10);
  d.GridType = Enumerator<TGridType>(p["gridType"], p.Path("gridType"), TernaryGridNames);
  d.HotIsotherm = Integer(p["hotIsotherm"], p.Path("hotIsotherm"), -10000, 10000);
  if (d.HotIsotherm % 10)
    Refuse(p.Path("hotIsotherm"), QStringLiteral("%1 is not a multiple of 10").arg(d.HotIsotherm));
  d.HotIsothermColor = Colour(p["hotIsothermColor"], p.Path("hotIsothermColor"));
  if (p.Has("drawCrystallization")) d.DrawCrystallization = Bool(p["drawCrystallization"], p.Path("drawCrystallization"));
  if (p.Has("markedPoint"))
    d.MarkedPoint = TernaryPoint(Tuple(p["markedPoint"], p.Path("markedPoint"), 2, "a point [A, B]"),
                                 p.Path("markedPoint"));
}

// "line 3, column 7" of a byte offset.
QString LineAndColumn(const QByteArray& Text, qsizetype Offset) {
  Offset = std::clamp<qsizetype>(Offset, 0, Text.size());
  const qsizetype lineStart = Text.lastIndexOf('\n', Offset - 1) + 1;
  const qsizetype line = Text.left(Offset).count('\n') + 1;
  return QStringLiteral("line %1, column %2").arg(line).arg(Offset - lineStart + 1);
}

// --- Writing -----------------------------------------------------------------

QJsonObject SubstanceJson(const TDocumentSubstance& s) {
  QJsonObject o{{"name", s.Name}, {"molarMass", Tidy(s.MolMass)}};
  if (!s.Element.isEmpty() || s.ElementAtoms != 0) {
    o.insert("element", s.Element);
    o.insert("elementAtoms", s.ElementAtoms);
  }
  return o;
}

template <std::size_t N>
QJsonArray SubstancesJson(const std::array<TDocumentSubstance, N>& List) {
  QJsonArray a;
  for (const TDocumentSubstance& s : List) a.append(SubstanceJson(s));
  return a;
}

QJsonArray CurvesJson(const std::vector<TDocumentRun>& Runs) {
  QJsonArray curves;
  for (const TDocumentRun& run : Runs) {
    QJsonArray points;
    for (const auto& [x, y] : run) points.append(QJsonArray{Tidy(x), Tidy(y)});
    curves.append(points);
  }
  return curves;
}

// The head of either kind: format, kind, title, units and substances.
template <class TDocument>
QJsonObject HeadJson(const char* Kind, const TDocument& d, const QStringList& orientationNames) {
  QJsonObject o{{"format", DocumentFormat}, {"version", DocumentVersion}, {"kind", Kind}, {"title", d.Title}};
  o.insert("units", QJsonObject{{"composition", BinaryCUnitNames[d.CUnits]},
                                {"temperature", TUnitNames[d.TUnits]},
                                {"orientation", orientationNames[d.DataOrientation]}});
  o.insert("substances", SubstancesJson(d.Substances));
  return o;
}

QJsonObject PlotSettingsJson(const TPlotSettings& d) {
  return {{"border", d.Border},           {"paperColor", ColourText(d.PaperColor)},
          {"drawSplines", d.DrawSplines}, {"drawAreas", d.DrawAreas},
          {"allowZoom", d.AllowZoom},     {"legend", d.Legend},
          {"valuesTable", d.ValuesTable}, {"coPhasesTable", d.CoPhasesTable},
          {"markMode", d.MarkMode},       {"mouseGrid", d.MouseGrid}};
}

QJsonObject BinaryJson(const TBinaryDocument& d) {
  QJsonObject o = HeadJson("binary", d, BinaryOrientationNames);
  QJsonArray areas;
  for (const TPhaseArea& a : d.Areas)
    areas.append(QJsonObject{{"identifier", a.Identifier},
                             {"twoPhase", a.TwoPhase != 0},
                             {"c", Tidy(a.C)},
                             {"t", Tidy(a.T)}});
  o.insert("areas", areas);
  o.insert("curves", CurvesJson(d.Curves));
  o.insert("limits", QJsonObject{{"lowT", Tidy(d.LowTLimit)},
                                 {"highT", Tidy(d.HighTLimit)},
                                 {"lowC", Tidy(d.LowCLimit)},
                                 {"highC", Tidy(d.HighCLimit)}});
  QJsonObject p = PlotSettingsJson(d);
  p.insert("graphKind", GraphKindNames[d.GraphKind]);
  p.insert("gridType", BinaryGridNames[d.GridType]);
  p.insert("cAxisStep", d.CAxisStep);
  p.insert("tAxisStep", d.TAxisStep);
  o.insert("presentation", p);
  return o;
}

QJsonObject TernaryJson(const TTernaryDocument& d) {
  QJsonObject o = HeadJson("ternary", d, TernaryOrientationNames);
  QJsonArray areas;
  for (const TTernaryArea& a : d.Areas) {
    QJsonArray points;
    for (int k = 0; k < a.TPointCount && k < MaxTPoints; ++k) {
      const TTernaryTPoint& p = a.TPoints[std::size_t(k)];
      points.append(QJsonArray{Tidy(p.A), Tidy(p.B), p.T});
    }
    QJsonObject area{{"identifier", a.Identifier},
                     {"twoPhase", a.TwoPhase != 0},
                     {"fill", QJsonArray{Tidy(a.FillA), Tidy(a.FillB)}},
                     {"tpoints", points}};
    if (a.PrimaryPhase.Defined)
      area.insert("primary", QJsonArray{Tidy(a.PrimaryPhase.A), Tidy(a.PrimaryPhase.B)});
    areas.append(area);
  }
  o.insert("areas", areas);
  o.insert("curves", CurvesJson(d.Curves));
  const TIsothermSettings& i = d.Isotherms;
  o.insert("isotherms", QJsonObject{{"color", ColourText(i.Color)},
                                    {"error", i.Error},
                                    {"graphType", IsothermTypeNames[i.GraphType]},
                                    {"method", IsothermMethodNames[i.Method]},
                                    {"methodStep", Tidy(i.MethodStep)},
                                    {"signed", i.Signed},
                                    {"signStep", i.SignStep},
                                    {"simplified", i.Simplified},
                                    {"simplifiedTimes", i.SimplifiedTimes},
                                    {"smoothed", i.Smoothed},
                                    {"smoothedTimes", i.SmoothedTimes},
                                    {"step", i.Step},
                                    {"width", i.Width}});
  QJsonObject p = PlotSettingsJson(d);
  p.insert("graphType", GraphTypeNames[d.GraphType]);
  p.insert("drawTPoints", d.DrawTPoints);
  p.insert("drawIsotherms", d.DrawIsotherms);
  p.insert("tCalcMethod", CalcMethodNames[d.TCalcMethod]);
  p.insert("gridSteps", d.GridSteps);
  p.insert("gridType", TernaryGridNames[d.GridType]);
  p.insert("hotIsotherm", d.HotIsotherm);
  p.insert("hotIsothermColor", ColourText(d.HotIsothermColor));
  p.insert("drawCrystallization", d.DrawCrystallization);
  if (d.MarkedPoint) p.insert("markedPoint", QJsonArray{d.MarkedPoint->first, d.MarkedPoint->second});
  o.insert("presentation", p);
  return o;
}

// --- The text ----------------------------------------------------------------

// Keys in the order a reader expects them (QJsonObject sorts them).
const QStringList KeyOrder = {
    "$schema", "format", "version", "kind", "title", "units", "substances", "areas", "curves", "limits",
    "isotherms", "presentation",
    // units, substances, areas, limits
    "composition", "temperature", "orientation", "name", "molarMass", "element", "elementAtoms",
    "identifier", "twoPhase", "c", "t", "fill", "tpoints", "primary", "lowT", "highT", "lowC", "highC",
    // isotherms
    "color", "error", "graphType", "method", "methodStep", "signed", "signStep", "simplified",
    "simplifiedTimes", "smoothed", "smoothedTimes", "step", "width",
    // presentation
    "graphKind", "border", "paperColor", "drawSplines", "drawAreas", "drawTPoints",
    "drawIsotherms", "allowZoom", "legend", "valuesTable", "coPhasesTable", "markMode",
    "mouseGrid", "tCalcMethod", "gridSteps", "gridType", "cAxisStep", "tAxisStep", "hotIsotherm",
    "hotIsothermColor", "drawCrystallization", "markedPoint"};

// A value the way Qt writes it (numbers in their shortest exact form).
QByteArray Scalar(const QJsonValue& v) {
  const QByteArray a = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
  return a.mid(1, a.size() - 2);
}

// Indented JSON with the keys in KeyOrder and lists of plain values (a
// point, a colour triple) on one line.
void Emit(QByteArray& Out, const QJsonValue& v, int Indent) {
  const QByteArray pad(Indent + 4, ' ');
  if (v.isObject()) {
    const QJsonObject o = v.toObject();
    QStringList keys = o.keys();
    std::stable_sort(keys.begin(), keys.end(), [](const QString& a, const QString& b) {
      const qsizetype ia = KeyOrder.indexOf(a), ib = KeyOrder.indexOf(b);
      return (ia < 0 ? KeyOrder.size() : ia) < (ib < 0 ? KeyOrder.size() : ib);
    });
    Out += "{";
    for (qsizetype i = 0; i < keys.size(); ++i) {
      Out += (i ? ",\n" : "\n") + pad + Scalar(keys[i]) + ": ";
      Emit(Out, o.value(keys[i]), Indent + 4);
    }
    Out += keys.isEmpty() ? QByteArray("}") : "\n" + QByteArray(Indent, ' ') + "}";
  } else if (v.isArray()) {
    const QJsonArray a = v.toArray();
    const bool plain = std::none_of(a.begin(), a.end(), [](const QJsonValue& e) {
      return e.isArray() || e.isObject();
    });
    Out += "[";
    for (qsizetype i = 0; i < a.size(); ++i) {
      if (plain) {
        Out += (i ? ", " : "") + Scalar(a[i]);
      } else {
        Out += (i ? ",\n" : "\n") + pad;
        Emit(Out, a[i], Indent + 4);
      }
    }
    Out += plain || a.isEmpty() ? QByteArray("]") : "\n" + QByteArray(Indent, ' ') + "]";
  } else {
    Out += Scalar(v);
  }
}

QString Located(const QString& Place, const QString& What) {
  return Place.isEmpty() ? What : Place + QStringLiteral(": ") + What;
}

}  // namespace

bool ParseDocument(const QByteArray& Text, TDiagramDocument& Document, QString* Place,
                   QString* What) {
  try {
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(Text, &error);
    if (error.error != QJsonParseError::NoError)
      Refuse(LineAndColumn(Text, error.offset),
             QStringLiteral("not a JSON text (%1)").arg(error.errorString()));
    if (!json.isObject()) Refuse(QString(), QStringLiteral("not a diagram document: expected a JSON object"));
    RefuseDuplicateKeys(Text);
    const QJsonObject root = json.object();

    // Format and version before anything else: a newer document may well
    // have fields this reader does not know.
    const QJsonValue format = root.value("format");
    if (format.toString() != DocumentFormat)
      Refuse("format", format.isUndefined()
                           ? QStringLiteral("missing field: not a diagram document")
                           : QStringLiteral("not a diagram document (the format must be \"%1\")")
                                 .arg(DocumentFormat));
    if (!root.contains("version")) Refuse("version", QStringLiteral("missing field"));
    const QJsonValue version = root.value("version");
    if (version.isDouble() && version.toDouble() > DocumentVersion &&
        version.toDouble() == std::trunc(version.toDouble()))
      Refuse("version", QStringLiteral("version %1 is newer than this program reads (%2); "
                                       "a newer phasediagrams wrote it")
                            .arg(Num(version.toDouble()))
                            .arg(DocumentVersion));
    Integer(version, "version", 1, DocumentVersion);

    const TDiagramKind kind =
        Enumerator<TDiagramKind>(root.value("kind"), "kind", {"binary", "ternary"});
    TDiagramDocument d;
    d.Kind = kind;
    if (kind == TDiagramKind::Binary) {
      const TObject doc(root, QString(),
                        {"format", "version", "kind", "title", "units", "substances", "areas",
                         "curves", "limits", "presentation"},
                        {"$schema"});
      ReadBinary(doc, d.Binary);
    } else {
      const TObject doc(root, QString(),
                        {"format", "version", "kind", "title", "units", "substances", "areas",
                         "curves", "isotherms", "presentation"},
                        {"$schema"});
      ReadTernary(doc, d.Ternary);
    }
    if (root.contains("$schema")) d.Schema = ::Text(root.value("$schema"), "$schema", MaxSchemaLength);
    Document = std::move(d);
    return true;
  } catch (const TRefusal& r) {
    if (Place) *Place = r.Place;
    if (What) *What = r.What;
    return false;
  }
}

bool ReadDocument(const QString& FileName, TDiagramDocument& Document, QString* Error) {
  auto fail = [&](const QString& Place, const QString& What) {
    if (Error) *Error = QStringLiteral("Cannot open %1: %2").arg(FileName, Located(Place, What));
    return false;
  };
  const QFileInfo info(FileName);
  if (FileName.isEmpty()) return fail(QString(), QStringLiteral("no file name was given"));
  if (!info.exists()) return fail(QString(), QStringLiteral("there is no such file"));
  if (info.isDir()) return fail(QString(), QStringLiteral("this is a folder, not a document"));
  if (info.size() > MaxDocumentBytes)
    return fail(QString(), QStringLiteral("the file has %1 bytes; a document has at most %2")
                               .arg(info.size())
                               .arg(MaxDocumentBytes));
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly)) return fail(QString(), file.errorString());
  // A device or a pipe has no size to check beforehand: read one byte past
  // the limit at most.
  const QByteArray text = file.read(MaxDocumentBytes + 1);
  if (file.error() != QFileDevice::NoError) return fail(QString(), file.errorString());
  if (text.size() > MaxDocumentBytes)
    return fail(QString(), QStringLiteral("the file has more than %1 bytes").arg(MaxDocumentBytes));
  QString place, what;
  if (!ParseDocument(text, Document, &place, &what)) return fail(place, what);
  return true;
}

QByteArray DocumentText(const TDiagramDocument& Document) {
  QJsonObject o =
      Document.Kind == TDiagramKind::Binary ? BinaryJson(Document.Binary) : TernaryJson(Document.Ternary);
  if (!Document.Schema.isEmpty()) o.insert("$schema", Document.Schema);
  QByteArray text;
  Emit(text, o, 0);
  return text + '\n';
}

bool WriteDocument(const QString& FileName, const TDiagramDocument& Document, QString* Error) {
  auto fail = [&](const QString& Why) {
    if (Error) *Error = QStringLiteral("Cannot save %1: %2").arg(FileName, Why);
    return false;
  };
  if (FileName.isEmpty()) return fail(QStringLiteral("no file name was given"));
  const QByteArray text = DocumentText(Document);
  TDiagramDocument check;
  QString place, what;
  if (!ParseDocument(text, check, &place, &what))
    return fail(QStringLiteral("the diagram would not open again (%1)").arg(Located(place, what)));
  const QFileInfo info(FileName);
  if (info.isDir()) return fail(QStringLiteral("the name is that of a folder"));
  if (!info.absoluteDir().exists()) return fail(QStringLiteral("the folder does not exist"));
  QString why;
  if (!WriteWholeFile(FileName, text, &why)) return fail(why);
  return true;
}

