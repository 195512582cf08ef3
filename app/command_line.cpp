// The program's command line: parsing, headless rendering, the samples.
#include "app/command_line.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBrowser>
#include <algorithm>

#include "app/info_form.h"
#include "app/picture_output.h"
#include "app/sample_system.h"
#include "app/ternary_sample.h"
#include "app/version_resource.h"
#include "app/window_kit.h"
#include "diagram/binagram.h"
#include "diagram/ternagram.h"
#include "platform/messages.h"
#include "platform/vectorpicture.h"
#include "widgets/version_info.h"

namespace {

// "800x600"; false when it is not two whole numbers 1..10000.
bool ParseSize(const QString& Text, QSize& Size) {
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$")).match(Text);
  if (!m.hasMatch()) return false;
  const int w = m.captured(1).toInt(), h = m.captured(2).toInt();
  if (w < 1 || h < 1 || w > MaxPictureSide || h > MaxPictureSide) return false;
  Size = QSize(w, h);
  return true;
}

// One line, whatever a file name or an identifier holds.
QString OneLine(QString Text) {
  Text.replace(QRegularExpression(QStringLiteral("[\\r\\n]+")), QStringLiteral(" "));
  return Text;
}

// The picture's file contents, made in memory and written in one checked
// piece, so that a full disk cannot leave a picture cut short.
bool WritePng(const QImage& Image, const QString& FileName, QString* Why) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!Image.save(&buffer, "PNG")) return *Why = QStringLiteral("the picture could not be encoded"), false;
  return WriteWholeFile(FileName, bytes, Why);
}

// Qt's options for the windows, as QApplication reads them (also written
// with two dashes, or "-name=value" for those with a value).
const QStringList QtOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "style", "stylesheet", "session", "display",
    "name", "visual", "qmljsdebugger"};
const QStringList QtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
// This program's own options, which Qt's never shadow.
const QStringList OwnOptions = {"help", "h",    "version",     "render",        "export",
                                 "size", "scale", "info", "no-settings", "write-samples"};

}  // namespace

