#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QUrl>

#include <map>
#include <utility>
#include <vector>

#include "pages/PagePictures.h"
#include "support/CraftedPictures.h"
#include "support/GuiTestSupport.h"
#include "support/TempProgramFolder.h"

using testsupport::Encoded;
using testsupport::Gif;
using testsupport::GifFrame;
using testsupport::Icon;
using testsupport::JpegWithScans;
using testsupport::PngWithChunk;
using testsupport::PngWithComments;
using testsupport::TempProgramFolder;
using testsupport::WriteFile;
namespace fs = std::filesystem;

namespace {

QUrl fileUrl(const fs::path& path) {
    return QUrl::fromLocalFile(QFile::decodeName(path.c_str()));
}

TEST(PagePicturesTest, InsideAFolderOnlyItsPicturesLoadHoweverQtNamesThem) {
    TempProgramFolder program;
    // Characters a URL must escape, in the folder's own name.
    const fs::path folder = program.path() / "my #1 50% notes";
    constexpr std::uint64_t kLimit = 4096;
    WriteFile(folder / "pic.png", testsupport::PngBytes({4, 3}, Qt::red));
    WriteFile(folder / "not a picture.png", formats::Bytes(16, 'x'));
    WriteFile(folder / "large.png", formats::Bytes(kLimit + 1, 0));
    WriteFile(program.path() / "outside.png", testsupport::PngBytes({4, 3}, Qt::red));
    platform::PagePictures pictures(platform::FilesInside(folder, kLimit));
    const auto load = [&](const QUrl& name) { return pictures.Load(name); };

    // A document's base URL resolves a relative name before it comes here; without one it
    // comes as it was written.
    const QUrl base = fileUrl(folder / "");
    for (const QUrl& name : {base.resolved(QUrl("pic.png")), QUrl("pic.png"), QUrl("./pic.png"),
                             fileUrl(folder / "pic.png")}) {
        SCOPED_TRACE(name.toString().toStdString());
        EXPECT_EQ(load(name).value<QPixmap>().size(), QSize(4, 3));
    }
    for (const QUrl& name :
         {base.resolved(QUrl("../outside.png")), QUrl("../outside.png"),
          fileUrl(program.path() / "outside.png"), QUrl("/dev/zero"), QUrl("file:///dev/zero"),
          QUrl("file://server" + base.path() + "pic.png"), QUrl("https://example.com/pic.png"),
          QUrl("qrc:/pic.png"), QUrl("not a picture.png"), QUrl("large.png"), QUrl("missing.png"),
          QUrl(""), base}) {
        SCOPED_TRACE(name.toString().toStdString());
        EXPECT_EQ(load(name).value<QImage>(), platform::MissingPicture());
    }
    EXPECT_FALSE(platform::MissingPicture().isNull());
    // A picture's own bytes, never a file, however the URL's text reads.
    EXPECT_EQ(load(QUrl("data:image/png;base64,iVBORw0KGgo=")).value<QImage>(),
              platform::MissingPicture());
}

// Each page starts with nothing decoded: a picture the last page showed, written out or in a
// file, costs the next page its pixels again.
TEST(PagePicturesTest, APictureShownOnOnePageCostsTheNextItsFullShareAgain) {
    TempProgramFolder program;
    const fs::path folder = program.path() / "notes";
    const formats::Bytes shared = testsupport::PngBytes({8, 8}, Qt::red);
    WriteFile(folder / "shared.png", shared);
    WriteFile(folder / "rest.png", testsupport::PngBytes({6, 6}, Qt::blue));
    const QByteArray raw(reinterpret_cast<const char*>(shared.data()),
                         static_cast<qsizetype>(shared.size()));
    const std::pair<const char*, QUrl> names[] = {
        {"data:", QUrl(QString::fromLatin1("data:image/png;base64," + raw.toBase64()))},
        {"file", fileUrl(folder / "shared.png")},
    };
    // Room for the shared picture and most, not all, of the other.
    constexpr std::uint64_t kBudget = 8 * 8 + 6 * 6 - 1;
    for (const auto& [kind, name] : names) {
        SCOPED_TRACE(kind);
        platform::PagePictures pictures(platform::FilesInside(folder, 4096), kBudget);
        ASSERT_EQ(pictures.Load(name).value<QPixmap>().size(), QSize(8, 8));
        pictures.Reset();
        EXPECT_EQ(pictures.Load(name).value<QPixmap>().size(), QSize(8, 8));
        EXPECT_EQ(pictures.Load(fileUrl(folder / "rest.png")).value<QImage>(),
                  platform::MissingPicture());
    }
}

QImage filled(QSize size, QImage::Format format = QImage::Format_RGB32) {
    QImage image(size, format);
    image.fill(Qt::red);
    return image;
}

std::string shown(const QVariant& picture) {
    if (picture.value<QImage>() == platform::MissingPicture()) return "mark";
    const QSize size = picture.value<QPixmap>().size();
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

// A page shows a picture only in a format known by its leading bytes, whatever its name or
// declared type, and only when what decoding it costs was judged before: an icon's directory,
// a GIF's header, its codes, a PNG's comments or a JPEG's scans cannot hide the work.
TEST(PagePicturesTest, OnlyPicturesKnownByTheirBytesAndJudgedForTheirWorkShow) {
    // Room for one 2,048 x 2,048 canvas.
    constexpr std::uint64_t kBudget = std::uint64_t{5} << 20;
    const QByteArray png = Encoded(filled({4, 3}), "png");
    const QByteArray jpeg = Encoded(filled({1024, 1024}, QImage::Format_Grayscale8), "jpeg", true);
    struct Row {
        const char* what;
        QString name;
        QByteArray bytes;
        std::string shown;
    };
    const std::vector<Row> rows{
        {"a PNG", "pic.png", png, "4x3"},
        {"a PNG named as a GIF", "pic.gif", png, "4x3"},
        {"a JPEG", "pic.jpg", Encoded(filled({5, 2}), "jpeg"), "5x2"},
        {"a progressive JPEG", "pic.jpg", jpeg, "1024x1024"},
        {"a GIF", "pic.gif", Gif({6, 5}, GifFrame({6, 5}, 30)), "6x5"},
        {"an animated GIF, only its first frame shown", "pic.gif",
         Gif({16, 16}, GifFrame({16, 16}, 256) + GifFrame({16, 16}, 64 << 20)), "16x16"},
        {"a BMP", "pic.bmp", Encoded(filled({7, 2}), "bmp"), "7x2"},
        {"a data: URL declaring another type",
         "data:image/svg+xml;base64," + png.toBase64(),
         {},
         "4x3"},
        {"an icon whose directory hides a large PNG", "pic.ico",
         Icon(Encoded(filled({3000, 3000}), "png")), "mark"},
        {"a PPM", "pic.png", "P6\n4 3\n255\n" + QByteArray(36, '\x7f'), "mark"},
        {"an XPM", "pic.png",
         "/* XPM */\nstatic const char* pic[] = {\"4 3 1 1\", \"a c #ff0000\", \"aaaa\", "
         "\"aaaa\", \"aaaa\"};\n",
         "mark"},
        {"a GIF whose header names its frame, smaller than its canvas", "pic.gif",
         Gif({2048, 2048}, GifFrame({16, 16}, 256)), "mark"},
        {"a GIF whose codes expand far past its frame", "pic.gif",
         Gif({16, 16}, GifFrame({16, 16}, 64 << 20)), "mark"},
        {"a PNG whose comments inflate far beyond its pixels", "pic.png", PngWithComments(png, 24),
         "mark"},
        {"a JPEG scanned over and over", "pic.jpg", JpegWithScans(jpeg, 400), "mark"},
    };
    std::map<std::string, QByteArray> files;
    platform::PagePictures pictures(
        {[&](const QUrl& name) { return std::optional(name.path().toStdString()); },
         [&](const std::string& file) {
             const QByteArray& bytes = files.at(file);
             return std::optional(formats::Bytes(bytes.begin(), bytes.end()));
         },
         {}},
        kBudget);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        files[row.name.toStdString()] = row.bytes;
        pictures.Reset();
        EXPECT_EQ(shown(pictures.Load(QUrl(row.name))), row.shown);
    }
}

QUrl dataUrl(const QByteArray& bytes) {
    return QUrl(QString::fromLatin1("data:;base64," + bytes.toBase64()));
}

QByteArray jpegWithComment(const QByteArray& jpeg, qsizetype bytes) {
    const auto length = static_cast<quint16>(bytes + 2);
    return jpeg.first(2) + "\xff\xfe" + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xff) + QByteArray(bytes, 'c') + jpeg.mid(2);
}

