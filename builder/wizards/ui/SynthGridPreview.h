#pragma once
// The frame in which the SynthWizard draws the chunk grid: square cells outlined in blue, centred.

#include <QFrame>
#include <QRect>
#include <QVector>

class SynthGridPreview : public QFrame {
    Q_OBJECT
public:
    explicit SynthGridPreview(QWidget* parent = nullptr);

    void setGrid(int columns, int rows);

    /// The cells drawn in a frame of `width` x `height`: none when a count is 0 or less; a count
    /// above 100 is drawn as 1. Side = the smaller of width / columns and height / rows.
    static QVector<QRect> cells(int width, int height, int columns, int rows);
    /// The cells as this frame draws them now (inside its contents).
    QVector<QRect> cells() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int columns_ = 0;
    int rows_ = 0;
};
