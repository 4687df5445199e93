#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "core/ListView.h"
#include "core/NumberList.h"
#include "core/ReadOnlyTextBox.h"
#include "core/mod_ComboBox.h"
#include "support/GuiTestSupport.h"

namespace {

bool anyMenuVisible() {
    QCoreApplication::processEvents();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMenu*>(widget) != nullptr && widget->isVisible()) return true;
    }
    return false;
}

void closeMenus() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMenu*>(widget) != nullptr) widget->close();
    }
    QCoreApplication::processEvents();
}

// A right click on the text area and a keyboard menu request (menu key, Shift+F10).
bool opensMenu(QPlainTextEdit& box) {
    QTest::mouseClick(box.viewport(), Qt::RightButton, {}, QPoint(10, 10));
    bool opened = anyMenuVisible();
    closeMenus();
    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(10, 10),
                               box.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&box, &keyboard);
    opened = anyMenuVisible() || opened;
    closeMenus();
    return opened;
}

// Neither box may open a menu or hand the request on to its parent.
TEST(ContextMenu, ReadOnlyAndSuppressedBoxesOpenNone) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* readOnly = new ReadOnlyTextBox(&window);
    auto* plain = new QPlainTextEdit(&window);
    layout->addWidget(readOnly);
    layout->addWidget(plain);
    window.setContextMenuPolicy(Qt::CustomContextMenu);
    int parentRequests = 0;
    QObject::connect(&window, &QWidget::customContextMenuRequested, [&] { ++parentRequests; });
    window.resize(300, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    ASSERT_TRUE(opensMenu(*plain));  // the check itself sees a menu
    EXPECT_FALSE(opensMenu(*readOnly));
    SuppressContextMenu(plain);
    SuppressContextMenu(plain);  // twice keeps the first remembered setting
    EXPECT_FALSE(opensMenu(*plain));
    EXPECT_EQ(parentRequests, 0);
    RestoreContextMenu(plain);
    EXPECT_TRUE(opensMenu(*plain));
}

TEST(ListViewColumns, UserCannotDragOrDoubleClickADivider) {
    ListView list;
    list.addColumn("First", 100);
    list.addColumn("A rather long second header", 60);
    list.addRows({ListRow{{"a", "b"}, "a0", false, {}}});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QHeaderView& header = *list.header();
    const int y = header.height() / 2;
    const auto divider = [&](int c) {
        return header.sectionViewportPosition(c) + header.sectionSize(c) - 1;
    };

    QTest::mousePress(header.viewport(), Qt::LeftButton, {}, QPoint(divider(0), y));
    QTest::mouseMove(header.viewport(), QPoint(divider(0) + 40, y));
    QTest::mouseRelease(header.viewport(), Qt::LeftButton, {}, QPoint(divider(0) + 40, y));
    EXPECT_EQ(list.columnWidth(0), 100);
    testsupport::doubleClick(header.viewport(), QPoint(divider(1), y));
    EXPECT_EQ(list.columnWidth(1), 60);
}

TEST(ListViewRows, CheckSignalOnlyForCheckChangesAfterFilling) {
    ListView list;
    list.setCheckBoxes(true);
    list.addColumn("N");
    int checkSignals = 0;
    QObject::connect(&list, &ListView::rowCheckChanged, [&] { ++checkSignals; });
    list.addRows({ListRow{{"1"}, "a0", true, {}}, ListRow{{"2"}, "a1", false, {}}});
    EXPECT_EQ(checkSignals, 0);
    EXPECT_TRUE(list.isChecked(0));

    list.setChecked(1, true);
    list.setCellText(1, 0, QStringLiteral("changed"));
    EXPECT_EQ(checkSignals, 1);
}

