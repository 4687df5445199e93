#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>
#include <utility>

// Dates as the windows show them, and back: the list sort must read every date text the
// program writes, in whatever locale it runs.
namespace platform {

// The general text of a date-time: the short date, then the long time unless the value is
// a whole day.
QString GeneralDateText(double oleDate);

// The short date and short time.
QString ShortDateTimeText(double oleDate);

// The date and time of a text written by the functions above (in this locale or the C
// locale) or in ISO form; nullopt for any other text.
std::optional<std::pair<QDate, QTime>> ParseDateText(const QString& text);

}  // namespace platform
