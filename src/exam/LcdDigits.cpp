#include "exam/LcdDigits.h"

LcdDigit::LcdDigit(QWidget* parent) : QWidget(parent) {}

LcdColon::LcdColon(QWidget* parent) : QWidget(parent) {}