TCommandLine ParseCommandLine(const QStringList& AllArguments) {
  TCommandLine line;
  auto error = [&](const QString& What) {
    line = TCommandLine{};
    line.Action = TCommandLine::caError;
    line.Error = What;
    return line;
  };
  // Qt's options first, wherever they stand; the rest is the program's.
  QStringList Arguments, qt;
  for (qsizetype i = 0; i < AllArguments.size(); ++i) {
    const QString& a = AllArguments[i];
    if (!a.startsWith('-') || a == "-" || a == "--") {
      Arguments << a;
      continue;
    }
    const QString bare = a.mid(a.startsWith("--") ? 2 : 1);
    const QString name = bare.section('=', 0, 0);
    if (OwnOptions.contains(name)) {
      Arguments << a;
    } else if (QtFlags.contains(bare)) {
      qt << a;
    } else if (QtOptionsWithValue.contains(name)) {
      qt << a;
      if (bare == name) {
        if (i + 1 >= AllArguments.size()) return error(QStringLiteral("%1 needs a value").arg(a));
        qt << AllArguments[++i];
      }
    } else {
      return error(QStringLiteral("unknown option %1").arg(a));
    }
  }
  line.QtArguments = qt;
  // --no-settings may stand anywhere among the program's arguments.
  if (Arguments.removeAll(QStringLiteral("--no-settings")) > 0) line.NoSettings = true;
  if (Arguments.isEmpty()) return line;
  const QString first = Arguments.front();
  if (first == "--help" || first == "-h") {
    if (Arguments.size() > 1) return error(QStringLiteral("--help takes no arguments"));
    line.Action = TCommandLine::caHelp;
    return line;
  }
  if (first == "--version") {
    if (Arguments.size() > 1) return error(QStringLiteral("--version takes no arguments"));
    line.Action = TCommandLine::caVersion;
    return line;
  }
  if (first == "--info") {
    if (Arguments.size() > 1) return error(QStringLiteral("--info takes no arguments"));
    line.Action = TCommandLine::caInfo;
    return line;
  }
  if (first == "--write-samples") {
    if (Arguments.size() != 2) return error(QStringLiteral("--write-samples needs one FOLDER"));
    line.Action = TCommandLine::caWriteSamples;
    line.SamplesFolder = Arguments[1];
    return line;
  }
  if (first == "--render" || first == "--export") {
    const bool render = first == "--render";
    line.Action = render ? TCommandLine::caRender : TCommandLine::caExport;
    QStringList files;
    bool sized = false, scaled = false;
    for (qsizetype i = 1; i < Arguments.size(); ++i) {
      const QString& a = Arguments[i];
      if (render && (a == "--scale" || a.startsWith("--scale="))) {
        const QString value = a == "--scale" ? (i + 1 < Arguments.size() ? Arguments[++i] : QString())
                                             : a.mid(8);
        if (scaled) return error(QStringLiteral("--scale is given twice"));
        bool ok = false;
        const double scale = value.toDouble(&ok);
        if (!ok || !(scale >= 0.25 && scale <= 16))
          return error(QStringLiteral("--scale needs a number 0.25..16, not \"%1\"").arg(value));
        line.Scale = scale;
        scaled = true;
      } else if (a == "--size" || a.startsWith("--size=")) {
        const QString value = a == "--size" ? (i + 1 < Arguments.size() ? Arguments[++i] : QString())
                                            : a.mid(7);
        if (sized) return error(QStringLiteral("--size is given twice"));
        if (!ParseSize(value, line.Size))
          return error(QStringLiteral("--size needs WIDTHxHEIGHT, each 1..%1, not \"%2\"")
                           .arg(MaxPictureSide)
                           .arg(value));
        sized = true;
      } else if (a.startsWith("--")) {
        return error(QStringLiteral("unknown option %1").arg(a));
      } else {
        files << a;
      }
    }
    if (files.isEmpty() || files.size() % 2)
      return error(render ? QStringLiteral("--render needs pairs of FILE and PICTURE")
                          : QStringLiteral("--export needs pairs of FILE and DATA.csv"));
    for (qsizetype i = 0; i < files.size(); i += 2) line.Renders.emplace_back(files[i], files[i + 1]);
    return line;
  }
  if (first.startsWith("-") && first != "-") return error(QStringLiteral("unknown option %1").arg(first));
  if (Arguments.size() > 1) {
    const auto option = std::find_if(Arguments.begin() + 1, Arguments.end(),
                                     [](const QString& a) { return a.startsWith("--"); });
    if (option != Arguments.end()) return error(QStringLiteral("%1 stands after FILE").arg(*option));
    return error(QStringLiteral("the windows open one FILE at a time"));
  }
  line.OpenFile = first;
  return line;
}

QString WhyNoDisplay(const TCommandLine& Line) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
  const bool platformChosen =
      !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
      std::any_of(Line.QtArguments.begin(), Line.QtArguments.end(), [](const QString& a) {
        return a == "-platform" || a == "--platform" || a.startsWith("-platform=") || a.startsWith("--platform=");
      });
  if (!platformChosen && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    return QStringLiteral("there is no display to show the windows on (DISPLAY is not set); "
                          "--render, --export and --write-samples need none");
#else
  Q_UNUSED(Line);
#endif
  return QString();
}

QString UsageText() {
  return QStringLiteral(
      "Usage: phasediagrams [FILE]\n"
      "       phasediagrams --render FILE PICTURE [FILE PICTURE ...] [--size WxH] [--scale S]\n"
      "       phasediagrams --export FILE DATA.csv [FILE DATA.csv ...] [--size WxH]\n"
      "       phasediagrams --write-samples FOLDER\n"
      "       phasediagrams --info\n"
      "       phasediagrams --help | --version\n"
      "\n"
      "Views phase diagrams of chemical systems. Without arguments the windows show the\n"
      "built-in samples; with FILE, a diagram document (*.pdiag), they start with it open.\n"
      "\n"
      "  --render FILE PICTURE   draw the document FILE into PICTURE without opening a\n"
      "                          window; the extension of PICTURE chooses the format:\n"
      "                          .png, .bmp, .svg or .pdf (SVG and PDF are vector\n"
      "                          drawings). Give several pairs to render many.\n"
      "  --size WxH              the picture's size in pixels (default 800x600)\n"
      "  --scale S               PNG and BMP get S times the pixels (0.25..16), drawn\n"
      "                          from the vectors: texts and lines scale with them\n"
      "  --export FILE DATA.csv  write the document's data as comma-separated values:\n"
      "                          isotherms and T-points of a ternary diagram (traced at\n"
      "                          --size), curve points of a binary one\n"
      "  --write-samples FOLDER  write the built-in samples as documents into FOLDER\n"
      "  --info                  print the information text the Info window shows\n"
      "  --no-settings           neither read nor write the remembered recent documents\n"
      "                          and folders\n"
      "  --help                  show this text\n"
      "  --version               show the program's version\n"
      "\n"
      "The windows also take Qt's own options, such as -platform NAME or -style NAME.\n"
      "\n"
      "Exit status: 0 when everything was done; 1 when a file could not be read or\n"
      "written (one line on standard error for each); 2 for a wrong command line.\n");
}

