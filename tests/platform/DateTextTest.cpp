#include <gtest/gtest.h>

#include <QLocale>

#include <limits>

#include "platform/DateText.h"

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
