#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/ListView.h"
#include "exam/QuestionLookup.h"
#include "mainscreen/CustomExamFile.h"
#include "mainscreen/CustomTab.h"
#include "mainscreen/SwitchBoardFixture.h"
#include "mainscreen/frm_Customize.h"
#include "notes/NotesEditor.h"
#include "support/GuiTestSupport.h"

using namespace testsupport;

namespace {

// Every kind of window that scrolls: its handle reads as the question box's does.
struct ScrollHandlesTest : SwitchBoardFixture {
    void TearDown() override {
        CustomExamTable.clear();
        SwitchBoardFixture::TearDown();
    }
};

// Shows the window, then lets `grow` add to it until its bar's handle is below 0.4 of the
// track (the check wants a handle well shorter than its track).
void fillUntilItScrolls(QWidget& window, QScrollBar& bar, const std::function<void()>& grow) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int round = 0; round < 400; ++round) {
        QApplication::processEvents();
        const int span = bar.maximum() - bar.minimum() + bar.pageStep();
        if (bar.maximum() > 0 && bar.pageStep() < 0.4 * span) return;
        grow();
    }
    FAIL() << "never scrolled";
}

}  // namespace

TEST_F(ScrollHandlesTest, EveryKindOfWindowDrawsItsHandleDarkerThanItsTrack) {
    struct Case {
        const char* kind;
        std::function<void()> check;
    };
    const std::vector<Case> cases = {
        {"a note box",
         [] {
             NotesEditor notes;
             notes.resize(420, 300);
             QTextEdit& box = *notes.Contents();
             fillUntilItScrolls(notes, *box.verticalScrollBar(),
                                [&box] { box.append(QStringLiteral("A line of the note.")); });
             box.verticalScrollBar()->setValue(0);
             ExpectScrollHandleAtTheTop(*box.verticalScrollBar());
         }},
        {"a list",
         [] {
             ListView list;
             list.addColumn("N", 60);
             list.resize(200, 200);
             int rows = 0;
             fillUntilItScrolls(list, *list.verticalScrollBar(), [&list, &rows] {
                 const std::string text = std::to_string(++rows);
                 list.addRows({ListRow{{text}, "k" + text, false, {}}});
             });
             ExpectScrollHandleAtTheTop(*list.verticalScrollBar());
         }},
        {"the custom exam's grid",
         [] {
             PracticeGroups.clear();
             for (std::int16_t group = 51; group < 71; ++group) {
                 PracticeGroups.push_back(group);
                 QuestionBank.push_back(BankQuestion(group, group, "Routing"));
             }
             ResetStats();
             exam::InvalidateQuestionLookup();
             CustomTab tab;
             tab.resize(640, 420);
             tab.Refresh();
             tab.show();
             ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
             ExpectScrollHandleAtTheTop(*tab.Customize_Vscroll);
         }},
        {"the Customize dialog",
         [] {
             QuestionBank.clear();
             ObjectiveNames.clear();
             for (int k = 0; k < 20; ++k) {
                 ObjectiveNames.push_back("Objective " + std::to_string(k + 10));
                 QuestionBank.push_back(BankQuestion(k + 1, 21, ObjectiveNames.back()));
             }
             ResetStats();
             exam::InvalidateQuestionLookup();
             frm_Customize dialog(nullptr, "21", CustomizeOrigin::kExamKind);
             dialog.Form_Load();
             dialog.show();
             ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
             ExpectScrollHandleAtTheTop(*dialog.Objectives_Vscroll);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        c.check();
    }
}

namespace {

// The style Qt would have used had the program not set its own.
std::unique_ptr<QStyle> plainStyle() {
    const auto* own = qobject_cast<const QProxyStyle*>(QApplication::style());
    if (own == nullptr) return nullptr;
    return std::unique_ptr<QStyle>(QStyleFactory::create(own->baseStyle()->name()));
}

void setStyleThroughout(QWidget& widget, QStyle* style) {
    widget.setStyle(style);
    for (QWidget* child : widget.findChildren<QWidget*>())
        child->setStyle(style);
}

}  // namespace

// Only the handle changes: every other control is drawn, sized and laid out as the style Qt
// chose would do it.
TEST(ScrollHandlesLook, NothingButTheHandleDiffersFromThePlainStyle) {
    const std::unique_ptr<QStyle> plain = plainStyle();
    ASSERT_NE(plain, nullptr) << "the program's style is not in place";
    struct Case {
        const char* control;
        std::function<QWidget*()> make;
    };
    const std::vector<Case> cases = {
        {"button", [] { return new QPushButton(QStringLiteral("Start")); }},
        {"check box", [] { return new QCheckBox(QStringLiteral("Routing")); }},
        {"option", [] { return new QRadioButton(QStringLiteral("Answer A")); }},
        {"combo box",
         [] {
             auto* box = new QComboBox;
             box->addItems({QStringLiteral("Go to"), QStringLiteral("1")});
             return box;
         }},
        {"line", [] { return new QLineEdit(QStringLiteral("typed")); }},
        {"spin box", [] { return new QSpinBox; }},
        {"slider", [] { return new QSlider(Qt::Horizontal); }},
        {"progress",
         [] {
             auto* bar = new QProgressBar;
             bar->setValue(40);
             return bar;
         }},
        {"frame", [] { return new QGroupBox(QStringLiteral("Level")); }},
        {"tabs",
         [] {
             auto* tabs = new QTabWidget;
             tabs->addTab(new QWidget, QStringLiteral("Questions"));
             tabs->addTab(new QWidget, QStringLiteral("Notes"));
             return tabs;
         }},
        {"text box that fits", [] { return new QTextEdit(QStringLiteral("short")); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        const std::unique_ptr<QWidget> widget(c.make());
        widget->resize(widget->sizeHint().expandedTo(QSize(160, 60)));
        const QSize ownHint = widget->sizeHint();
        const QImage own = widget->grab().toImage();
        setStyleThroughout(*widget, plain.get());
        EXPECT_EQ(widget->sizeHint(), ownHint);
        EXPECT_TRUE(widget->grab().toImage() == own);
    }

    // A scroll bar keeps its size, arrows and track; its handle alone is darker.
    QScrollBar bar(Qt::Vertical);
    bar.setRange(0, 300);
    bar.setPageStep(100);
    bar.resize(bar.sizeHint().width(), 240);
    const QSize ownHint = bar.sizeHint();
    const QImage own = bar.grab().toImage();
    setStyleThroughout(bar, plain.get());
    EXPECT_EQ(bar.sizeHint(), ownHint);
    const QImage plainImage = bar.grab().toImage();
    ASSERT_EQ(plainImage.size(), own.size());
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.pageStep = bar.pageStep();
    option.sliderPosition = bar.value();
    option.sliderValue = bar.value();
    option.subControls = QStyle::SC_All;
    const QRect handle =
        plain->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
    ASSERT_FALSE(handle.isEmpty());
    // The plain style outlines its handle a pixel beyond the handle's own rectangle.
    const QRect drawnHandle = handle.adjusted(-1, -1, 1, 1);
    int differingOutside = 0;
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x)
            if (!drawnHandle.contains(x, y) && own.pixel(x, y) != plainImage.pixel(x, y))
                ++differingOutside;
    EXPECT_EQ(differingOutside, 0);
    const QPoint middle = handle.center();
    EXPECT_LT(qGray(own.pixel(middle)) + 20, qGray(plainImage.pixel(middle)));
}
