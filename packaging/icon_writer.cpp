// Writes the program's icon as PNG files at the sizes given:
//   pd_icon_writer FOLDER SIZE...   ->  FOLDER/SIZE.png
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "app/splash_form.h"

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: pd_icon_writer FOLDER SIZE...\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    const QString name = folder.filePath(QStringLiteral("%1.png").arg(size));
    if (size < 1 || !ProgramIconImage(size).save(name, "PNG")) {
      std::fprintf(stderr, "pd_icon_writer: cannot write %s\n", qPrintable(name));
      return 1;
    }
  }
  return 0;
}
