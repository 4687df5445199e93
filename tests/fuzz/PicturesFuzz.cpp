// Pictures from bytes: interface images, and a page's pictures as its box loads them, judged
// by their leading bytes and their decoding work within the page's budget, both decoded to be
// shown and by their headers' sizes alone for a trial layout. A picture shown has the size the
// trial gave it, and the pictures of one page never cost more than its budget together.
#include <QGuiApplication>
#include <QPixmap>
#include <QUrl>
#include <QVariant>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "pages/DecodingWork.h"
#include "pages/PagePictures.h"
#include "pages/PictureFormat.h"
#include "platform/mod_Picture.h"

namespace {

// Decoding for showing within a sixteenth of the page's budget keeps rounds short; judging
// sizes alone costs nothing, so the trial has the whole budget.
constexpr std::uint64_t kShownBudget = platform::kPagePixelBudget / 16;

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "pictures fuzz: %s\n", what);
    std::abort();
}

// Every name a page gives is a file of its own holding the input.
platform::PictureFiles inputUnderEveryName(const formats::Bytes& input) {
    const auto nameOf = [](const QUrl& name) {
        return std::optional<std::string>(name.toString().toStdString());
    };
    return {nameOf, [&input](const std::string&) { return std::optional<formats::Bytes>(input); },
            nameOf};
}

std::optional<QSize> pictureSize(const QVariant& picture) {
    if (picture.typeId() != QMetaType::QPixmap) return std::nullopt;
    return picture.value<QPixmap>().size();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const std::unique_ptr<QGuiApplication> app =
        std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mod_Picture::PictureFromBytes(std::span<const std::uint8_t>(data, size));

    const formats::Bytes input(data, data + size);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto format = platform::SniffPictureFormat(bytes);
    using Pixels = platform::PagePictures::Pixels;
    platform::PagePictures shown(inputUnderEveryName(input), kShownBudget, Pixels::kDecoded);
    platform::PagePictures trial(inputUnderEveryName(input), platform::kPagePixelBudget,
                                 Pixels::kSizesOnly);
    const QUrl first(QStringLiteral("first.png"));
    const auto shownSize = pictureSize(shown.Load(first));
    const auto trialSize = pictureSize(trial.Load(first));
    if (!format) {
        require(!shownSize && !trialSize, "a picture of a format not allowed was taken");
        return 0;
    }
    if (shownSize) {
        require(trialSize == shownSize, "the trial gave a picture shown another size");
        require(platform::DecodingWork(*format, bytes).withPixels(*shownSize) <= kShownBudget,
                "a picture over its budget was decoded");
    }
    if (!trialSize) return 0;
    require(trialSize->isValid(), "the trial took a picture of no size");
    const std::uint64_t work = platform::DecodingWork(*format, bytes).withPixels(*trialSize);
    require(work <= platform::kPagePixelBudget, "the trial took a picture over the budget");
    // The same bytes under another name cost the same again; the same name costs nothing more.
    const auto second = pictureSize(trial.Load(QUrl(QStringLiteral("second.png"))));
    require(second.has_value() == (2 * work <= platform::kPagePixelBudget),
            "a page's second picture was judged against another budget");
    require(pictureSize(trial.Load(first)) == trialSize, "a picture changed when loaded again");
    trial.Reset();
    require(pictureSize(trial.Load(first)) == trialSize,
            "a new page did not have the whole budget");
    return 0;
}
