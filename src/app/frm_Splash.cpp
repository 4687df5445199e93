#include "app/frm_Splash.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "core/ImageStore.h"
#include "core/SystemVars.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "platform/mod_Picture.h"

namespace {

constexpr QSize kSplashSize(480, 300);
// Leaves the sample picture's accent stripe along the bottom edge uncovered.
constexpr int kBandBottomInset = 8;

QLabel* makeLabel(QWidget* parent, const char* name, qreal pointSize, bool bold = false) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

frm_Splash::frm_Splash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      picVisible(new QLabel(this)),
      band_(new QWidget(this)) {
    lbl_Product = makeLabel(band_, "lbl_Product", 10, true);
    lbl_Product_Type = makeLabel(band_, "lbl_Product_Type", 8.5);
    lbl_Version = makeLabel(band_, "lbl_Version", 8.5);
    lbl_www = makeLabel(band_, "lbl_www", 8);
    lbl_email = makeLabel(band_, "lbl_email", 8);
    lbl_copyright = makeLabel(band_, "lbl_copyright", 7);
    mod_Forms::Register(this, "frm_Splash");

    picVisible->setObjectName(QStringLiteral("picVisible"));
    picVisible->setScaledContents(true);
    band_->setAutoFillBackground(true);
    QPalette bandPalette = band_->palette();
    bandPalette.setColor(QPalette::Window, QColor(6, 24, 38, 170));
    bandPalette.setColor(QPalette::WindowText, Qt::white);
    band_->setPalette(bandPalette);

    // Each line is laid out on its own: columns shared by both lines gave the web address the
    // e-mail address's width, and the top line more than the window holds.
    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(lbl_Product);
    top->addWidget(lbl_Product_Type);
    top->addWidget(lbl_Version);
    top->addStretch(1);
    top->addWidget(lbl_www);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    bottom->addWidget(lbl_copyright);
    bottom->addStretch(1);
    bottom->addWidget(lbl_email);
    auto* layout = new QVBoxLayout(band_);
    layout->setContentsMargins(12, 5, 12, 5);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addLayout(bottom);

    Form_Load();
}

void frm_Splash::Form_Load() {
    ImageEntry& splash = ImageStore[kSplashImageSlot];
    picVisible->setPixmap(mod_Picture::PictureFromBytes(splash.Bytes));
    // Shown once only: the bytes are not kept for the rest of the run.
    splash = ImageEntry{};

    lbl_Product->setText(platform::toQt(SystemVars.ProductName));
    lbl_Product_Type->setText(
        platform::toQt(SystemVars.ProductCode + " " + SystemVars.ProductSubtitle));
    lbl_Version->setText(platform::toQt("v " + SystemVars.Version));
    lbl_www->setText(platform::toQt(SystemVars.WebAddress));
    lbl_email->setText(platform::toQt(SystemVars.SupportEmail));
    lbl_copyright->setText(platform::toQt(SystemVars.Copyright));

    // Never narrower than the texts need in the fonts in use: a label squeezed loses letters.
    resize(kSplashSize.expandedTo(QSize(band_->minimumSizeHint().width(), 0)));
    placeControls();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void frm_Splash::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeControls();
}

void frm_Splash::placeControls() {
    picVisible->setGeometry(rect());
    const int bandHeight = band_->sizeHint().height();
    band_->setGeometry(0, height() - kBandBottomInset - bandHeight, width(), bandHeight);
}
