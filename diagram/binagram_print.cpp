// Printing and bitmap export with the fixed print layout.
#include "diagram/binagram.h"

void TBinagram::RunPrintLayout() {}
void TBinagram::RenderPrintBitmap(TBitmap&) {}
void TBinagram::Print() {}
void TBinagram::Print(QPrinter&) {}
bool TBinagram::SaveToBitmap(const QString&, bool, QString* Error) {
  if (Error) *Error = QStringLiteral("not available");
  return false;
}
