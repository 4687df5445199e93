#include "support/CraftedPictures.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>

namespace testsupport {

namespace {

QByteArray littleEndian(quint32 value, int bytes) {
    QByteArray out;
    for (int k = 0; k < bytes; ++k)
        out.append(static_cast<char>(value >> (8 * k) & 0xff));
    return out;
}

QByteArray bigEndian32(quint32 value) {
    QByteArray out = littleEndian(value, 4);
    std::reverse(out.begin(), out.end());
    return out;
}

quint32 pngChecksum(const QByteArray& bytes) {
    quint32 crc = 0xffffffff;
    for (const char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

QByteArray pngChunk(const char* type, const QByteArray& data) {
    const QByteArray chunk = type + data;
    return bigEndian32(static_cast<quint32>(data.size())) + chunk + bigEndian32(pngChecksum(chunk));
}

QByteArray withChunks(const QByteArray& png, const QByteArray& chunks) {
    constexpr qsizetype kHeaderEnd = 33;
    return png.first(kHeaderEnd) + chunks + png.mid(kHeaderEnd);
}

}  // namespace

QByteArray Encoded(const QImage& image, const char* format, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QByteArray Icon(const QByteArray& payload) {
    return littleEndian(0, 2) + littleEndian(1, 2) + littleEndian(1, 2) +
           QByteArray("\x10\x10\0\0", 4) + littleEndian(1, 2) + littleEndian(32, 2) +
           littleEndian(static_cast<quint32>(payload.size()), 4) + littleEndian(22, 4) + payload;
}

QByteArray GifFrame(QSize size, std::uint64_t symbols) {
    QByteArray codes;
    quint32 held = 0;
    int bits = 0;
    int width = 9;
    const auto put = [&](int code) {
        held |= static_cast<quint32>(code) << bits;
        for (bits += width; bits >= 8; bits -= 8, held >>= 8)
            codes.append(static_cast<char>(held & 0xff));
    };
    put(256);
    put(0);
    std::uint64_t emitted = 1;
    for (int next = 258, length = 1; emitted < symbols;) {
        put(std::min(next, 4095));
        emitted += next < 4096 ? ++length : length;
        if (next < 4096 && ++next == 1 << width && width < 12) ++width;
    }
    put(257);
    if (bits > 0) codes.append(static_cast<char>(held & 0xff));
    QByteArray frame = ',' + littleEndian(0, 4) + littleEndian(size.width(), 2) +
                       littleEndian(size.height(), 2) + QByteArray("\0\x08", 2);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        frame += static_cast<char>(block.size()) + block;
    }
    return frame + QByteArray(1, '\0');
}

QByteArray Gif(QSize screen, const QByteArray& frames) {
    return "GIF89a" + littleEndian(screen.width(), 2) + littleEndian(screen.height(), 2) +
           QByteArray("\x80\0\0\0\0\0\xff\xff\xff", 9) + frames + ';';
}

QByteArray PngWithChunk(const QByteArray& png, const char* type, const QByteArray& data) {
    return withChunks(png, pngChunk(type, data));
}

QByteArray PngWithComments(const QByteArray& png, int chunks) {
    const QByteArray deflated = qCompress(QByteArray(1 << 20, 'a'), 9).mid(4);
    return withChunks(
        png, pngChunk("zTXt", "Comment" + QByteArray(2, '\0') + deflated).repeated(chunks));
}

QByteArray JpegWithScans(const QByteArray& jpeg, int repeats) {
    const qsizetype lastScan = jpeg.lastIndexOf("\xff\xda");
    const qsizetype end = jpeg.size() - 2;
    return jpeg.first(end) + jpeg.mid(lastScan, end - lastScan).repeated(repeats) + jpeg.mid(end);
}

}  // namespace testsupport
