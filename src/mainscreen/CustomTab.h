#pragma once

#include <QWidget>

// Tab 1 of the main screen: compose a custom exam from the exam kinds' questions.
class CustomTab : public QWidget {
    Q_OBJECT
public:
    explicit CustomTab(QWidget* parent = nullptr);
};
