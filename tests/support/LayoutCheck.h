#pragma once

// Looks for controls a window does not show whole: a control reaching past its parent, two
// controls on top of each other, a control squeezed below its minimum size (its text cut
// off), and a window larger than the screen. Qt Widgets only, shared by the builder's and the
// split tool's window tests.

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QSizeGrip>
#include <QStringList>
#include <QTabBar>
#include <QToolBar>
#include <QWidget>

namespace LayoutCheck {

/// A short name for a widget in a fault report: its object name, else its class and text.
inline QString describe(const QWidget* w) {
  QString text;
  if (auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
  else if (auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
  text = text.left(30).replace(QLatin1Char('\n'), QLatin1Char(' '));
  QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
  if (name.startsWith(QLatin1String("qt_"))) name = QString::fromLatin1(w->metaObject()->className());
  return text.isEmpty() ? name : name + QStringLiteral(" '") + text + QLatin1Char('\'');
}

inline QString rectText(const QRect& r) {
  return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

/// Controls whose inner parts are Qt's own business: checked as a whole, not looked into.
inline bool isLeaf(const QWidget* w) {
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w) ||
         qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
         qobject_cast<const QProgressBar*>(w) || qobject_cast<const QTabBar*>(w) ||
         qobject_cast<const QMenuBar*>(w) || qobject_cast<const QToolBar*>(w) ||
         qobject_cast<const QSizeGrip*>(w) ||
         (qobject_cast<const QAbstractScrollArea*>(w) && !qobject_cast<const QScrollArea*>(w));
}

inline void checkChildren(const QWidget* parent, const QString& path, QStringList& faults) {
  QList<const QWidget*> shown;
  for (const QObject* o : parent->children()) {
    auto* w = qobject_cast<const QWidget*>(o);
    if (!w || w->isWindow() || !w->isVisible() || w->geometry().isEmpty()) continue;
    shown << w;
  }
  // A scroll area's content may be larger than what shows of it: that is what it is for.
  const bool scrolled = parent->parentWidget() && qobject_cast<const QScrollArea*>(parent->parentWidget()) &&
                        parent->objectName() == QLatin1String("qt_scrollarea_viewport");
  for (int i = 0; i < shown.size(); ++i) {
    const QWidget* w = shown[i];
    const QString where = path + QLatin1Char('/') + describe(w);
    if (!scrolled && !parent->rect().contains(w->geometry()))
      faults << where + QStringLiteral(": reaches past its parent (") + rectText(w->geometry()) +
                    QStringLiteral(" in ") + rectText(parent->rect()) + QLatin1Char(')');
    for (int j = i + 1; j < shown.size(); ++j)
      if (w->geometry().intersects(shown[j]->geometry()))
        faults << where + QStringLiteral(" overlaps ") + describe(shown[j]) + QStringLiteral(" (") +
                      rectText(w->geometry()) + QStringLiteral(" and ") + rectText(shown[j]->geometry()) +
                      QLatin1Char(')');
    // Qt's own parts (a dock's title buttons) are drawn to fit whatever room they get, a
    // button without caption or icon (a colour swatch) has nothing to cut, and a list or text
    // box below its least size still scrolls to all it holds.
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    const bool qtPart = w->objectName().startsWith(QLatin1String("qt_")) ||
                        (button && button->text().isEmpty() && button->icon().isNull()) ||
                        qobject_cast<const QAbstractScrollArea*>(w);
    const QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
    if (isLeaf(w) && !qtPart && least.isValid() && (w->width() < least.width() || w->height() < least.height()))
      faults << where + QStringLiteral(": squeezed to %1x%2, needs %3x%4")
                            .arg(w->width())
                            .arg(w->height())
                            .arg(least.width())
                            .arg(least.height());
    if (!isLeaf(w)) checkChildren(w, where, faults);
  }
}

/// Every fault of a shown top-level window, one line each; empty when it is sound.
inline QStringList faults(const QWidget* window) {
  QStringList found;
  const QString name = describe(window);
  if (const QScreen* screen = window->screen()) {
    const QSize room = screen->availableGeometry().size();
    if (window->frameGeometry().width() > room.width() || window->frameGeometry().height() > room.height())
      found << name + QStringLiteral(": %1x%2 is larger than the screen (%3x%4)")
                          .arg(window->frameGeometry().width())
                          .arg(window->frameGeometry().height())
                          .arg(room.width())
                          .arg(room.height());
  }
  checkChildren(window, name, found);
  return found;
}

}  // namespace LayoutCheck
