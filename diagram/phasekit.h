#pragma once
// The two small records both diagram controls own and publish: a pure
// substance of the system and one diagram point with its phase read-out.
#include <QObject>
#include <QString>

// The control a substance belongs to: it decides whether a new name is also
// the substance's DisplayName, and repaints when a name changes.
class TSubstanceOwner {
 public:
  virtual ~TSubstanceOwner() = default;
  // True while the names show something else (a zoom window's corners), so
  // DisplayName keeps the pure name.
  virtual bool KeepsDisplayNames() const = 0;
  virtual void SubstanceRenamed() = 0;
};

// One pure component of a system.
class TSubstance {
 public:
  TSubstance() = default;
  virtual ~TSubstance() = default;

  // The control that created the substance; decides what SetName repaints.
  QObject* Owner = nullptr;
  // The name as last given while the owner was not zoomed.
  QString DisplayName;

  const QString& Name() const { return name_; }
  virtual void SetName(const QString& Value);

  QString Element;       // symbol of the element ElementAtoms counts, e.g. "Al"
  int ElementAtoms = 0;  // atoms of Element in one formula unit (Al2O3: 2)
  float MolMass = 1.0f;  // grams per mole

 private:
  QString name_;
};

// One point of a diagram with what the phase analysis found there.
struct TFullDataPoint {
  QObject* Owner = nullptr;
  bool Visible = false;
  double A = 0;  // composition (binary: in the current composition units)
  double B = 0;
  double C = 0;
  double T = 0;  // temperature in the owner's current unit
  int CoPhases = 0;
  QString PhaseName;
  QString Phase1Name;
  QString Phase2Name;
  double Phase1Value = 0;
  double Phase2Value = 0;
  double Phase1Ratio = 0;
  double Phase2Ratio = 0;
};
