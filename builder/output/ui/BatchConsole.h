#pragma once
#include <string>

#include "base/Platform.h"

class QWidget;

/// Runs a batch file in a console window that shows its output and stays open at "pause" until a
/// key is pressed; returns when the window has closed. While a program runs the window stays
/// responsive, shows a busy cursor and a "<name> is running" note whose Stop button ends that
/// program (the rest of the file, "pause" included, is then skipped). Result as interpretBatchFile.
BatchRunResult runBatchInConsole(QWidget* parent, const std::string& batchPath, const std::string& workDir);
