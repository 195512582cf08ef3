// Documents from the windows: the Open and Save As buttons and where an
// opened document goes.
#include "app/document_windows.h"

#include <QPointer>
#include <QWidget>
#include <vector>

#include "app/settings.h"
#include "app/shortcuts.h"
#include "app/window_kit.h"
#include "platform/messages.h"

namespace {

struct TDocumentShower {
  TDiagramKind Kind;
  QPointer<QWidget> Window;
  std::function<void(const TDiagramDocument&)> Show;
};

std::vector<TDocumentShower>& Showers() {
  static std::vector<TDocumentShower> showers;
  return showers;
}

// The newest shower of Kind whose window is still there.
const TDocumentShower* ShowerOf(TDiagramKind Kind) {
  auto& showers = Showers();
  std::erase_if(showers, [](const TDocumentShower& s) { return s.Window.isNull(); });
  for (auto it = showers.rbegin(); it != showers.rend(); ++it)
    if (it->Kind == Kind) return &*it;
  return nullptr;
}

}  // namespace

void ShowDocumentsIn(TDiagramKind Kind, QWidget* Window, std::function<void(const TDiagramDocument&)> Show) {
  Showers().push_back({Kind, Window, std::move(Show)});
}

QWidget* DocumentWindow(TDiagramKind Kind) {
  const TDocumentShower* shower = ShowerOf(Kind);
  return shower ? shower->Window.data() : nullptr;
}

void AddDocumentButtons(QWidget* Strip, int RowWidth, QWidget* Window, std::function<void()> Open,
                        std::function<void()> SaveAs) {
  AddStripButtons(Strip, RowWidth, Window,
                  {{QStringLiteral("OpenSpeedButton"), QStringLiteral("Open Diagram"), Glyph(glOpen),
                    CommandKeys(QKeySequence::Open), std::move(Open)},
                   {QStringLiteral("SaveAsSpeedButton"), QStringLiteral("Save Diagram As"), Glyph(glSaveAs),
                    CommandKeys(QKeySequence::SaveAs), std::move(SaveAs)}});
}

void ChooseAndOpenDocument(QWidget* Parent) {
  const QString name = ToolSeams().ChooseOpenFile(
      Parent, QStringLiteral("Open Diagram"), DocumentFilter + QStringLiteral(";;All Files (*)"));
  if (!name.isEmpty()) OpenDocumentFile(name);
}

bool OpenDocumentFile(const QString& FileName) {
  TDiagramDocument document;
  QString error;
  if (!ReadDocument(FileName, document, &error)) {
    ShowMessage(error);
    return false;
  }
  const TDocumentShower* shower = ShowerOf(document.Kind);
  if (!shower) {
    ShowMessage(QStringLiteral("Cannot open %1: there is no %2 window to show it in")
                    .arg(FileName, document.Kind == TDiagramKind::Binary ? QStringLiteral("main")
                                                                         : QStringLiteral("ternary")));
    return false;
  }
  NoteRecentDocument(FileName);
  // A copy: showing may make windows, and with them new showers.
  const auto show = shower->Show;
  show(document);
  return true;
}

void ChooseAndSaveDocument(QWidget* Parent, const TDiagramDocument& Document) {
  const QString name = ChooseSaveName(Parent, QStringLiteral("Save Diagram As"), DocumentFilter, DocumentExtension);
  if (name.isEmpty()) return;
  QString error;
  if (WriteDocument(name, Document, &error))
    NoteRecentDocument(name);
  else
    ShowMessage(error);
}
