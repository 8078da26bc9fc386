#pragma once

#include <QString>
#include <QWidget>

class QPainter;

// A round dial with a needle: the scale runs from 0 to its maximum in main divisions, each split
// into 5 subdivisions, and the value is also written as "000.0" below the centre.
class TDialGauge : public QWidget {
public:
    static constexpr int SubDivisions = 5;

    explicit TDialGauge(QWidget* parent = nullptr);

    double Value() const { return FValue; }
    void SetValue(double value);
    int Maximum() const { return FMaximum; }
    int Divisions() const { return FDivisions; }
    void SetScale(int maximum, int divisions);
    QString ValueText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The angle in degrees (counter-clockwise from three o'clock) at which `value` lies.
    double AngleOf(double value) const;
    void PaintScale(QPainter& painter, double radius) const;
    void PaintNeedle(QPainter& painter, double radius) const;

    double FValue = 0;
    int FMaximum = 0;
    int FDivisions = 5;
};