TEST(TypeAhead, TypedLettersSelectTheEntryCaretAfterThemRestSelected) {
    TypeAheadComboBox combo;
    const QString ete = QString::fromUtf8("\xc3\xa9t\xc3\xa9");
    combo.addItems({"Apple", "Abstract", "Banana", ete});
    combo.setEditText(QString());
    combo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&combo));
    combo.setFocus();
    QLineEdit& edit = *combo.lineEdit();
    QSignalSpy activated(&combo, &QComboBox::activated);
    EXPECT_EQ(combo.completer(), nullptr);

    QTest::keyClick(&combo, Qt::Key_A);
    EXPECT_EQ(combo.currentText(), "Apple");
    QTest::keyClick(&combo, Qt::Key_B);
    EXPECT_EQ(combo.currentText(), "Abstract");
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(edit.selectionStart(), 2);
    EXPECT_EQ(edit.cursorPosition(), 2);
    EXPECT_EQ(edit.selectedText(), "stract");
    ASSERT_EQ(activated.size(), 2);
    EXPECT_EQ(activated.back().front().toInt(), 1);

    // Unmatched and non-printable keys are dropped.
    QTest::keyClick(&combo, Qt::Key_Z);
    QTest::keyClick(&combo, Qt::Key_Return);
    QTest::keyClick(&combo, Qt::Key_Escape);
    QTest::keyClick(&combo, Qt::Key_V, Qt::ControlModifier);
    testsupport::typeText(&combo, QString::fromUtf8("\xc3\xa9"));  // beyond 127, even if listed
    EXPECT_EQ(combo.currentText(), "Abstract");
    EXPECT_EQ(edit.selectedText(), "stract");
    EXPECT_EQ(combo.count(), 4);

    // Backspace shortens the search, or clears near the start.
    QTest::keyClick(&combo, Qt::Key_Backspace);  // search "A"
    EXPECT_EQ(combo.currentText(), "Apple");
    EXPECT_EQ(edit.selectionStart(), 1);
    EXPECT_EQ(edit.selectedText(), "pple");
    QTest::keyClick(&combo, Qt::Key_Backspace);  // caret at 1
    EXPECT_EQ(combo.currentText(), "");
    QTest::keyClick(&combo, Qt::Key_Backspace);  // caret at 0
    EXPECT_EQ(combo.currentText(), "");

    // Nothing selected: the whole text minus its last character.
    combo.setEditText("Bana");
    edit.setCursorPosition(4);
    QTest::keyClick(&combo, Qt::Key_Backspace);
    EXPECT_EQ(combo.currentText(), "Banana");
    EXPECT_EQ(edit.selectionStart(), 3);

    // Keys without a character (arrows) keep their usual work.
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.currentText(), ete);
}

TEST(TypeAhead, CtrlASelectsTheWholeTextSoTypingReplacesIt) {
    TypeAheadComboBox combo;
    ShowNumbers(combo, 80);
    combo.setCurrentIndex(-1);
    combo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&combo));
    combo.setFocus();
    QSignalSpy activated(&combo, &QComboBox::textActivated);

    QTest::keyClick(&combo, Qt::Key_7);
    QTest::keyClick(&combo, Qt::Key_A, Qt::ControlModifier);

    EXPECT_EQ(combo.lineEdit()->selectedText(), "7");
    QTest::keyClick(&combo, Qt::Key_4);
    QTest::keyClick(&combo, Qt::Key_5);
    EXPECT_EQ(combo.currentText(), "45");
    ASSERT_FALSE(activated.isEmpty());
    EXPECT_EQ(activated.back().front().toString(), "45");
}

TEST(ComboAutoComplete, ReturnsTheKeyToPassOn) {
    QComboBox combo;
    combo.setEditable(true);
    combo.addItems({"Alpha", "Beta"});
    combo.setEditText(QString());

    EXPECT_EQ(mod_ComboBox::ComboAutoComplete(&combo, 'z', false), 'z');
    EXPECT_EQ(mod_ComboBox::ComboAutoComplete(&combo, 'z', true), 0);
    EXPECT_EQ(combo.currentText(), "");
    EXPECT_EQ(mod_ComboBox::ComboAutoComplete(&combo, 13, false), 0);
    EXPECT_EQ(mod_ComboBox::ComboAutoComplete(&combo, 'b', false), 0);
    EXPECT_EQ(combo.currentText(), "Beta");
}

}  // namespace
