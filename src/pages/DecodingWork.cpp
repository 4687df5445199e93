#include "pages/DecodingWork.h"

#include <algorithm>
#include <array>
#include <span>

#include "platform/PngChunks.h"

namespace platform {

namespace {

// Bytes that make no pixel are only read (at most 6 ns a byte measured): a 16-bit PNG still
// costs little more than its pixels.
constexpr std::uint64_t kBytesPerPixelWork = 4;
// Except a JPEG's: entropy decoding takes up to 30 ns a byte measured, even when few pixels
// come of it.
constexpr std::uint64_t kJpegBytesPerPixelWork = 1;
// And a run-length bitmap's: 15 ns a byte of runs cut to the picture's width.
constexpr std::uint64_t kBmpBytesPerPixelWork = 2;
// Each scan passes over the whole picture again: up to 0.63 ns a pixel measured (a
// refinement of all coefficients).
constexpr std::uint64_t kJpegScansPerPixelWork = 64;
// Compressed text inflates up to 1,032 times, and Qt keeps it: 11 ns an inflated byte.
constexpr std::uint64_t kPixelWorkPerPngTextByte = 256;
// Qt expands every code of a GIF, also past the end of its frame: 3.4 ns a symbol.
constexpr std::uint64_t kGifSymbolsPerPixelWork = 8;

std::uint64_t pixelsOf(std::uint64_t width, std::uint64_t height) {
    return width * height;
}

std::uint64_t byteAt(const QByteArray& bytes, qsizetype at) {
    return at < bytes.size() ? static_cast<std::uint8_t>(bytes[at]) : 0;
}

std::uint64_t littleEndian16(const QByteArray& bytes, qsizetype at) {
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}

std::uint64_t bigEndian32(const QByteArray& bytes, qsizetype at) {
    return byteAt(bytes, at) << 24 | byteAt(bytes, at + 1) << 16 | byteAt(bytes, at + 2) << 8 |
           byteAt(bytes, at + 3);
}

std::uint64_t jpegScans(const QByteArray& bytes) {
    // Entropy-coded data escapes every 0xff, so each start-of-scan marker shows as these two
    // bytes; a segment's own data can only make the count larger.
    return static_cast<std::uint64_t>(bytes.count(QByteArray("\xff\xda")));
}

// An international comment is inflated only when the flag after its keyword (at most 79
// letters) says so; plain, it costs no more than its bytes.
bool compressedInternational(const QByteArray& bytes, qsizetype data) {
    constexpr qsizetype kKeywordEnd = 80;
    const auto* const begin = bytes.cbegin() + data;
    const auto* const end = begin + std::min(kKeywordEnd, bytes.size() - data);
    const auto* const keywordEnd = std::find(begin, end, '\0');
    return keywordEnd == end || byteAt(bytes, keywordEnd - bytes.cbegin() + 1) != 0;
}

std::uint64_t pngTextBytes(const QByteArray& bytes) {
    std::uint64_t text = 0;
    for (qsizetype at = 8; at + 8 <= bytes.size();) {
        const std::uint64_t length = bigEndian32(bytes, at);
        const QByteArray type = bytes.mid(at + 4, 4);
        if (type == "zTXt" || (type == "iTXt" && compressedInternational(bytes, at + 8)))
            text += length;
        at += static_cast<qsizetype>(length) + 12;
    }
    return text;
}

// Symbols the LZW codes expand to, from the lengths of the table's strings alone.
std::uint64_t lzwSymbols(const QByteArray& codes, std::uint64_t minCodeSize) {
    constexpr std::uint64_t kTableSize = 4096;
    if (minCodeSize < 1 || minCodeSize > 11) return 0;
    const std::uint64_t clear = std::uint64_t{1} << minCodeSize;
    std::array<std::uint64_t, kTableSize> lengths{};
    const auto lengthOf = [&](std::uint64_t code) { return code < clear ? 1 : lengths[code]; };
    std::uint64_t codeSize = minCodeSize + 1;
    std::uint64_t next = clear + 2;
    std::uint64_t previous = kTableSize;
    std::uint64_t symbols = 0;
    std::uint64_t bits = 0;
    std::uint64_t held = 0;
    for (const char byte : codes) {
        bits |= std::uint64_t{static_cast<std::uint8_t>(byte)} << held;
        held += 8;
        while (held >= codeSize) {
            const std::uint64_t code = bits & ((std::uint64_t{1} << codeSize) - 1);
            bits >>= codeSize;
            held -= codeSize;
            if (code == clear) {
                codeSize = minCodeSize + 1;
                next = clear + 2;
                previous = kTableSize;
                continue;
            }
            // A code not yet in the table is the previous string and its first symbol again.
            const bool first = previous == kTableSize;
            const std::uint64_t grown = first ? 1 : lengthOf(previous) + 1;
            symbols += code < next ? lengthOf(code) : grown;
            if (!first && next < kTableSize) {
                lengths[next++] = grown;
                if (next == std::uint64_t{1} << codeSize && codeSize < 12) ++codeSize;
            }
            previous = code;
        }
    }
    return symbols;
}

std::uint64_t colourTableBytes(std::uint64_t flags) {
    return (flags & 0x80) != 0 ? 3 * (std::uint64_t{2} << (flags & 7)) : 0;
}

struct GifWork {
    std::uint64_t canvasPixels;
    std::uint64_t symbols;
};

// The canvas Qt draws on, the larger of the screen the header names and the first frame's
// extent, and the symbols of that frame: a page shows only the first.
GifWork gifWork(const QByteArray& bytes) {
    GifWork work{pixelsOf(littleEndian16(bytes, 6), littleEndian16(bytes, 8)), 0};
    qsizetype at = 13 + static_cast<qsizetype>(colourTableBytes(byteAt(bytes, 10)));
    const auto subBlocks = [&](qsizetype from, QByteArray* joined) {
        for (qsizetype length = 0; (length = static_cast<qsizetype>(byteAt(bytes, from))) != 0;
             from += length + 1)
            if (joined != nullptr) joined->append(bytes.mid(from + 1, length));
        return from + 1;
    };
    while (at < bytes.size() && bytes[at] == '!')
        at = subBlocks(at + 2, nullptr);
    if (at >= bytes.size() || bytes[at] != ',') return work;
    work.canvasPixels = std::max(
        work.canvasPixels, pixelsOf(littleEndian16(bytes, at + 1) + littleEndian16(bytes, at + 5),
                                    littleEndian16(bytes, at + 3) + littleEndian16(bytes, at + 7)));
    at += 10 + static_cast<qsizetype>(colourTableBytes(byteAt(bytes, at + 9)));
    QByteArray codes;
    subBlocks(at + 1, &codes);
    work.symbols = lzwSymbols(codes, byteAt(bytes, at));
    return work;
}

}  // namespace

DecodingWork::DecodingWork(PictureFormat format, const QByteArray& bytes)
    : bytesWork_(static_cast<std::uint64_t>(bytes.size()) / kBytesPerPixelWork) {
    switch (format) {
        case PictureFormat::Png:
            // Qt's reader takes memory for all a chunk declares, also past the last byte.
            bytesWork_ =
                PngDeclaredBytes(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                           static_cast<std::size_t>(bytes.size()))) /
                kBytesPerPixelWork;
            fixedWork_ = pngTextBytes(bytes) * kPixelWorkPerPngTextByte;
            break;
        case PictureFormat::Jpeg:
            bytesWork_ = static_cast<std::uint64_t>(bytes.size()) / kJpegBytesPerPixelWork;
            scans_ = jpegScans(bytes);
            break;
        case PictureFormat::Gif: {
            const GifWork gif = gifWork(bytes);
            canvasPixels_ = gif.canvasPixels;
            fixedWork_ = gif.symbols / kGifSymbolsPerPixelWork;
            break;
        }
        case PictureFormat::Bmp:
            bytesWork_ = static_cast<std::uint64_t>(bytes.size()) / kBmpBytesPerPixelWork;
            break;
    }
}

std::uint64_t DecodingWork::withPixels(QSize size) const {
    const std::uint64_t pixels =
        std::max(canvasPixels_, pixelsOf(static_cast<std::uint64_t>(std::max(size.width(), 0)),
                                         static_cast<std::uint64_t>(std::max(size.height(), 0))));
    return std::max(pixels, bytesWork_) + fixedWork_ + pixels * scans_ / kJpegScansPerPixelWork;
}

}  // namespace platform
