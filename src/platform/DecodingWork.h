#pragma once

#include <QByteArray>
#include <QSize>

#include <cstdint>

#include "platform/PictureFormat.h"

namespace platform {

// What decoding a picture will cost, judged from its bytes before any is decoded, in pixels
// of the costliest ordinary picture (a 16-bit or alpha PNG, about 40 ns each here). `size` is
// what its header says. Besides its pixels and its bytes it counts what makes a few bytes
// costly: each further scan of a progressive JPEG, compressed text in a PNG, a GIF's canvas
// and every symbol its codes expand to.
std::uint64_t DecodingWork(PictureFormat format, const QByteArray& bytes, QSize size);

}  // namespace platform
