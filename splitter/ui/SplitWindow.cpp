#include "ui/SplitWindow.h"

#include <QDir>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "SplitConstants.h"
#include "ui/QtSplitPlatform.h"

namespace {
const char* const kPageNames[SplitSession::DocCount] = {"DocPage_OV", "DocPage_A", "DocPage_B",
                                                        "DocPage_C", "DocPage_D", "DocPage_Instructions"};
const char* const kEditorNames[SplitSession::DocCount] = {"OvDoc",      "Document_A", "Document_B",
                                                          "Document_C", "Document_D", "CompileDoc"};

QString joined(const std::vector<std::string>& lines) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) list << QString::fromStdString(line);
  return list.join(QLatin1Char('\n'));
}

std::vector<std::string> linesOf(const QString& text) {
  std::vector<std::string> lines;
  if (text.isEmpty()) return lines;
  for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
  return lines;
}
}  // namespace

SplitWindow::SplitWindow(const QString& configFolder, QtSplitPlatform* platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
  if (!platform_) {
    ownPlatform_ = std::make_unique<QtSplitPlatform>();
    platform_ = ownPlatform_.get();
  }
  platform_->setMainWindow(this);
  setObjectName(QStringLiteral("SplitWindow"));
  setWindowTitle(QString::fromLatin1(SplitConstants::kAppTitle));

  Page = new QTabWidget(this);
  Page->setObjectName(QStringLiteral("Page"));
  for (int d = 0; d < SplitSession::DocCount; ++d) {
    auto* page = new QWidget(Page);
    page->setObjectName(QLatin1String(kPageNames[d]));
    auto* editor = new QPlainTextEdit(page);
    editor->setObjectName(QLatin1String(kEditorNames[d]));
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    editor->setFont(mono);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor);
    Page->addTab(page, QLatin1String(SplitSession::kInitialCaptions[d]));
    docPages[static_cast<std::size_t>(d)] = page;
    editors[static_cast<std::size_t>(d)] = editor;
  }
  setCentralWidget(Page);

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  LoadOvFile = file->addAction(QStringLiteral("Load OV File"), this, &SplitWindow::LoadOvFileClick);
  file->addSeparator();
  SaveAllDocs = file->addAction(QStringLiteral("Save All Documents"), this, &SplitWindow::SaveAllDocsClick);
  file->addSeparator();
  ClearAllDocs = file->addAction(QStringLiteral("Clear All Documents"), this, &SplitWindow::ClearAllDocsClick);
  file->addSeparator();
  Mexit = file->addAction(QStringLiteral("Exit"), this, &SplitWindow::MexitClick);
  QMenu* compile = menuBar()->addMenu(QStringLiteral("Compile"));
  MCompileNow = compile->addAction(QStringLiteral("Compile Now"), this, &SplitWindow::MCompileNowClick);
  MCompileNow->setEnabled(false);
  QMenu* about = menuBar()->addMenu(QStringLiteral("About"));
  AboutOVSplit = about->addAction(QStringLiteral("About OVSplit"), this, &SplitWindow::AboutOVSplitClick);
  LoadOvFile->setObjectName(QStringLiteral("LoadOvFile"));
  SaveAllDocs->setObjectName(QStringLiteral("SaveAllDocs"));
  ClearAllDocs->setObjectName(QStringLiteral("ClearAllDocs"));
  Mexit->setObjectName(QStringLiteral("Mexit"));
  MCompileNow->setObjectName(QStringLiteral("MCompileNow"));
  AboutOVSplit->setObjectName(QStringLiteral("AboutOVSplit"));
  resize(820, 600);

  // The configuration lies in the folder the program was started from.
  config_ = IniFile(QDir(configFolder).filePath(QLatin1String(SplitConstants::kConfigFileName)).toStdString());
  session_ = std::make_unique<SplitSession>(*platform_, config_);
  session_->onChanged = [this] { showSession(); };
  session_->onPullEdits = [this] { pullEdits(); };
  startupOk_ = session_->startUp();
}

SplitWindow::~SplitWindow() = default;

void SplitWindow::showSession() {
  const SplitSession& s = *session_;
  for (int d = 0; d < SplitSession::DocCount; ++d) {
    const auto i = static_cast<std::size_t>(d);
    const QString text = joined(s.docs[i]);
    if (editors[i]->toPlainText() != text) editors[i]->setPlainText(text);
    Page->setTabText(d, QString::fromStdString(s.captions[i]));
  }
  Page->setCurrentIndex(s.activeTab);
  MCompileNow->setEnabled(s.compileEnabled);
}

void SplitWindow::pullEdits() {
  for (int d = 0; d < SplitSession::DocCount; ++d) {
    const auto i = static_cast<std::size_t>(d);
    // An untouched editor keeps the session's lines: bytes that are not UTF-8 (a source in an
    // 8-bit code page) show as replacement characters and would not survive the round trip.
    const QString text = editors[i]->toPlainText();
    if (text != joined(session_->docs[i])) session_->docs[i] = linesOf(text);
  }
}

void SplitWindow::LoadOvFileClick() { session_->LoadOvFile(); }

void SplitWindow::SaveAllDocsClick() { session_->SaveDocuments(); }

void SplitWindow::ClearAllDocsClick() { session_->ClearDocuments(); }

void SplitWindow::MexitClick() {
  if (session_->ConfirmExit()) close();
}

void SplitWindow::MCompileNowClick() { session_->pipeline().RunCompile(); }

void SplitWindow::AboutOVSplitClick() { session_->About(); }
