#include "SplitSession.h"

#include "FileText.h"
#include "IniFile.h"
#include "RecentSources.h"
#include "SourceSplitter.h"
#include "SplitConstants.h"
#include "SplitPlatform.h"

const std::array<const char*, SplitSession::DocCount> SplitSession::kInitialCaptions = {
    "OV Code (Original)", "Document_A", "Document_B", "Document_C", "Document_D", "Compile Instructions"};

namespace {

/// Reads a source as lines. False, with the message for the user in `error`, when it cannot
/// be read or holds nothing (there is no first line to check).
bool readSource(const std::string& path, std::vector<std::string>& lines, std::string& error) {
  std::string data, reason;
  if (!FileText::readFile(path, data, reason)) {
    error = "Could not read the source file\r\r" + path + "\r\r" + reason;
    return false;
  }
  lines = FileText::splitLines(data);
  if (lines.empty()) {
    error = "The source file is empty\r\r" + path + "\r\rNothing was split.";
    return false;
  }
  return true;
}

}  // namespace

SplitSession::SplitSession(SplitPlatform& platform, IniFile& config)
    : platform_(platform), config_(config), pipeline_(*this) {
  for (int d = 0; d < DocCount; ++d) captions[d] = kInitialCaptions[d];
}

void SplitSession::changed() {
  if (onChanged) onChanged();
}

void SplitSession::startUp() {
  ClearDocuments();
  pipeline_.findPrograms();
}

void SplitSession::ClearDocuments() {
  activeTab = OvDoc;
  for (auto& doc : docs) doc.clear();
  for (int d = 0; d < DocCount; ++d) captions[d] = kInitialCaptions[d];
  compileEnabled = false;
  modified = false;
  changed();
}

bool SplitSession::CheckSourceFile(const std::string& path) {
  std::vector<std::string> lines;
  std::string error;
  if (!readSource(path, lines, error)) {
    platform_.message(error, MessageType::Error, MessageButtons::Ok);
    return false;
  }
  if (SourceSplitter::isExpectedCopyrightLine(lines.front())) return true;
  return platform_.message(path + "\r\rMay not be a valid Orvane file", MessageType::Warning,
                           MessageButtons::OkCancel) == MessageAnswer::Ok;
}

void SplitSession::LoadOvFile(const std::string& chosen) {
  if (!chosen.empty() && !FileText::fileExists(chosen)) {
    RecentSources::remove(config_, chosen);
    platform_.message("The file\r\r" + chosen + "\r\rdoes not exist. It has been taken off the list of recent files.",
                      MessageType::Warning, MessageButtons::Ok);
    changed();
    return;
  }
  if (!ConfirmDiscard()) return;

  FileDialogRequest open;
  open.title = "Select a Orvane File";
  open.filter = "Orvane Scasm Files (*.sca)|*.SCA|Orvane Scasm Files (*.scm)|*.SCM";
  open.pathMustExist = true;
  open.fileMustExist = true;

  FileDialogRequest save;
  save.pathMustExist = true;
  save.overwritePrompt = true;
  save.filter = "Scasm Files (*.sca)|*.SCA|Scasm Files (*.scm)|*.SCM|Bgl Files (*.bgl)|*.BGL";
  save.title = "Save new files as";

  const std::string recentSource = config_.readString("Recent", "Orvane");
  const std::string recentSaved = config_.readString("Recent", "Saved");
  if (!recentSource.empty()) {
    if (FileText::fileExists(recentSource)) {
      open.initialDir = FileText::folderOf(recentSource);
      open.fileName = FileText::fileNameOf(recentSource);
    } else if (FileText::folderExists(FileText::folderOf(recentSource))) {
      open.initialDir = FileText::folderOf(recentSource);
    }
  }
  if (!recentSaved.empty() && FileText::folderExists(FileText::folderOf(recentSaved))) {
    save.initialDir = FileText::folderOf(recentSaved);
    save.fileName = FileText::fileNameOf(recentSaved);
  }

  if (platform_.message("Opening Orvane.sca file will\r\rclear all existing documents? ", MessageType::Confirmation,
                        MessageButtons::OkCancel) != MessageAnswer::Ok)
    return;

  const auto source = chosen.empty() ? platform_.openFile(open) : std::optional<std::string>(chosen);
  if (!source) return;
  config_.writeString("Recent", "Orvane", *source);

  if (FileText::fileExists(*source) && !CheckSourceFile(*source)) return;

  if (platform_.message("Select directory and file name for new files\r\r_A, _B, _C, _D will be added to file name\r",
                        MessageType::Information, MessageButtons::OkCancel) != MessageAnswer::Ok)
    return;

  const auto target = platform_.saveFile(save);
  if (!target) return;
  config_.writeString("Recent", "Saved", *target);
  if (SplitSource(*source, *target)) {
    RecentSources::add(config_, *source);
    changed();
  }
}

