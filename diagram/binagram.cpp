// placeholder
#include "diagram/binagram.h"
TBinagram::TBinagram(QWidget* AOwner) : TBinaplot(AOwner) { resize(469, 322); }
TBinagram::~TBinagram() = default;
void TBinagram::SetAllowZoom(bool v) { allowZoom_ = v; }
void TBinagram::SetCAxisStep(int v) { cAxisStep_ = v; }
void TBinagram::SetCoPhasesTable(bool v) { coPhasesTable_ = v; }
void TBinagram::SetGridType(binary::TGridType v) { gridType_ = v; }
void TBinagram::SetLegend(bool v) { legend_ = v; }
void TBinagram::SetMarkMode(bool v) { markMode_ = v; }
void TBinagram::SetMouseGrid(bool v) { mouseGrid_ = v; }
void TBinagram::SetTAxisStep(int v) { tAxisStep_ = v; }
void TBinagram::SetTitle(const QString& v) { title_ = v; }
void TBinagram::SetValuesTable(bool v) { valuesTable_ = v; }
void TBinagram::SetTUnits(binary::TTUnits v) { TBinaplot::SetTUnits(v); }
void TBinagram::DoMarkPoint() { if (onMarkPoint_) onMarkPoint_(this); }
void TBinagram::DoZoomIn() { if (onZoomIn_) onZoomIn_(this); }
void TBinagram::DoZoomOut() { if (onZoomOut_) onZoomOut_(this); }
void TBinagram::RebuildCAxisCaption() {}