QString VersionText() {
  InitVersionResource();
  const TVersionInfo version;
  return QStringLiteral("phasediagrams %1\n").arg(version.FileVersion());
}

QImage DocumentPicture(const TDiagramDocument& Document, QSize Size) {
  auto render = [&](TCustomControl& control, auto&& load) {
    control.resize(Size);
    load();
    control.Repaint();
    return control.Surface().Image().copy();
  };
  if (Document.Kind == TDiagramKind::Binary) {
    TBinagram g;
    return render(g, [&] { LoadDocument(g, Document.Binary); });
  }
  TTernagram g;
  return render(g, [&] { LoadDocument(g, Document.Ternary); });
}

namespace {

// Runs Use on a fresh control showing the document at Size.
template <class Use>
auto WithDocumentControl(const TDiagramDocument& Document, QSize Size, Use&& use) {
  auto run = [&](auto& control, const auto& part) {
    control.resize(Size);
    LoadDocument(control, part);
    control.Repaint();
    return use(static_cast<TPhasePlot&>(control));
  };
  if (Document.Kind == TDiagramKind::Binary) {
    TBinagram g;
    return run(g, Document.Binary);
  }
  TTernagram g;
  return run(g, Document.Ternary);
}

}  // namespace

bool ExportDocumentData(const QString& DocumentFile, const QString& DataFile, QSize Size,
                        QString* Error) {
  TDiagramDocument document;
  QString why;
  bool ok = ReadDocument(DocumentFile, document, &why);
  if (ok) {
    ok = WithDocumentControl(document, Size, [&](TPhasePlot& plot) {
      return ExportDiagramData(plot, DataFile, &why);
    });
    if (!ok) why = QStringLiteral("Cannot write %1: %2").arg(DataFile, why);
  }
  if (!ok && Error) *Error = OneLine(why);
  return ok;
}

bool RenderDocument(const QString& DocumentFile, const QString& PictureFile, QSize Size,
                    QString* Error, double Scale) {
  auto fail = [&](const QString& Why) {
    if (Error) *Error = OneLine(Why);
    return false;
  };
  const QString format = PictureFormatOf(PictureFile);
  if (format.isEmpty())
    return fail(QStringLiteral("Cannot render %1 into %2: the picture's name must end in .png, "
                               ".bmp, .svg or .pdf").arg(DocumentFile, PictureFile));
  TDiagramDocument document;
  QString why;
  if (!ReadDocument(DocumentFile, document, &why)) return fail(why);
  const QFileInfo target(PictureFile);
  if (target.isDir()) return fail(QStringLiteral("Cannot write %1: the name is that of a folder").arg(PictureFile));
  if (!target.absoluteDir().exists())
    return fail(QStringLiteral("Cannot write %1: the folder does not exist").arg(PictureFile));
  if (format == "svg" || format == "pdf" || Scale != 1) {
    // Vectors: drawn by the control's own steps, written as they are or
    // played back at the scale.
    const bool ok = WithDocumentControl(document, Size, [&](TPhasePlot& plot) {
      if (format != "bmp") {
        const QByteArray bytes = DiagramPictureBytes(plot, format, Size, Scale, &why);
        return !bytes.isEmpty() && WriteWholeFile(PictureFile, bytes, &why);
      }
      TVectorPicture vectors;
      RecordDiagram(plot, vectors, Size, Scale);
      const QImage image = vectors.ToImage(Scale);
      TBitmap bitmap(image.width(), image.height());
      if (bitmap.Width() != image.width() || image.isNull()) return why = QStringLiteral("no picture of that size"), false;
      bitmap.Image() = image.convertToFormat(QImage::Format_RGB32);
      return bitmap.SaveToFile(PictureFile, &why);
    });
    if (!ok) return fail(QStringLiteral("Cannot write %1: %2").arg(PictureFile, why));
    return true;
  }
  const QImage picture = DocumentPicture(document, Size);
  if (picture.isNull()) return fail(QStringLiteral("Cannot render %1: no picture of that size").arg(DocumentFile));
  bool ok = false;
  if (format == "bmp") {
    TBitmap bitmap(picture.width(), picture.height());
    bitmap.Image() = picture.convertToFormat(QImage::Format_RGB32);
    ok = bitmap.SaveToFile(PictureFile, &why);
  } else {
    ok = WritePng(picture, PictureFile, &why);
  }
  if (!ok) return fail(QStringLiteral("Cannot write %1: %2").arg(PictureFile, why));
  return true;
}

