#include "platform/PreparedDateFormat.h"

namespace platform {

namespace {

bool isLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Whether the letter is a field of the kind, written with that many letters.
bool takesField(char16_t field, int width, PreparedDateFormat::Kind kind) {
    const bool date = kind == PreparedDateFormat::Kind::kDate;
    switch (field) {
        case u'd':
        case u'M':
            return date && width >= 1 && width <= 4;
        case u'y':
            return date && (width == 2 || width == 4);
        case u'h':
        case u'H':
        case u'm':
        case u's':
            return !date && (width == 1 || width == 2);
        default:
            return false;
    }
}

void appendNumber(QString& text, int value, int width) {
    if (width >= 2 && value < 10) text += u'0';
    if (width == 4) {
        if (value < 1000) text += u'0';
        if (value < 100) text += u'0';
    }
    text += QString::number(value);
}

}  // namespace

std::optional<PreparedDateFormat> PreparedDateFormat::Parse(const QString& format,
                                                            const QLocale& locale, Kind kind) {
    if (locale.zeroDigit() != QStringLiteral("0")) return std::nullopt;
    PreparedDateFormat parsed;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        if ((c == u'A' || c == u'a') && kind == Kind::kTime) {
            const char16_t p = c == u'A' ? u'P' : u'p';
            if (run != 1 || i + 1 >= format.size() || format.at(i + 1) != p) return std::nullopt;
            parsed.pieces_.push_back({c.unicode(), 2, {}});
            parsed.twelveHour_ = true;
            i += 2;
            continue;
        }
        if (c == u'\'') return std::nullopt;
        if (!isLetter(c)) {
            if (parsed.pieces_.empty() || parsed.pieces_.back().field != 0)
                parsed.pieces_.push_back({});
            parsed.pieces_.back().literal += format.mid(i, run);
            i += run;
            continue;
        }
        if (!takesField(c.unicode(), static_cast<int>(run), kind)) return std::nullopt;
        parsed.pieces_.push_back({c.unicode(), static_cast<int>(run), {}});
        i += run;
    }
    parsed.am_ = locale.amText();
    parsed.pm_ = locale.pmText();
    for (int month = 1; month <= 12; ++month) {
        parsed.shortMonths_.push_back(locale.monthName(month, QLocale::ShortFormat));
        parsed.longMonths_.push_back(locale.monthName(month, QLocale::LongFormat));
    }
    for (int day = 1; day <= 7; ++day) {
        parsed.shortDays_.push_back(locale.dayName(day, QLocale::ShortFormat));
        parsed.longDays_.push_back(locale.dayName(day, QLocale::LongFormat));
    }
    return parsed;
}

QString PreparedDateFormat::Write(QDate date, QTime time) const {
    QString text;
    text.reserve(32);
    for (const Piece& piece : pieces_) {
        switch (piece.field) {
            case 0:
                text += piece.literal;
                break;
            case u'd':
                if (piece.width <= 2)
                    appendNumber(text, date.day(), piece.width);
                else
                    text += (piece.width == 3
                                 ? shortDays_
                                 : longDays_)[static_cast<std::size_t>(date.dayOfWeek() - 1)];
                break;
            case u'M':
                if (piece.width <= 2)
                    appendNumber(text, date.month(), piece.width);
                else
                    text += (piece.width == 3
                                 ? shortMonths_
                                 : longMonths_)[static_cast<std::size_t>(date.month() - 1)];
                break;
            case u'y':
                appendNumber(text, piece.width == 2 ? date.year() % 100 : date.year(), piece.width);
                break;
            case u'h': {
                int hour = time.hour();
                if (twelveHour_) hour = hour == 0 ? 12 : hour > 12 ? hour - 12 : hour;
                appendNumber(text, hour, piece.width);
                break;
            }
            case u'H':
                appendNumber(text, time.hour(), piece.width);
                break;
            case u'm':
                appendNumber(text, time.minute(), piece.width);
                break;
            case u's':
                appendNumber(text, time.second(), piece.width);
                break;
            case u'A':
                text += (time.hour() < 12 ? am_ : pm_).toUpper();
                break;
            case u'a':
                text += (time.hour() < 12 ? am_ : pm_).toLower();
                break;
            default:
                break;
        }
    }
    return text;
}

}  // namespace platform
