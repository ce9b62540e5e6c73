#pragma once

// Shows windows the way a user meets them, checks their layout (LayoutCheck) in every state
// asked for, and, when ORVANE_SHOT_DIR names a folder, saves a picture of each state there.

#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <functional>

#include "LayoutCheck.h"

namespace WindowGallery {

/// "1" or "2": the scale factor the program runs at, for picture names.
inline QString scaleName() {
  const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
  return factor.isEmpty() ? QStringLiteral("1") : QString::fromLatin1(factor);
}

/// Saves a picture of `window` as <program>-<name>-x<scale>.png when pictures are asked for.
inline void shoot(QWidget* window, const QString& program, const QString& name) {
  const QByteArray folder = qgetenv("ORVANE_SHOT_DIR");
  if (folder.isEmpty()) return;
  QDir().mkpath(QString::fromLocal8Bit(folder));
  const QString file = QDir(QString::fromLocal8Bit(folder))
                           .filePath(program + QLatin1Char('-') + name + QStringLiteral("-x") + scaleName() +
                                     QStringLiteral(".png"));
  window->grab().save(file, "PNG");
}

/// Shows `window` (as it opens: its own size), then for each state runs `enter` (which may
/// switch a tab or page; empty for none), lets the layout settle and collects the faults.
/// Resizable windows are checked again at their smallest size. Each state gets a picture.
inline QStringList check(QWidget* window, const QString& program, const QString& name,
                         const QList<QPair<QString, std::function<void()>>>& states = {}) {
  QStringList found;
  window->show();
  if (!QTest::qWaitForWindowExposed(window, 60000)) return {name + QStringLiteral(": never shown")};
  auto look = [&](const QString& state) {
    QApplication::processEvents();
    const QString label = state.isEmpty() ? name : name + QLatin1Char('-') + state;
    for (const QString& fault : LayoutCheck::faults(window)) found << label + QStringLiteral(": ") + fault;
    shoot(window, program, label);
  };
  const QList<QPair<QString, std::function<void()>>> all =
      states.isEmpty() ? QList<QPair<QString, std::function<void()>>>{{QString(), {}}} : states;
  for (const auto& [state, enter] : all) {
    if (enter) enter();
    look(state);
  }
  const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
  if (window->minimumSize() != window->maximumSize() && least.isValid() && least != window->size()) {
    window->resize(least);
    for (const auto& [state, enter] : all) {
      if (enter) enter();
      look(state.isEmpty() ? QStringLiteral("smallest") : state + QStringLiteral("-smallest"));
    }
  }
  window->hide();
  return found;
}

/// One state per tab of `tabs`, named by the tab's object name.
inline QList<QPair<QString, std::function<void()>>> tabStates(QTabWidget* tabs) {
  QList<QPair<QString, std::function<void()>>> states;
  for (int i = 0; i < tabs->count(); ++i) {
    QString name = tabs->widget(i)->objectName();
    if (name.isEmpty()) name = QStringLiteral("tab%1").arg(i + 1);
    states.append({name, [tabs, i] { tabs->setCurrentIndex(i); }});
  }
  return states;
}

}  // namespace WindowGallery
