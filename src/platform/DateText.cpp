#include "platform/DateText.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

#include "formats/OleDate.h"
#include "platform/PreparedDateFormat.h"

namespace platform {

namespace {

// Whole days since 1899-12-30 and the seconds of the day, rounded; an invalid date and
// time (shown as empty texts) for a value no calendar year 100 to 9999 holds.
std::pair<QDate, QTime> fromOleDate(double oleDate) {
    if (!formats::IsShowableOleDate(oleDate)) return {};
    double days = std::floor(oleDate);
    auto seconds = static_cast<int>(std::nearbyint((oleDate - days) * 86400.0));
    if (seconds >= 86400) {
        days += 1;
        seconds -= 86400;
    }
    return {QDate(1899, 12, 30).addDays(static_cast<qint64>(days)), QTime(0, 0).addSecs(seconds)};
}

// The locale's short date and its long time without the time-zone part, asked of the locale
// once: lists format thousands of dates, and every question of the system locale reads the
// system's settings again.
struct DateFormats {
    QString shortDate;
    QString longTime;
    std::optional<PreparedDateFormat> preparedDate;
    std::optional<PreparedDateFormat> preparedTime;
};

const DateFormats& formatsOf(const QLocale& locale) {
    static QLocale madeFor = QLocale::c();
    static DateFormats formats;
    static bool made = false;
    if (made && locale == madeFor) return formats;
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    formats.shortDate = locale.dateFormat(QLocale::ShortFormat);
    formats.longTime = locale.timeFormat(QLocale::LongFormat);
    formats.longTime.remove(zone);
    formats.preparedDate =
        PreparedDateFormat::Parse(formats.shortDate, locale, PreparedDateFormat::Kind::kDate);
    formats.preparedTime =
        PreparedDateFormat::Parse(formats.longTime, locale, PreparedDateFormat::Kind::kTime);
    madeFor = locale;
    made = true;
    return formats;
}

QString longTimeFormat(const QLocale& locale) {
    return formatsOf(locale).longTime;
}

std::optional<std::pair<QDate, QTime>> isoDate(const QString& text) {
    constexpr qsizetype kDateChars = 10;
    const QDate date = QDate::fromString(text.left(kDateChars), Qt::ISODate);
    if (!date.isValid()) return std::nullopt;
    if (text.size() == kDateChars) return std::pair(date, QTime(0, 0));
    const QChar separator = text.at(kDateChars);
    if (separator != QLatin1Char(' ') && separator != QLatin1Char('T')) return std::nullopt;
    const QTime time = QTime::fromString(text.mid(kDateChars + 1), Qt::ISODate);
    if (!time.isValid()) return std::nullopt;
    return std::pair(date, time);
}

std::optional<std::pair<QDate, QTime>> localeDate(const QString& text, const QLocale& locale) {
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    for (const QString& format : {shortDate + QLatin1Char(' ') + longTimeFormat(locale),
                                  locale.dateTimeFormat(QLocale::ShortFormat)}) {
        if (const QDateTime when = locale.toDateTime(text, format); when.isValid())
            return std::pair(when.date(), when.time());
    }
    if (const QDate date = locale.toDate(text, shortDate); date.isValid())
        return std::pair(date, QTime(0, 0));
    return std::nullopt;
}

}  // namespace

QString GeneralDateText(double oleDate) {
    const auto [date, time] = fromOleDate(oleDate);
    if (!date.isValid()) return {};
    const QLocale locale;
    const DateFormats& formats = formatsOf(locale);
    QString text = formats.preparedDate ? formats.preparedDate->Write(date, {})
                                        : locale.toString(date, formats.shortDate);
    if (time == QTime(0, 0)) return text;
    text += QLatin1Char(' ');
    text += formats.preparedTime ? formats.preparedTime->Write({}, time)
                                 : locale.toString(time, formats.longTime);
    return text;
}

QString ShortDateTimeText(double oleDate) {
    const auto [date, time] = fromOleDate(oleDate);
    if (!date.isValid()) return {};
    return QLocale().toString(QDateTime(date, time), QLocale::ShortFormat);
}

std::optional<std::pair<QDate, QTime>> ParseDateText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (auto iso = isoDate(trimmed)) return iso;
    if (auto local = localeDate(trimmed, QLocale())) return local;
    return localeDate(trimmed, QLocale::c());
}

}  // namespace platform
