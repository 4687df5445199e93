#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstdint>

// Picture files crafted byte by byte, so that their headers can hide the work decoding them
// costs: the tests and the benchmarks of a page's pictures share them.
namespace testsupport {

// A picture in one of Qt's formats, as a file holds it.
QByteArray Encoded(const QImage& image, const char* format, bool progressive = false);

// An icon file whose directory names one 16 x 16 picture, holding `payload` whatever its size.
QByteArray Icon(const QByteArray& payload);

// A GIF frame of one colour whose codes expand to at least `symbols` symbols: each code the
// previous string and one symbol more, then the longest string again.
QByteArray GifFrame(QSize size, std::uint64_t symbols);

// A GIF file: a canvas of `screen`, a two-colour palette, then `frames` (GifFrame's).
QByteArray Gif(QSize screen, const QByteArray& frames);

// A PNG with one chunk of `type` (four letters) holding `data` after its header.
QByteArray PngWithChunk(const QByteArray& png, const char* type, const QByteArray& data);

// A PNG with `chunks` compressed comments after its header, each inflating to a megabyte.
QByteArray PngWithComments(const QByteArray& png, int chunks);

// A progressive JPEG whose last scan comes again `repeats` times: each one more pass over the
// whole picture.
QByteArray JpegWithScans(const QByteArray& jpeg, int repeats);

}  // namespace testsupport
