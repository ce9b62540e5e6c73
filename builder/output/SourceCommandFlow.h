#pragma once
// The two commands of the "W&rite Source Code..." menu, without their menu entries:
// the dialogs and the calls of the source writer and the compile step.

class CDibDoc;

/// Both commands need a boundary with an extent and at least one main altitude record
/// (the writer looks every node up there).
bool canWriteSource(const CDibDoc& doc);

/// How one of the two commands ended.
enum class SourceOutcome { Cancelled, Made, Failed };

/// The two commands below, telling a Cancel in a dialog from a failure.
SourceOutcome scasmSourceOutcome(CDibDoc& doc);
SourceOutcome compileOutcome(CDibDoc& doc);

/// "SCASM": the "Select SCASM file name:" dialog in `sceneryOutputFolder`, then sets
/// `scasmFileTitle` / `scasmFolder` and writes the source. False on Cancel or when the file
/// cannot be written (nothing is reported).
bool runScasmSourceCommand(CDibDoc& doc);

/// "Compile to BGL": says so and stops when scasm.exe is missing from the application folder,
/// else the "Select BGL file name:" dialog and compileToBgl. False on Cancel or failure.
bool runCompileCommand(CDibDoc& doc);
