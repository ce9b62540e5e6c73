#pragma once
// The frame every property sheet shares: its pages in tabs above OK, Cancel and Apply, with the
// classic button rules (OK applies and closes, Apply applies and stays, Cancel closes).

#include <functional>

class QDialog;
class QPushButton;
class QTabWidget;

/// Lays out `tabs` and the three buttons in `sheet` and connects them; `applyPages` writes the pages.
/// Apply starts disabled; the caller enables it when a page changes.
void layOutPropertySheet(QDialog& sheet, QTabWidget* tabs, QPushButton* ok, QPushButton* cancel,
                         QPushButton* apply, std::function<void()> applyPages);

/// The same for sheets whose pages can refuse their values: `applyPages` returns false to keep
/// the sheet open (OK) or Apply enabled, after telling the user why.
void layOutCheckedPropertySheet(QDialog& sheet, QTabWidget* tabs, QPushButton* ok, QPushButton* cancel,
                                QPushButton* apply, std::function<bool()> applyPages);
