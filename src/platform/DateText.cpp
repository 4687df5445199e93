#include "platform/DateText.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <deque>
#include <utility>

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

// The locale's date formats, asked of the locale once: lists format and sort thousands of
// dates, and every question of the system locale reads the system's settings again. Parsing
// tries the system locale and the C locale in turn, so each keeps its own entry.
struct DateFormats {
    QString shortDate;
    QString longTime;  // without its time-zone part
    QString shortDateTime;
    QString shortDateLongTime;  // as GeneralDateText writes them
    std::optional<PreparedDateFormat> preparedDate;
    std::optional<PreparedDateFormat> preparedTime;
};

const DateFormats& formatsOf(const QLocale& locale) {
    // A deque: entries stay where they are while others are added.
    static std::deque<std::pair<QLocale, DateFormats>> known;
    for (const auto& [madeFor, formats] : known)
        if (madeFor == locale) return formats;
    // A changed system locale makes another entry; a few are all a session sees.
    constexpr std::size_t kKept = 4;
    if (known.size() == kKept) known.pop_front();
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    DateFormats formats;
    formats.shortDate = locale.dateFormat(QLocale::ShortFormat);
    formats.longTime = locale.timeFormat(QLocale::LongFormat);
    formats.longTime.remove(zone);
    formats.shortDateTime = locale.dateTimeFormat(QLocale::ShortFormat);
    formats.shortDateLongTime = formats.shortDate + QLatin1Char(' ') + formats.longTime;
    formats.preparedDate =
        PreparedDateFormat::Parse(formats.shortDate, locale, PreparedDateFormat::Kind::kDate);
    formats.preparedTime =
        PreparedDateFormat::Parse(formats.longTime, locale, PreparedDateFormat::Kind::kTime);
    known.emplace_back(locale, std::move(formats));
    return known.back().second;
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
    const DateFormats& formats = formatsOf(locale);
    for (const QString& format : {formats.shortDateLongTime, formats.shortDateTime}) {
        if (const QDateTime when = locale.toDateTime(text, format); when.isValid())
            return std::pair(when.date(), when.time());
    }
    if (const QDate date = locale.toDate(text, formats.shortDate); date.isValid())
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
