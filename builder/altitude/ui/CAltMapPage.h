#pragma once
// One page of the "Altitude Map Properties" sheet, working on the project that opened the sheet.
// The sheet calls onSetActive when the page becomes current, onKillActive when the user leaves
// it, and onApply on OK and Apply for every page that was ever shown.

#include <QString>
#include <QWidget>

class CDibDoc;

class CAltMapPage : public QWidget {
    Q_OBJECT
public:
    CAltMapPage(CDibDoc& doc, const QString& title, QWidget* parent = nullptr);

    const QString& title() const { return title_; }
    bool wasShown() const { return shown_; }

    /// The sheet's entry points; they keep track of whether the page was shown.
    void activate();
    void leave();
    void apply();

signals:
    /// A control changed (the sheet enables Apply).
    void changed();
    /// The project's list of maps changed (added or deleted).
    void mapsChanged();

protected:
    virtual void onSetActive() {}
    virtual void onKillActive() {}
    virtual void onApply() {}

    CDibDoc& doc_;

private:
    QString title_;
    bool shown_ = false;
};
