#include "core/mod_System_Icons.h"

#include <QLabel>
#include <QStyle>

#include <array>

namespace mod_System_Icons {

void DrawSystemIcon(QLabel* pictureBox, int iconNumber) {
    static constexpr std::array<QStyle::StandardPixmap, 6> kIcons = {
        QStyle::SP_DesktopIcon,           QStyle::SP_MessageBoxQuestion,
        QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning,
        QStyle::SP_MessageBoxCritical,    QStyle::SP_ComputerIcon,
    };
    // Data-driven numbers: a bad one must not take the dialog down.
    if (pictureBox == nullptr || iconNumber < 1 || iconNumber > static_cast<int>(kIcons.size()))
        return;
    const QStyle* style = pictureBox->style();
    const int extent = style->pixelMetric(QStyle::PM_LargeIconSize, nullptr, pictureBox);
    const QIcon icon =
        style->standardIcon(kIcons[static_cast<std::size_t>(iconNumber - 1)], nullptr, pictureBox);
    const qreal ratio = pictureBox->devicePixelRatioF();
    QPixmap picture = icon.pixmap(QSize(extent, extent), ratio);
    // Some styles carry only small versions of the desktop and computer icons.
    if (picture.deviceIndependentSize().width() < extent) {
        picture = picture.scaled(QSize(extent, extent) * ratio, Qt::KeepAspectRatio,
                                 Qt::SmoothTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    pictureBox->setFrameShape(QFrame::NoFrame);
    pictureBox->setFixedSize(extent, extent);
    pictureBox->setPixmap(picture);
    pictureBox->setVisible(true);
}

}  // namespace mod_System_Icons
