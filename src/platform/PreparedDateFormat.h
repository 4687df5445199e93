#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>
#include <vector>

namespace platform {

// A date or time format of plain fields (d dd ddd dddd M MM MMM MMMM yy yyyy h hh H HH m mm
// s ss, AP or ap, and other characters as they stand), written as QLocale::toString writes it
// for a locale with ASCII digits, without asking the locale again for every value: lists
// format thousands of dates. Formats with anything else (milliseconds, time zones, quoted
// text) are not taken, and QLocale stays their writer.
class PreparedDateFormat {
public:
    // A date format takes only date fields, a time format only time fields.
    enum class Kind { kDate, kTime };
    static std::optional<PreparedDateFormat> Parse(const QString& format, const QLocale& locale,
                                                   Kind kind);

    // A date format writes a valid date, a time format a valid time.
    [[nodiscard]] QString Write(QDate date, QTime time) const;

private:
    struct Piece {
        char16_t field = 0;  // 0: literal text
        int width = 0;
        QString literal;
    };

    std::vector<Piece> pieces_;
    std::vector<QString> shortMonths_;
    std::vector<QString> longMonths_;
    std::vector<QString> shortDays_;
    std::vector<QString> longDays_;
    bool twelveHour_ = false;
    QString am_;
    QString pm_;
};

}  // namespace platform
