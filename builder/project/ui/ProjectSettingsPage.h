#pragma once
// "Project Settings" page: the map view's text, grid and scale colours of one project.

#include <QWidget>
#include <array>
#include <cstdint>

class CDibDoc;
class QPushButton;

class ProjectSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit ProjectSettingsPage(CDibDoc& doc, QWidget* parent = nullptr);

    /// Stores the chosen colours in the project.
    void apply();
    QPushButton* colorButton(int which) const { return buttons_[static_cast<std::size_t>(which)]; }
    std::uint32_t color(int which) const { return colors_[static_cast<std::size_t>(which)]; }

    enum Which { Text = 0, Grid = 1, Scale = 2 };

signals:
    void modified();

private:
    void choose(int which);
    void showColor(int which);

    CDibDoc& doc_;
    std::array<std::uint32_t, 3> colors_;
    std::array<QPushButton*, 3> buttons_{};
};
