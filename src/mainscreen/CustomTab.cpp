#include "mainscreen/CustomTab.h"

CustomTab::CustomTab(QWidget* parent) : QWidget(parent) {}