bool WriteSamples(const QString& Folder, QString* Error) {
  if (!QFileInfo(Folder).isDir()) {
    if (Error) *Error = QStringLiteral("Cannot write the samples into %1: there is no such folder").arg(Folder);
    return false;
  }
  TBinagram binary;
  LoadSampleSystem(binary);
  // The samples name the format's schema, installed beside them.
  TDiagramDocument document = DocumentOf(binary);
  document.Schema = DocumentSchemaName;
  if (!WriteDocument(QDir(Folder).filePath(QStringLiteral("al2o3-sio2.pdiag")), document, Error))
    return false;
  // As the ternary window shows it: no border, on the window's colour.
  TTernagram ternary;
  ternary.SetBorder(false);
  ternary.SetPaperColor(clBtnFace);
  LoadTernarySample(ternary);
  document = DocumentOf(ternary);
  document.Schema = DocumentSchemaName;
  return WriteDocument(QDir(Folder).filePath(QStringLiteral("bi-pb-sn.pdiag")), document, Error);
}

int RunCommandLine(const TCommandLine& Line, std::FILE* Out, std::FILE* Err) {
  auto say = [](std::FILE* f, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), f);
    std::fflush(f);
  };
  switch (Line.Action) {
    case TCommandLine::caHelp: say(Out, UsageText()); return 0;
    case TCommandLine::caVersion: say(Out, VersionText()); return 0;
    case TCommandLine::caError:
      say(Err, QStringLiteral("phasediagrams: %1\nTry 'phasediagrams --help'.\n").arg(OneLine(Line.Error)));
      return 2;
    case TCommandLine::caWriteSamples: {
      const TMessageHandler previous = SetMessageHandler([&](const QString& text) {
        say(Err, QStringLiteral("phasediagrams: %1\n").arg(OneLine(text)));
      });
      QString error;
      const bool ok = WriteSamples(Line.SamplesFolder, &error);
      SetMessageHandler(previous);
      if (ok) return 0;
      say(Err, QStringLiteral("phasediagrams: %1\n").arg(OneLine(error)));
      return 1;
    }
    case TCommandLine::caRender:
    case TCommandLine::caExport: {
      // Without a window there is nobody to close a message box: whatever
      // a control would say goes to standard error.
      const TMessageHandler previous = SetMessageHandler([&](const QString& text) {
        say(Err, QStringLiteral("phasediagrams: %1\n").arg(OneLine(text)));
      });
      int failures = 0;
      for (const auto& [document, picture] : Line.Renders) {
        QString error;
        const bool ok = Line.Action == TCommandLine::caRender
                            ? RenderDocument(document, picture, Line.Size, &error, Line.Scale)
                            : ExportDocumentData(document, picture, Line.Size, &error);
        if (!ok) {
          say(Err, QStringLiteral("phasediagrams: %1\n").arg(error));
          ++failures;
        }
      }
      SetMessageHandler(previous);
      return failures ? 1 : 0;
    }
    case TCommandLine::caInfo: {
      // The Info window, made without a display, and its text.
      bool found = true;
      const TMessageHandler previous = SetMessageHandler([&](const QString& text) {
        say(Err, QStringLiteral("phasediagrams: %1\n").arg(OneLine(text)));
        found = false;
      });
      TInfoForm info;
      SetMessageHandler(previous);
      if (!found) return 1;
      say(Out, info.RichEdit1()->toPlainText() + QLatin1Char('\n'));
      return 0;
    }
    case TCommandLine::caWindows: break;
  }
  return 0;
}
