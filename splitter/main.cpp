#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

#include "SplitBuildInfo.h"

#include "SplitConstants.h"
#include "ui/SplitIcon.h"
#include "ui/SplitWindow.h"

int main(int argc, char** argv) {
  // Answered before any window system is needed.
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("ovsplit %s (built %s)\n", SplitBuildInfo::kVersion, SplitBuildInfo::kBuildDate);
      return 0;
    }
  QApplication app(argc, argv);
  QApplication::setApplicationVersion(QString::fromLatin1(SplitBuildInfo::kVersion));
  QApplication::setApplicationName(QString::fromLatin1(SplitConstants::kAppTitle));
  QApplication::setWindowIcon(SplitIcon::icon());
  // OVSPLIT.cfg is the one in the folder current at start-up, not the program's folder.
  SplitWindow window(QDir::currentPath());
  window.show();
  return app.exec();
}
