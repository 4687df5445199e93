#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <string>

#include "exam/LcdDigits.h"
#include "platform/Look.h"

namespace {

// Centre of a cell of a `columns` x 19 grid, in the grabbed image.
QColor cellColour(const QImage& image, QPoint cell, int columns = 13) {
    return image.pixelColor((2 * cell.x() + 1) * image.width() / (2 * columns),
                            (2 * cell.y() + 1) * image.height() / 38);
}

// "1" per lit segment: top, upper left, upper right, middle, lower left, lower right, bottom.
std::string litSegments(LcdDigit& digit, int number, const QColor& lit) {
    static constexpr std::array<QPoint, 7> kCentres{
        {{6, 1}, {1, 5}, {11, 5}, {6, 9}, {1, 13}, {11, 13}, {6, 17}}};
    digit.Draw(number, lit);
    const QImage image = digit.grab().toImage();
    std::string on;
    for (const QPoint centre : kCentres) {
        const QColor colour = cellColour(image, centre);
        EXPECT_TRUE(colour == lit || colour == LcdUnlitColour()) << number;
        on += colour == lit ? '1' : '0';
    }
    return on;
}

}  // namespace

TEST(LcdDigits, DigitsLightTheirSegmentsAtAnyBoxSize) {
    const QColor green(0, 128, 0);
    for (const QSize size : {QSize(13, 19), QSize(45, 64), QSize(130, 190)}) {
        LcdDigit digit;
        digit.resize(size);
        EXPECT_EQ(litSegments(digit, 1, green), "0010010");
        EXPECT_EQ(litSegments(digit, 8, green), "1111111");
        EXPECT_EQ(litSegments(digit, 6, green), "1101111");
        EXPECT_EQ(litSegments(digit, 7, green), "1010010");
        EXPECT_EQ(litSegments(digit, 9, green), "1111011");
        // The hollows between the segments keep the panel colour.
        const QImage image = digit.grab().toImage();
        EXPECT_EQ(cellColour(image, {6, 5}), platform::PanelColour());
        EXPECT_EQ(cellColour(image, {6, 13}), platform::PanelColour());
    }
}

TEST(LcdDigits, ColoursAreRedrawnAndColonShowsTwoDots) {
    LcdDigit digit;
    digit.resize(65, 95);
    const QColor red(255, 0, 0);
    EXPECT_EQ(litSegments(digit, 0, red), "1110111");
    EXPECT_EQ(litSegments(digit, 0, QColor(19, 22, 147)), "1110111");

    LcdColon colon;
    colon.resize(25, 95);
    EXPECT_EQ(cellColour(colon.grab().toImage(), {1, 5}, 3), platform::PanelColour());
    colon.Draw(red);
    const QImage image = colon.grab().toImage();
    EXPECT_EQ(cellColour(image, {1, 5}, 3), red);
    EXPECT_EQ(cellColour(image, {1, 13}, 3), red);
    EXPECT_EQ(cellColour(image, {1, 9}, 3), platform::PanelColour());
}
