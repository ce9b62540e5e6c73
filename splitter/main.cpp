#include <QApplication>
#include <QDir>

#include "SplitConstants.h"
#include "ui/SplitIcon.h"
#include "ui/SplitWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(SplitConstants::kAppTitle));
  QApplication::setWindowIcon(SplitIcon::icon());
  // OVSPLIT.cfg is the one in the folder current at start-up, not the program's folder.
  SplitWindow window(QDir::currentPath());
  window.show();
  return app.exec();
}
