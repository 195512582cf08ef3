#pragma once
// Diagram documents: one binary or ternary diagram in a JSON file
// ("*.pdiag"), written and read with Qt's own JSON classes. The README
// describes the format with an example of each kind.
//
// Reading checks the whole file before anything is handed to a control:
// a document that is read is complete and every value in it is one the
// control keeps as it is, so loading it changes nothing behind the
// reader's back and saving it again gives the same file. Every refusal
// names the file, the place in it ("areas[3].tpoints[12]") and what is
// wrong there.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "diagram/binaplot.h"
#include "diagram/ternagram.h"
#include "platform/checked_file.h"  // WriteWholeFile
#include "platform/color.h"

class TBinagram;
class TTernagram;

// What the "format" field holds, and the newest version this program reads.
extern const QString DocumentFormat;  // "phasediagrams-diagram"
constexpr int DocumentVersion = 1;
// The extension the windows give a document, and their dialogs' filter.
extern const QString DocumentExtension;  // "pdiag"
extern const QString DocumentFilter;     // "Phase Diagram Documents (*.pdiag *.json)"
// Files larger than this are refused before they are read.
constexpr qint64 MaxDocumentBytes = 4 * 1024 * 1024;
// Limits of the format beyond those of the controls.
constexpr int MaxCurvePoints = 65535;  // points and run ends together, as SplinesData holds
constexpr int MaxNameLength = 64;      // substance names
constexpr int MaxTitleLength = 200;
constexpr int MaxSchemaLength = 2000;  // "$schema", a URI
// The JSON Schema of the format, as the samples name it (installed beside them).
extern const QString DocumentSchemaName;  // "pdiag.schema.json"
constexpr double MaxDocumentTemperature = 100000;  // |T| of binary curves and areas

enum class TDiagramKind { Binary, Ternary };

struct TDocumentSubstance {
  QString Name;
  float MolMass = 1;
  QString Element;       // may be empty: no batch calculation for it
  int ElementAtoms = 0;
};

// A boundary curve: its points in order, (C, T) for a binary diagram and
// (A, B) in percent for a ternary one.
using TDocumentRun = std::vector<std::pair<double, double>>;

// The settings both diagram controls have, as a document stores them.
struct TPlotSettings {
  bool Border = true;
  TColor PaperColor = clBtnFace;
  bool DrawSplines = false, DrawAreas = false;
  bool AllowZoom = true, Legend = true, ValuesTable = true, CoPhasesTable = true;
  bool MarkMode = false, MouseGrid = false;
};

struct TBinaryDocument : TPlotSettings {
  // Units the numbers are written in; set on the control first.
  binary::TCUnits CUnits = binary::cuMolPercents;
  binary::TTUnits TUnits = binary::tuC;
  binary::TDataOrientation DataOrientation = binary::doDirect;
  std::array<TDocumentSubstance, 2> Substances;
  QString Title;
  std::vector<TPhaseArea> Areas;  // at most 16
  std::vector<TDocumentRun> Curves;
  double LowTLimit = 0, HighTLimit = 1000, LowCLimit = 0, HighCLimit = 100;
  // Presentation, with the settings above.
  binary::TGraphKind GraphKind = binary::gkHorizontal;
  binary::TGridType GridType = binary::gtOutsideScale;
  int CAxisStep = 2;
  int TAxisStep = 100;
};

struct TIsothermSettings {
  TColor Color = 0x008080;
  int Error = 2;
  ternary::TIsothermType GraphType = ternary::itPoints;
  ternary::TIsothermMethod Method = ternary::imCornerConsecutive;
  float MethodStep = 1.0f;
  bool Signed = true;
  int SignStep = 10;
  bool Simplified = false;
  int SimplifiedTimes = 1;
  bool Smoothed = true;
  int SmoothedTimes = 3;
  int Step = 100;
  int Width = 2;
};

struct TTernaryDocument : TPlotSettings {
  ternary::TCUnits CUnits = ternary::cuMolPercents;
  ternary::TTUnits TUnits = ternary::tuC;
  ternary::TDataOrientation DataOrientation = ternary::doDirect;
  std::array<TDocumentSubstance, 3> Substances;
  QString Title;
  std::vector<TTernaryArea> Areas;  // at most 16, each with at most 12 T-points
  std::vector<TDocumentRun> Curves;
  TIsothermSettings Isotherms;
  // Presentation, with the settings above.
  ternary::TGraphType GraphType = ternary::gtPhase;
  bool DrawTPoints = false, DrawIsotherms = false;
  ternary::TTCalcMethod TCalcMethod = ternary::tcAltitude;
  int GridSteps = 5;
  ternary::TGridType GridType = ternary::gtAllScales;
  int HotIsotherm = 0;
  TColor HotIsothermColor = 0xFF0000;
  // The crystallization path of the marked melt, and the melt (A, B in
  // percent) when a point is marked; both optional in a file.
  bool DrawCrystallization = false;
  std::optional<std::pair<double, double>> MarkedPoint;
};

struct TDiagramDocument {
  TDiagramKind Kind = TDiagramKind::Binary;
  // "$schema", the only optional field of the head: where an editor finds
  // the format's JSON Schema (the samples name the one installed beside
  // them). Not written when empty.
  QString Schema;
  TBinaryDocument Binary;
  TTernaryDocument Ternary;
};

// --- Reading and writing -----------------------------------------------------

// Parses and checks document text. On failure returns false with the place
// in the document ("areas[3].tpoints[12]", empty for the whole document)
// and what is wrong there.
bool ParseDocument(const QByteArray& Text, TDiagramDocument& Document, QString* Place,
                   QString* What);
// Reads a file; on failure the message a user is shown: "Cannot open FILE:
// PLACE: WHAT". Document is changed only on success.
bool ReadDocument(const QString& FileName, TDiagramDocument& Document, QString* Error);

// The document as JSON text (indented, keys in the order of the README).
QByteArray DocumentText(const TDiagramDocument& Document);
// Writes through a temporary file and a rename: a failed save leaves any
// existing file as it was. The text is read back before it is written, so
// a diagram that would not open again (a host's composition off the axis,
// say) is refused with the reason instead of being saved. On failure the
// message "Cannot save FILE: WHY".
bool WriteDocument(const QString& FileName, const TDiagramDocument& Document, QString* Error);

// --- Controls ------------------------------------------------------------------

// What a control shows, as a document: the unzoomed window, the curves as
// runs, the areas in use.
TDiagramDocument DocumentOf(const TBinagram& Diagram);
TDiagramDocument DocumentOf(const TTernagram& Diagram);

// Loads a document in the order a host loads a system: a zoom is left and
// a marked point cleared first; the orientation and the units before the
// names, molar masses and data, so the numbers go in as written; then the
// areas and Areas, the curves, the window and settings, the title and the
// drawing switches. Area records past the document's keep their initial
// contents.
void LoadDocument(TBinagram& Diagram, const TBinaryDocument& Document);
void LoadDocument(TTernagram& Diagram, const TTernaryDocument& Document);