bool SplitSession::SplitSource(const std::string& sourcePath, const std::string& savePath) {
  // Read before anything is cleared, so a bad source leaves the previous documents in place.
  std::vector<std::string> source;
  std::string error;
  if (!readSource(sourcePath, source, error)) {
    platform_.message(error, MessageType::Error, MessageButtons::Ok);
    return false;
  }

  ClearDocuments();
  compileEnabled = true;

  const SourceSplitter::SaveName save = SourceSplitter::parseSaveName(savePath);
  dir = save.dir;
  name = save.name;

  details = ProjectDetails::offered(config_);
  platform_.editProjectDetails(details);
  details.store(config_);

  captions[OvDoc] = FileText::fileNameOf(sourcePath) + " (original)";
  captions[DocumentA] = name + "_A.sca";
  captions[DocumentB] = name + "_B.sca";
  captions[DocumentC] = name + "_C.scm";
  captions[DocumentD] = name + "_D.scm";
  captions[CompileDoc] = name + "_Compile.doc";

  docs[OvDoc] = std::move(source);
  const auto indices = SourceSplitter::scanKeywords(docs[OvDoc]);
  const std::string missing = SourceSplitter::missingKeywords(indices);
  if (!missing.empty())
    platform_.message("The source has no line holding:\r\r" + missing +
                          "\r\rA comment line stands in its place in the documents; please check them.",
                      MessageType::Warning, MessageButtons::Ok);

  docs[DocumentC] = SourceSplitter::documentCStart(name, details, docs[OvDoc], indices);
  changed();
  while (platform_.message("Add a Runway?", MessageType::Confirmation, MessageButtons::YesNo) == MessageAnswer::Yes) {
    if (auto lines = platform_.addRunway(config_))
      docs[DocumentC].insert(docs[DocumentC].end(), lines->begin(), lines->end());
  }
  for (std::string& line : SourceSplitter::documentCEnd()) docs[DocumentC].push_back(std::move(line));

  docs[DocumentA] = SourceSplitter::documentA(save, details, docs[OvDoc], indices);
  docs[DocumentD] = SourceSplitter::documentD(save, details, docs[OvDoc], indices);
  docs[DocumentB] = SourceSplitter::documentB(save, docs[OvDoc], indices);
  WriteCompileInstructions();
  modified = true;
  changed();

  if (platform_.message("Document processing complete...\r\rStart compilation process?", MessageType::Confirmation,
                        MessageButtons::YesNo) == MessageAnswer::Yes) {
    pipeline_.RunCompile();
  } else if (platform_.message("Save documents to:\r\r" + dir, MessageType::Information, MessageButtons::YesNo) ==
             MessageAnswer::Yes) {
    SaveDocuments();
  }
  return true;
}

void SplitSession::WriteCompileInstructions() {
  for (std::string& line : SourceSplitter::compileInstructions({dir, name}))
    docs[CompileDoc].push_back(std::move(line));
}

bool SplitSession::SaveDocuments() {
  if (onPullEdits) onPullEdits();
  // Before any split there is no output name: saving would write "_A.sca" and so on into
  // whatever folder happens to be current.
  if (name.empty()) {
    platform_.message("There are no split documents to save.\r\rLoad an Orvane file first.",
                      MessageType::Information, MessageButtons::Ok);
    return false;
  }
  static const std::array<std::pair<int, const char*>, 5> outputs = {{{DocumentA, "_A.sca"},
                                                                      {DocumentB, "_B.sca"},
                                                                      {DocumentC, "_C.scm"},
                                                                      {DocumentD, "_D.scm"},
                                                                      {CompileDoc, "_Compile.doc"}}};
  std::string failed;
  for (const auto& [doc, suffix] : outputs) {
    const std::string path = dir + name + suffix;
    if (!FileText::writeLinesCrLf(path, docs[doc])) failed += "\r" + path;
  }
  if (!failed.empty()) {
    platform_.message("Could not save these documents:\r" + failed, MessageType::Error, MessageButtons::Ok);
    return false;
  }
  modified = false;
  changed();
  return true;
}

bool SplitSession::ConfirmExit() {
  return platform_.message("Exit OVSplit?", MessageType::Confirmation, MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool SplitSession::ConfirmDiscard() {
  if (onPullEdits) onPullEdits();
  if (!modified) return true;
  switch (platform_.message("Save changes?", MessageType::Confirmation, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return SaveDocuments();
    case MessageAnswer::No: return true;
    default: return false;
  }
}

void SplitSession::About() {
  platform_.message(std::string(SplitConstants::kAppTitle) + "\r\rScasm Path: " + scasmPath +
                        "\r\rCatgen Path: " + catgenPath,
                    MessageType::Plain, MessageButtons::Ok);
}
