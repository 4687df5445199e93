#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QUrl>

#include <utility>

#include "platform/PagePictures.h"
#include "support/GuiTestSupport.h"
#include "support/TempProgramFolder.h"

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

}  // namespace
