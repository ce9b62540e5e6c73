#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "SplitTestFiles.h"
#include "ui/QtSplitPlatform.h"

/// The Qt platform with scripted message boxes and file dialogs; the tool's own dialogs are
/// the real ones, driven by the tests through onModal().
class TestSplitPlatform : public QtSplitPlatform {
public:
  struct Message {
    std::string text;
    MessageType type;
    MessageButtons buttons;
  };
  std::vector<Message> messages;
  std::deque<MessageAnswer> answers;
  std::deque<std::optional<std::string>> openAnswers, saveAnswers;
  std::vector<FileDialogRequest> openRequests, saveRequests;
  int beeps = 0;
  /// Window state of the main window while a message was shown.
  std::vector<bool> mainVisibleAtMessage;

  MessageAnswer message(const std::string& text, MessageType type, MessageButtons buttons) override {
    messages.push_back({text, type, buttons});
    if (!answers.empty()) {
      const MessageAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::No
           : buttons == MessageButtons::Cancel || buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel
                                               : MessageAnswer::Ok;
  }
  std::optional<std::string> openFile(const FileDialogRequest& r) override {
    openRequests.push_back(r);
    return next(openAnswers);
  }
  std::optional<std::string> saveFile(const FileDialogRequest& r) override {
    saveRequests.push_back(r);
    return next(saveAnswers);
  }
  void beep() override { ++beeps; }

  std::vector<std::string> texts() const {
    std::vector<std::string> t;
    for (const auto& m : messages) t.push_back(m.text);
    return t;
  }

private:
  static std::optional<std::string> next(std::deque<std::optional<std::string>>& q) {
    if (q.empty()) return std::nullopt;
    auto v = q.front();
    q.pop_front();
    return v;
  }
};

/// Runs `action` on the next modal dialog of type T once it is up (polled from the event
/// loop, which the dialog's exec() keeps running).
template <typename T>
void onModal(std::function<void(T*)> action) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, clock, action] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()); dialog && dialog->isVisible()) {
      timer->stop();
      timer->deleteLater();
      delete clock;
      action(dialog);
    } else if (clock->elapsed() > 10000) {
      timer->stop();
      timer->deleteLater();
      delete clock;
    }
  });
  timer->start(10);
}

/// A temporary folder per test (the core tests' folder), with its path as a QString for the dialogs.
class GuiTestDir : public SplitTestDir {
public:
  QString qpath() const {
    const std::string folder = withSlash();
    return QString::fromStdString(folder.substr(0, folder.size() - 1));
  }
};