// Over a small budget only because of what its header does not show, a picture shows the mark
// and, never decoded, leaves the whole budget to the next; without that part it shows.
TEST(PagePicturesTest, WhatAHeaderDoesNotShowIsChargedBeforeDecoding) {
    constexpr std::uint64_t kBudget = 8192;
    const QByteArray atBudget = Encoded(filled({128, 64}), "png");
    const QByteArray png = Encoded(filled({4, 3}), "png");
    const QByteArray deflated = qCompress(QByteArray(1 << 20, 'a'), 9).mid(4);
    // After it: the compression flag and method, then no language and no translated keyword.
    const QByteArray keyword("Comment", 8);
    const QByteArray jpeg = Encoded(filled({64, 64}), "jpeg");
    struct Row {
        const char* what;
        QByteArray bytes;
        std::string shown;
    };
    const std::vector<Row> rows{
        {"a PNG", png, "4x3"},
        {"a PNG with a compressed comment", PngWithComments(png, 1), "mark"},
        {"a PNG with a compressed international comment",
         PngWithChunk(png, "iTXt", keyword + QByteArray("\1\0\0\0", 4) + deflated), "mark"},
        {"a PNG with a plain international comment as long",
         PngWithChunk(png, "iTXt",
                      keyword + QByteArray(4, '\0') + QByteArray(deflated.size(), 'a')),
         "4x3"},
        {"a GIF", Gif({16, 16}, GifFrame({16, 16}, 256)), "16x16"},
        {"a GIF whose screen is far larger than its frame",
         Gif({2048, 2048}, GifFrame({16, 16}, 256)), "mark"},
        {"a JPEG", jpeg, "64x64"},
        {"a JPEG whose bytes outweigh its pixels", jpegWithComment(jpeg, 16'000), "mark"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        platform::PagePictures pictures(
            {[](const QUrl&) { return std::optional<std::string>(); },
             [](const std::string&) { return std::optional<formats::Bytes>(); },
             {}},
            kBudget);
        EXPECT_EQ(shown(pictures.Load(dataUrl(row.bytes))), row.shown);
        EXPECT_EQ(shown(pictures.Load(dataUrl(atBudget))), row.shown == "mark" ? "128x64" : "mark");
    }
}

}  // namespace
