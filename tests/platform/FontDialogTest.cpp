#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QListWidget>

#include <algorithm>
#include <tuple>
#include <vector>

#include "platform/FontColorDialogs.h"
#include "platform/FontDialog.h"
#include "support/GuiTestSupport.h"

namespace {

using platform::FontChoice;
using platform::FontDialog;

FontChoice choiceOf(const QString& family, qreal size, bool bold, bool italic) {
    FontChoice choice{QFont(family), QColor(10, 20, 30)};
    choice.font.setPointSizeF(size);
    choice.font.setBold(bold);
    choice.font.setItalic(italic);
    return choice;
}

auto fieldsOf(const FontChoice& c) {
    const QFont& f = c.font;
    return std::make_tuple(f.family(), f.pointSizeF(), f.bold(), f.italic(), f.underline(),
                           f.strikeOut(), c.colour);
}

bool slanted(const QString& family, const QString& style) {
    return QFontDatabase::font(family, style, 10).style() != QFont::StyleNormal;
}

TEST(FontDialogTest, FieldsLeftAloneComeBackAsGiven) {
    // A size the size box cannot show exactly with every effect, a family the list lacks, and
    // a bold for which the family has no face.
    FontChoice fractional = choiceOf(QFontInfo(QApplication::font()).family(), 13.33, true, true);
    fractional.font.setUnderline(true);
    fractional.font.setStrikeOut(true);
    std::vector<FontChoice> cases = {fractional,
                                     choiceOf(QStringLiteral("No Such Family"), 9, false, false)};
    for (const QString& family : QFontDatabase::families()) {
        const QStringList styles = QFontDatabase::styles(family);
        if (std::none_of(styles.begin(), styles.end(),
                         [&](const QString& s) { return QFontDatabase::bold(family, s); })) {
            cases.push_back(choiceOf(family, 12, true, false));
            break;
        }
    }
    for (const FontChoice& given : cases) {
        SCOPED_TRACE(given.font.family().toStdString());
        EXPECT_EQ(fieldsOf(FontDialog(given).Choice()), fieldsOf(given));
    }

    const testsupport::ModalWatcher watcher(testsupport::ModalWatcher::clickButton("cancel"));
    EXPECT_FALSE(platform::ChooseFont(fractional, nullptr));
    EXPECT_TRUE(watcher.acted());
}

TEST(FontDialogTest, StylesFollowTheFamilyAndGiveBoldAndItalic) {
    const QString family = QFontInfo(QApplication::font()).family();
    FontDialog dialog(choiceOf(QStringLiteral("No Such Family"), 10, false, true));
    auto* families = dialog.findChild<QListWidget*>(QStringLiteral("family"));
    auto* styles = dialog.findChild<QListWidget*>(QStringLiteral("style"));
    EXPECT_EQ(families->currentItem(), nullptr);
    const QList<QListWidgetItem*> found = families->findItems(family, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    families->setCurrentItem(found.constFirst());
    EXPECT_EQ(dialog.Choice().font.family(), family);
    ASSERT_EQ(styles->count(), QFontDatabase::styles(family).size());

    // Italic text selects a slanted face; an oblique face counts as italic.
    ASSERT_NE(styles->currentItem(), nullptr);
    EXPECT_TRUE(slanted(family, styles->currentItem()->text()));
    for (int row = 0; row < styles->count(); ++row) {
        const QString style = styles->item(row)->text();
        SCOPED_TRACE(style.toStdString());
        styles->setCurrentRow(row);
        EXPECT_EQ(dialog.Choice().font.bold(), QFontDatabase::bold(family, style));
        EXPECT_EQ(dialog.Choice().font.italic(), slanted(family, style));
    }

    dialog.findChild<QDoubleSpinBox*>(QStringLiteral("size"))->setValue(15.5);
    EXPECT_EQ(dialog.Choice().font.pointSizeF(), 15.5);
}

}  // namespace
