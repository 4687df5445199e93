#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QLoggingCategory>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "platform/mod_Picture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using mod_Picture::PictureFromBytes;

// 2x2 GIF89a: red, blue / blue, red.
const Bytes kGif = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x02, 0x00, 0x80, 0x00,
                    0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00,
                    0x02, 0x00, 0x02, 0x00, 0x00, 0x02, 0x03, 0x44, 0x02, 0x05, 0x00, 0x3B};

Bytes encode(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return Bytes(data.begin(), data.end());
}

QImage solid(QRgb colour) {
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool closeTo(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 8 && std::abs(qGreen(a) - qGreen(b)) < 8 &&
           std::abs(qBlue(a) - qBlue(b)) < 8;
}

Bytes withTrailingZero(Bytes bytes) {
    bytes.push_back(0);
    return bytes;
}

TEST(Picture, GifJpegAndPngDecodeAlsoWithTheArchiveZero) {
    for (const Bytes& bytes : {kGif, withTrailingZero(kGif)}) {
        const QImage image = PictureFromBytes(bytes).toImage();
        ASSERT_EQ(image.size(), QSize(2, 2));
        EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 255));
        EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 255));
        EXPECT_EQ(image.pixel(1, 1), qRgb(255, 0, 0));
    }
    const QRgb colour = qRgb(200, 30, 30);
    for (const char* format : {"JPEG", "PNG"}) {
        SCOPED_TRACE(format);
        const Bytes bytes = encode(solid(colour), format);
        for (const Bytes& entry : {bytes, withTrailingZero(bytes)}) {
            const QImage image = PictureFromBytes(entry).toImage();
            ASSERT_EQ(image.size(), QSize(16, 8));
            EXPECT_TRUE(closeTo(image.pixel(5, 5), colour));
        }
    }
}

TEST(Picture, NothingGivesANullPixmap) {
    EXPECT_TRUE(PictureFromBytes(std::span<const std::uint8_t>()).isNull());
    EXPECT_TRUE(PictureFromBytes(Bytes{0}).isNull());
    EXPECT_TRUE(PictureFromBytes(std::optional<Bytes>()).isNull());
    EXPECT_TRUE(PictureFromBytes(std::optional<Bytes>(Bytes{})).isNull());
    EXPECT_FALSE(PictureFromBytes(std::optional<Bytes>(kGif)).isNull());
}

// Keeps the decoders' complaints about damaged data out of the test output.
class QuietImageDecoders {
public:
    QuietImageDecoders() { QLoggingCategory::setFilterRules("qt.gui.imageio*.warning=false"); }
    ~QuietImageDecoders() { QLoggingCategory::setFilterRules({}); }
    QuietImageDecoders(const QuietImageDecoders&) = delete;
    QuietImageDecoders& operator=(const QuietImageDecoders&) = delete;
};

// Damaged data must give a null or a correctly sized picture, never a crash.
TEST(Picture, SurvivesTruncatedCorruptAndRandomBytes) {
    const QuietImageDecoders quiet;
    const Bytes jpeg = encode(solid(qRgb(10, 120, 240)), "JPEG");
    for (const Bytes* image : {&kGif, &jpeg}) {
        const QSize size = PictureFromBytes(*image).size();
        for (std::size_t length = 0; length < image->size(); ++length) {
            const QPixmap pixmap = PictureFromBytes(std::span(image->data(), length));
            EXPECT_TRUE(pixmap.isNull() || pixmap.size() == size) << length;
        }
    }

    std::mt19937 random(1252);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        Bytes corrupt = round % 2 ? jpeg : kGif;
        std::uniform_int_distribution<std::size_t> at(6, corrupt.size() - 1);
        for (int flips = 0; flips < 4; ++flips)
            corrupt[at(random)] = static_cast<std::uint8_t>(byte(random));
        PictureFromBytes(corrupt);

        Bytes noise(static_cast<std::size_t>(byte(random)) * 16);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(byte(random));
        EXPECT_TRUE(PictureFromBytes(noise).isNull()) << round;
    }
}

TEST(Picture, ClaimedHugeDimensionsAreRefused) {
    Bytes huge = kGif;
    for (const std::size_t at : {6u, 8u, 24u, 26u})
        huge[at] = huge[at + 1] = 0xFF;
    EXPECT_TRUE(PictureFromBytes(huge).isNull());
}

}  // namespace
