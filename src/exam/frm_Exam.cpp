#include "exam/frm_Exam.h"

frm_Exam::frm_Exam(QWidget* parent) : QWidget(parent) {}

frm_Exam::~frm_Exam() = default;
