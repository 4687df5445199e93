// Pictures from bytes: question exhibits and interface images.
#include <QGuiApplication>

#include <memory>

#include "FuzzSupport.h"
#include "platform/mod_Picture.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const std::unique_ptr<QGuiApplication> app =
        std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mod_Picture::PictureFromBytes(std::span<const std::uint8_t>(data, size));
    return 0;
}
