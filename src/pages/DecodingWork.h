#pragma once

#include <QByteArray>
#include <QSize>

#include <cstdint>

#include "pages/PictureFormat.h"

namespace platform {

// What decoding a picture will cost, judged from its bytes before any is decoded, in pixels
// of the costliest ordinary picture (a 16-bit or alpha PNG, about 40 ns each here). Besides
// its pixels and its bytes it counts what makes a few bytes costly: each scan of a JPEG,
// compressed text in a PNG, a GIF's canvas and what its first frame's codes expand to.
class DecodingWork {
public:
    DecodingWork(PictureFormat format, const QByteArray& bytes);

    // With the size the header says; an invalid size gives what the bytes alone show (Qt
    // inflates a PNG's comments along with its header).
    [[nodiscard]] std::uint64_t withPixels(QSize size) const;

private:
    std::uint64_t bytesWork_;
    std::uint64_t fixedWork_ = 0;
    std::uint64_t canvasPixels_ = 0;
    std::uint64_t scans_ = 0;
};

}  // namespace platform
