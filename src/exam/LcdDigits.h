#pragma once

#include <QColor>
#include <QWidget>

// One seven-segment digit of the exam clock.
class LcdDigit : public QWidget {
    Q_OBJECT
public:
    explicit LcdDigit(QWidget* parent = nullptr);
};

// One colon of the exam clock.
class LcdColon : public QWidget {
    Q_OBJECT
public:
    explicit LcdColon(QWidget* parent = nullptr);
};
