#pragma once

#include <QByteArray>
#include <QHash>
#include <QVariant>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "pages/PictureFiles.h"

class QImage;
class QUrl;

namespace platform {

// The decoding work all pictures of one page may cost together, in pixels of the costliest
// ordinary picture (see DecodingWork; at most 48 MiB decoded): a page at the budget shows
// within a second; a 12-megapixel photograph or six screen-sized pictures fit.
inline constexpr std::uint64_t kPagePixelBudget = std::uint64_t{12} << 20;

// The pictures of one page of a text box, for its loadResource. A picture is known by its
// leading bytes (PNG, JPEG, GIF or BMP only), judged by its work before it is decoded and
// refused when it decodes to other than its header's size, decoded once however often and
// however it is named, and given as a QPixmap (Qt's layout would convert a QImage on every
// use). Anything the page cannot have shows as MissingPicture(), never as an empty answer: Qt
// would then open the name as a file itself, unchecked.
class PagePictures {
public:
    // Whether pictures are decoded, or stand in by their headers' sizes alone, for a layout
    // that is never painted: their decoding has a budget of its own, apart from layout's.
    enum class Pixels { kDecoded, kSizesOnly };

    explicit PagePictures(PictureFiles files, std::uint64_t workBudget = kPagePixelBudget,
                          Pixels pixels = Pixels::kDecoded);

    QVariant Load(const QUrl& name);
    // A new page: nothing decoded, the whole budget free.
    void Reset();
    // The files read since the last reset, by their keys (see PictureFiles::locate).
    [[nodiscard]] std::vector<std::string> FilesRead() const;

private:
    QVariant decode(const QByteArray& bytes);

    PictureFiles files_;
    std::uint64_t workBudget_;
    Pixels pixels_;
    std::uint64_t workUsed_ = 0;
    std::unordered_map<std::string, QVariant> byFile_;
    QHash<QByteArray, QVariant> byData_;
};

// What a page shows in place of a picture it cannot have.
const QImage& MissingPicture();

}  // namespace platform
