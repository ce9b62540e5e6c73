#include <QApplication>
#include <QDir>

#include "SplitConstants.h"
#include "ui/SplitWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(SplitConstants::kAppTitle));
  // OVSPLIT.cfg is the one in the folder current at start-up, not the program's folder.
  SplitWindow window(QDir::currentPath());
  if (!window.startupOk()) return 0;
  window.show();
  return app.exec();
}
