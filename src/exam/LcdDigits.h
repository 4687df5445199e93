#pragma once

#include <QColor>
#include <QWidget>

#include <optional>

// Segments that are not lit.
inline QColor LcdUnlitColour() {
    return QColor(220, 220, 220);
}

// One seven-segment digit of the exam clock. The digit is laid out on a 13 x 19 pixel grid
// and scaled to the box; until the first Draw the box shows only its background.
class LcdDigit : public QWidget {
    Q_OBJECT
public:
    explicit LcdDigit(QWidget* parent = nullptr);

    // Digit 0 to 9 in the lit colour, the other segments unlit; any other number lights none.
    void Draw(int number, const QColor& lit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Shown {
        int number;
        QColor lit;
    };
    std::optional<Shown> shown_;
};

// One colon of the exam clock: two round dots in the lit colour.
class LcdColon : public QWidget {
    Q_OBJECT
public:
    explicit LcdColon(QWidget* parent = nullptr);

    void Draw(const QColor& lit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<QColor> lit_;
};
