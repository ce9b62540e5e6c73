#include "ui/SplitWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "RecentSources.h"
#include "SplitConstants.h"
#include "ui/QtSplitPlatform.h"
#include "ui/SplitIcon.h"

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

/// The local file of a drag when it is one source the tool can split.
QString droppedSource(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QString path = data->urls().first().toLocalFile();
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == QLatin1String("sca") || suffix == QLatin1String("scm") ? path : QString();
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
  setWindowTitle(QString::fromLatin1(SplitConstants::kAppTitle) + QStringLiteral("[*]"));
  setWindowIcon(SplitIcon::icon());
  setAcceptDrops(true);

  Page = new QTabWidget(this);
  Page->setObjectName(QStringLiteral("Page"));
  const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (int d = 0; d < SplitSession::DocCount; ++d) {
    auto* page = new QWidget(Page);
    page->setObjectName(QLatin1String(kPageNames[d]));
    auto* editor = new QPlainTextEdit(page);
    editor->setObjectName(QLatin1String(kEditorNames[d]));
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setFont(mono);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor);
    Page->addTab(page, QLatin1String(SplitSession::kInitialCaptions[d]));
    docPages[static_cast<std::size_t>(d)] = page;
    editors[static_cast<std::size_t>(d)] = editor;
    // The source tab is never saved; a hand edit of a split document is unsaved work.
    if (d != SplitSession::OvDoc)
      connect(editor, &QPlainTextEdit::textChanged, this, [this] {
        if (showing_ || !session_ || !session_->compileEnabled || session_->modified) return;
        session_->modified = true;
        setWindowModified(true);
      });
  }
  setCentralWidget(Page);

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  LoadOvFile = file->addAction(QStringLiteral("&Load OV File"), this, &SplitWindow::LoadOvFileClick);
  LoadOvFile->setShortcut(QKeySequence::Open);
  RecentFiles = file->addMenu(QStringLiteral("&Recent Files"));
  RecentFiles->setObjectName(QStringLiteral("RecentFiles"));
  file->addSeparator();
  SaveAllDocs = file->addAction(QStringLiteral("&Save All Documents"), this, &SplitWindow::SaveAllDocsClick);
  SaveAllDocs->setShortcut(QKeySequence::Save);
  file->addSeparator();
  ClearAllDocs = file->addAction(QStringLiteral("&Clear All Documents"), this, &SplitWindow::ClearAllDocsClick);
  ClearAllDocs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  file->addSeparator();
  Mexit = file->addAction(QStringLiteral("E&xit"), this, &SplitWindow::MexitClick);
  Mexit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  QMenu* compile = menuBar()->addMenu(QStringLiteral("&Compile"));
  MCompileNow = compile->addAction(QStringLiteral("Compile &Now"), this, &SplitWindow::MCompileNowClick);
  MCompileNow->setShortcut(QKeySequence(Qt::Key_F9));
  MCompileNow->setEnabled(false);
  QMenu* about = menuBar()->addMenu(QStringLiteral("&About"));
  AboutOVSplit = about->addAction(QStringLiteral("&About OVSplit"), this, &SplitWindow::AboutOVSplitClick);
  LoadOvFile->setObjectName(QStringLiteral("LoadOvFile"));
  SaveAllDocs->setObjectName(QStringLiteral("SaveAllDocs"));
  ClearAllDocs->setObjectName(QStringLiteral("ClearAllDocs"));
  Mexit->setObjectName(QStringLiteral("Mexit"));
  MCompileNow->setObjectName(QStringLiteral("MCompileNow"));
  AboutOVSplit->setObjectName(QStringLiteral("AboutOVSplit"));

  // The configuration lies in the folder the program was started from.
  config_ = IniFile(QDir(configFolder).filePath(QLatin1String(SplitConstants::kConfigFileName)).toStdString());
  restoreWindowGeometry();
  session_ = std::make_unique<SplitSession>(*platform_, config_);
  session_->onChanged = [this] { showSession(); };
  session_->onPullEdits = [this] { pullEdits(); };
  session_->startUp();
  fillRecentFiles();
}

SplitWindow::~SplitWindow() = default;

void SplitWindow::restoreWindowGeometry() {
  const QByteArray saved =
      QByteArray::fromBase64(QByteArray::fromStdString(config_.readString("Window", "Geometry")));
  if (!saved.isEmpty() && restoreGeometry(saved)) return;
  // At a large scale factor the usual size can be more than the screen holds.
  const QRect screenArea = screen()->availableGeometry();
  const QSize size = QSize(820, 600).boundedTo(screenArea.size() * 9 / 10);
  resize(size);
  move(screenArea.center() - QPoint(size.width() / 2, size.height() / 2));
}

void SplitWindow::showSession() {
  const SplitSession& s = *session_;
  showing_ = true;
  for (int d = 0; d < SplitSession::DocCount; ++d) {
    const auto i = static_cast<std::size_t>(d);
    const QString text = joined(s.docs[i]);
    if (editors[i]->toPlainText() != text) editors[i]->setPlainText(text);
    Page->setTabText(d, QString::fromStdString(s.captions[i]));
  }
  showing_ = false;
  Page->setCurrentIndex(s.activeTab);
  MCompileNow->setEnabled(s.compileEnabled);
  setWindowModified(s.modified);
  fillRecentFiles();
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

void SplitWindow::fillRecentFiles() {
  // The list changes while one of its own entries is being handled: delete later, not now.
  for (QAction* old : RecentFiles->actions()) {
    RecentFiles->removeAction(old);
    old->deleteLater();
  }
  int n = 0;
  for (const std::string& path : RecentSources::list(config_)) {
    const QString shown = QDir::toNativeSeparators(QString::fromStdString(path));
    QAction* action = RecentFiles->addAction(QStringLiteral("&%1 %2").arg(++n).arg(shown));
    action->setData(QString::fromStdString(path));
    connect(action, &QAction::triggered, this, [this, path] { loadSource(QString::fromStdString(path)); });
  }
  RecentFiles->setEnabled(n > 0);
}

void SplitWindow::loadSource(const QString& path) { session_->LoadOvFile(QDir::toNativeSeparators(path).toStdString()); }

void SplitWindow::LoadOvFileClick() { session_->LoadOvFile(); }

void SplitWindow::SaveAllDocsClick() { session_->SaveDocuments(); }

void SplitWindow::ClearAllDocsClick() {
  if (session_->ConfirmDiscard()) session_->ClearDocuments();
}

void SplitWindow::MexitClick() {
  // With unsaved documents the one question is whether to save them.
  session_->onPullEdits();
  if (session_->modified ? session_->ConfirmDiscard() : session_->ConfirmExit()) {
    discardAsked_ = true;
    if (!close()) discardAsked_ = false;
  }
}

void SplitWindow::closeEvent(QCloseEvent* event) {
  if (!discardAsked_ && !session_->ConfirmDiscard()) {
    event->ignore();
    return;
  }
  discardAsked_ = false;
  config_.writeString("Window", "Geometry", saveGeometry().toBase64().toStdString());
  event->accept();
}

void SplitWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!droppedSource(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void SplitWindow::dropEvent(QDropEvent* event) {
  const QString path = droppedSource(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // The load shows dialogs: run it after the drop has ended, not inside the drag source's call.
  QTimer::singleShot(0, this, [this, path] { loadSource(path); });
}

void SplitWindow::MCompileNowClick() { session_->pipeline().RunCompile(); }

void SplitWindow::AboutOVSplitClick() { session_->About(); }
