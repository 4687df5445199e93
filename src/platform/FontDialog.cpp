#include "platform/FontDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <optional>

namespace platform {

namespace {

// Oblique faces count as italic: the dialog has one slant field.
bool isItalic(const QString& family, const QString& style) {
    return QFontDatabase::font(family, style, 12).style() != QFont::StyleNormal;
}

bool matches(const QString& family, const QString& style, const QFont& font) {
    return QFontDatabase::bold(family, style) == font.bold() &&
           isItalic(family, style) == font.italic();
}

// The face the font is drawn with when the family has it, else the first of its bold and
// italic.
std::optional<QString> styleFor(const QString& family, const QStringList& styles,
                                const QFont& font) {
    const QString drawn = QFontInfo(font).styleName();
    if (styles.contains(drawn) && matches(family, drawn, font)) return drawn;
    for (const QString& style : styles)
        if (matches(family, style, font)) return style;
    return std::nullopt;
}

QListWidget* newList(const QString& name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setMinimumHeight(140);
    return list;
}

}  // namespace

FontDialog::FontDialog(const FontChoice& initial, QWidget* parent)
    : QDialog(parent), choice_(initial) {
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(QStringLiteral("Font"));
    buildControls();
    showChoice();
}

void FontDialog::buildControls() {
    family_ = newList(QStringLiteral("family"), this);
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family) && QFontDatabase::isScalable(family))
            family_->addItem(family);
    style_ = newList(QStringLiteral("style"), this);
    size_ = new QDoubleSpinBox(this);
    size_->setObjectName(QStringLiteral("size"));
    size_->setRange(1, kLargestFontPoints);
    size_->setDecimals(1);

    auto* lists = new QGridLayout;
    const QStringList captions = {QStringLiteral("&Font:"), QStringLiteral("Font st&yle:"),
                                  QStringLiteral("&Size:")};
    const QList<QWidget*> fields = {family_, style_, size_};
    for (int column = 0; column < 3; ++column) {
        auto* caption = new QLabel(captions[column], this);
        caption->setBuddy(fields[column]);
        lists->addWidget(caption, 0, column);
        lists->addWidget(fields[column], 1, column, Qt::AlignTop);
    }

    auto* effects = new QGroupBox(QStringLiteral("Effects"), this);
    strikeOut_ = new QCheckBox(QStringLiteral("Stri&keout"), effects);
    strikeOut_->setObjectName(QStringLiteral("strikeout"));
    underline_ = new QCheckBox(QStringLiteral("&Underline"), effects);
    underline_->setObjectName(QStringLiteral("underline"));
    colour_ = new QPushButton(QStringLiteral("&Color..."), effects);
    colour_->setObjectName(QStringLiteral("colour"));
    auto* effectsLayout = new QVBoxLayout(effects);
    effectsLayout->addWidget(strikeOut_);
    effectsLayout->addWidget(underline_);
    effectsLayout->addWidget(colour_);

    auto* sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
    sample_ = new QLabel(QStringLiteral("AaBbYyZz"), sampleBox);
    sample_->setObjectName(QStringLiteral("sample"));
    sample_->setAlignment(Qt::AlignCenter);
    // A large size is clipped rather than growing the dialog.
    sample_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    sample_->setMinimumSize(180, 60);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(sample_);

    auto* lower = new QHBoxLayout;
    lower->addWidget(effects);
    lower->addWidget(sampleBox, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(lower);
    layout->addWidget(buttons);

    connect(family_, &QListWidget::currentRowChanged, this, &FontDialog::pickFamily);
    connect(style_, &QListWidget::currentRowChanged, this, &FontDialog::pickStyle);
    connect(size_, &QDoubleSpinBox::valueChanged, this, [this](double size) {
        choice_.font.setPointSizeF(size);
        showColourAndSample();
    });
    connect(strikeOut_, &QCheckBox::clicked, this, [this](bool on) {
        choice_.font.setStrikeOut(on);
        showColourAndSample();
    });
    connect(underline_, &QCheckBox::clicked, this, [this](bool on) {
        choice_.font.setUnderline(on);
        showColourAndSample();
    });
    connect(colour_, &QPushButton::clicked, this, &FontDialog::pickColour);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// Shows the choice without changing it: the controls' signals stay quiet meanwhile.
void FontDialog::showChoice() {
    {
        const QSignalBlocker blockFamily(family_);
        const QSignalBlocker blockSize(size_);
        const QList<QListWidgetItem*> found =
            family_->findItems(choice_.font.family(), Qt::MatchFixedString);
        family_->setCurrentRow(found.isEmpty() ? -1 : family_->row(found.constFirst()));
        if (!found.isEmpty()) family_->scrollToItem(found.constFirst());
        size_->setValue(choice_.font.pointSizeF());
    }
    strikeOut_->setChecked(choice_.font.strikeOut());
    underline_->setChecked(choice_.font.underline());
    listStyles();
    showColourAndSample();
}

void FontDialog::listStyles() {
    const QSignalBlocker blockStyle(style_);
    style_->clear();
    const QString family = choice_.font.family();
    const QStringList styles = QFontDatabase::styles(family);
    style_->addItems(styles);
    const std::optional<QString> style = styleFor(family, styles, choice_.font);
    style_->setCurrentRow(style ? static_cast<int>(styles.indexOf(*style)) : -1);
}

void FontDialog::pickFamily() {
    const QListWidgetItem* item = family_->currentItem();
    if (!item) return;
    choice_.font.setFamilies({item->text()});
    listStyles();
    showColourAndSample();
}

void FontDialog::pickStyle() {
    const QListWidgetItem* item = style_->currentItem();
    if (!item) return;
    const QString family = choice_.font.family();
    choice_.font.setBold(QFontDatabase::bold(family, item->text()));
    choice_.font.setItalic(isItalic(family, item->text()));
    showColourAndSample();
}

void FontDialog::pickColour() {
    if (const std::optional<QColor> colour = ChooseColor(choice_.colour, this)) {
        choice_.colour = *colour;
        showColourAndSample();
    }
}

void FontDialog::showColourAndSample() {
    QPixmap swatch(16, 16);
    swatch.fill(choice_.colour);
    colour_->setIcon(swatch);
    sample_->setFont(choice_.font);
    QPalette palette = sample_->palette();
    palette.setColor(QPalette::WindowText, choice_.colour);
    sample_->setPalette(palette);
}

}  // namespace platform
