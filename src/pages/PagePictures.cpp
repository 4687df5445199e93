#include "pages/PagePictures.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QUrl>

#include <utility>

#include "pages/DataUrl.h"
#include "pages/DecodingWork.h"
#include "pages/PictureFormat.h"

namespace platform {

PagePictures::PagePictures(PictureFiles files, std::uint64_t workBudget, Pixels pixels)
    : files_(std::move(files)), workBudget_(workBudget), pixels_(pixels) {}

QVariant PagePictures::Load(const QUrl& name) {
    if (name.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0) {
        const auto bytes = DataUrlBytes(name);
        if (!bytes) return MissingPicture();
        const auto known = byData_.constFind(*bytes);
        if (known != byData_.constEnd()) return *known;
        return byData_.insert(*bytes, decode(*bytes)).value();
    }
    const auto file = files_.locate(name);
    if (!file) return MissingPicture();
    const auto known = byFile_.find(*file);
    if (known != byFile_.end()) return known->second;
    const auto bytes = files_.read(*file);
    const QVariant picture = bytes ? decode(QByteArray(reinterpret_cast<const char*>(bytes->data()),
                                                       static_cast<qsizetype>(bytes->size())))
                                   : QVariant(MissingPicture());
    return byFile_.emplace(*file, picture).first->second;
}

void PagePictures::Reset() {
    workUsed_ = 0;
    byFile_.clear();
    byData_.clear();
}

std::vector<std::string> PagePictures::FilesRead() const {
    std::vector<std::string> files;
    files.reserve(byFile_.size());
    for (const auto& [file, picture] : byFile_)
        files.push_back(file);
    return files;
}

QVariant PagePictures::decode(const QByteArray& bytes) {
    const auto format = SniffPictureFormat(bytes);
    if (!format) return MissingPicture();
    const DecodingWork work(*format, bytes);
    const std::uint64_t workLeft = workBudget_ - workUsed_;
    if (work.withPixels(QSize()) > workLeft) return MissingPicture();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QtFormatName(*format));
    reader.setAutoDetectImageFormat(false);
    // The header tells the pixels; a few bytes can stand for gigabytes of them.
    const QSize size = reader.size();
    if (!size.isValid() || work.withPixels(size) > workLeft) return MissingPicture();
    workUsed_ += work.withPixels(size);
    // Never painted: its memory is never touched.
    if (pixels_ == Pixels::kSizesOnly) return QPixmap(size);
    QImage image = reader.read();
    // Pixels the header did not announce were never judged.
    if (image.isNull() || image.size() != size) return MissingPicture();
    return QPixmap::fromImage(std::move(image));
}

const QImage& MissingPicture() {
    static const QImage picture = [] {
        // The picture Qt itself shows for one it cannot load.
        QImage qtOwn(QStringLiteral(":/qt-project.org/styles/commonstyle/images/file-16.png"));
        if (!qtOwn.isNull()) return qtOwn;
        QImage plain(16, 16, QImage::Format_ARGB32);
        plain.fill(Qt::lightGray);
        return plain;
    }();
    return picture;
}

}  // namespace platform
