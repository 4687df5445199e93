#include <gtest/gtest.h>

#include <QLocale>

#include <limits>
#include <vector>

#include "platform/DateText.h"
#include "platform/PreparedDateFormat.h"

namespace {

// Restores the default locale a test changed.
struct DefaultLocale {
    QLocale previous;
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(previous); }
};

}  // namespace

TEST(DateTextTest, EveryDateTextTheWindowsWriteParsesBackInAnyLocale) {
    // 2026-01-31 09:15:30, 2026-12-06 21:02:02, and a whole day.
    const double dates[] = {46053.386458333333, 46362.876412037037, 46400.0};
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany)}) {
        const DefaultLocale use(locale);
        for (auto* format : {&platform::GeneralDateText, &platform::ShortDateTimeText}) {
            std::optional<std::pair<QDate, QTime>> previous;
            for (const double date : dates) {
                const QString text = format(date);
                const auto parsed = platform::ParseDateText(text);
                ASSERT_TRUE(parsed.has_value()) << text.toStdString();
                if (previous) {
                    EXPECT_LT(*previous, *parsed) << text.toStdString();
                }
                previous = parsed;
            }
        }
    }
    EXPECT_EQ(platform::ParseDateText("2026-12-06 21:02:02"),
              std::pair(QDate(2026, 12, 6), QTime(21, 2, 2)));
    EXPECT_FALSE(platform::ParseDateText("Final Exam").has_value());
}

TEST(DateTextTest, DatesNoCalendarHoldsShowEmpty) {
    for (const double date :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), 1e300, -1e18, 2958466.0}) {
        EXPECT_TRUE(platform::GeneralDateText(date).isEmpty()) << date;
        EXPECT_TRUE(platform::ShortDateTimeText(date).isEmpty()) << date;
    }
    EXPECT_FALSE(platform::GeneralDateText(2958465.5).isEmpty());  // 9999-12-31 12:00
    EXPECT_FALSE(platform::GeneralDateText(-657434.0).isEmpty());  // 0100-01-01
}

// Prepared formats are written without QLocale: they must write what it writes, for the
// formats of many locales, over the whole range of showable years and every time of day.
TEST(DateTextTest, PreparedFormatsWriteWhatTheLocaleWrites) {
    using platform::PreparedDateFormat;
    const std::vector<QLocale> locales = {
        QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::English, QLocale::UnitedKingdom),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::Japanese, QLocale::Japan),
        QLocale(QLocale::Dutch, QLocale::Netherlands),
        QLocale(QLocale::Korean, QLocale::SouthKorea),
    };
    int taken = 0;
    for (const QLocale& locale : locales) {
        for (const QString& format :
             {locale.dateFormat(QLocale::ShortFormat), locale.dateFormat(QLocale::LongFormat),
              QStringLiteral("d.M.yy"), QStringLiteral("yyyy-MM-dd"),
              QStringLiteral("ddd d MMM yyyy"), QStringLiteral("dddd, d MMMM yy")}) {
            const auto prepared =
                PreparedDateFormat::Parse(format, locale, PreparedDateFormat::Kind::kDate);
            if (!prepared) continue;
            ++taken;
            for (QDate date(100, 1, 1); date.year() <= 9999; date = date.addDays(2999))
                ASSERT_EQ(prepared->Write(date, {}), locale.toString(date, format))
                    << format.toStdString();
        }
        for (const QString& format :
             {locale.timeFormat(QLocale::ShortFormat), QStringLiteral("h:mm:ss AP"),
              QStringLiteral("hh:mm:ss ap"), QStringLiteral("H:m:s")}) {
            const auto prepared =
                PreparedDateFormat::Parse(format, locale, PreparedDateFormat::Kind::kTime);
            if (!prepared) continue;
            ++taken;
            for (int second = 0; second < 86400; second += 173) {
                const QTime time = QTime(0, 0).addSecs(second);
                ASSERT_EQ(prepared->Write({}, time), locale.toString(time, format))
                    << format.toStdString();
            }
        }
    }
    EXPECT_GT(taken, 40);
    // Quoted text, odd widths and time fields in a date are left to the locale.
    for (const char* format : {"d 'de' M", "yyy", "ddddd", "d.M.yy h"})
        EXPECT_FALSE(PreparedDateFormat::Parse(QString::fromLatin1(format), QLocale::c(),
                                               PreparedDateFormat::Kind::kDate))
            << format;
    EXPECT_FALSE(PreparedDateFormat::Parse(QStringLiteral("h:mm:ss t"), QLocale::c(),
                                           PreparedDateFormat::Kind::kTime));
}
