#pragma once
#include <string>

class QWidget;

/// Runs a batch file in a console window that shows its output and stays open at "pause" until a
/// key is pressed; returns when the window has closed. Result as interpretBatchFile.
int runBatchInConsole(QWidget* parent, const std::string& batchPath, const std::string& workDir);
