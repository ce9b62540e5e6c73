#pragma once
// One page of the Preferences sheet. A page loads its controls from the settings the first
// time it becomes active and writes them back on OK / Apply only if it was ever shown, so
// pages the user never opened leave their settings alone.

#include <QString>
#include <QWidget>

class AppContext;

class PreferencesPage : public QWidget {
    Q_OBJECT
public:
    PreferencesPage(AppContext& app, const QString& title, QWidget* parent = nullptr);

    const QString& title() const { return title_; }
    bool wasShown() const { return shown_; }

    /// Called by the sheet whenever the page becomes the current page.
    void activate();
    /// OK / Apply: writes the page's values into the settings when the page was shown.
    void apply();

signals:
    /// A control changed: the sheet enables Apply.
    void modified();

protected:
    virtual void loadFromSettings() = 0;
    virtual void onSetActive() {}
    virtual void writeSettings() = 0;

    AppContext& app_;

private:
    QString title_;
    bool shown_ = false;
};
