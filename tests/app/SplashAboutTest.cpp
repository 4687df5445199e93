#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QExposeEvent>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ProgramWindows.h"
#include "app/frm_About.h"
#include "app/frm_Splash.h"
#include "core/ImageStore.h"
#include "core/SystemVars.h"
#include "platform/Look.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "support/GuiTestSupport.h"

namespace {

using platform::fromQt;

formats::Bytes encodedImage(QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(20, 60, 90));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return formats::Bytes(data.begin(), data.end());
}

// The windows read the shared globals; every test gets its own and leaves them as found.
class SplashAbout : public ::testing::Test {
protected:
    void SetUp() override {
        SystemVars.ProductName = "Caf\xE9 Prep";
        SystemVars.ProductCode = "CP-1";
        SystemVars.ProductSubtitle = "<b>Basics</b>";
        SystemVars.Version = "2.5";
        SystemVars.WebAddress = "www.exam.example";
        SystemVars.SupportEmail = "help@exam.example";
        SystemVars.Copyright = "(c) 2026 Exam & Co.";
        for (int i = 0; i <= 12; ++i)
            SystemVars.AboutTexts.at(i) = "About " + std::to_string(i);
    }
    void TearDown() override {
        SystemVars = savedVars_;
        ImageStore = savedImages_;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    const SystemVarsRecord savedVars_ = SystemVars;
    const decltype(ImageStore) savedImages_ = ImageStore;
};

TEST_F(SplashAbout, SplashShowsTheProductAndReleasesItsPicture) {
    const testsupport::ScriptedMessageBoxes boxes;
    ImageStore[kSplashImageSlot] = {"splash.jpg", encodedImage({48, 30}, "JPG")};
    frm_Splash splash;
    EXPECT_EQ(fromQt(splash.lbl_Product_Type->text()), "CP-1 <b>Basics</b>");
    EXPECT_EQ(splash.lbl_Product_Type->textFormat(), Qt::PlainText);
    EXPECT_EQ(fromQt(splash.lbl_Version->text()), "v 2.5");
    EXPECT_EQ(splash.picVisible->pixmap().size(), QSize(48, 30));
    EXPECT_TRUE(ImageStore[kSplashImageSlot].Name.empty());
    EXPECT_TRUE(ImageStore[kSplashImageSlot].Bytes.empty());
    EXPECT_TRUE(mod_Forms::IsFormLoaded("frm_Splash"));

    // The picture covers the window at any size; the labels stay over its bottom part.
    EXPECT_EQ(splash.picVisible->geometry(), splash.rect());
    splash.show();
    splash.resize(600, 360);
    EXPECT_EQ(splash.picVisible->geometry(), QRect(0, 0, 600, 360));
    const QRect copyright(splash.lbl_copyright->mapTo(&splash, QPoint(0, 0)),
                          splash.lbl_copyright->size());
    EXPECT_TRUE(splash.rect().contains(copyright));
    EXPECT_GT(copyright.top(), 360 / 2);

    // The next start finds the slot empty: no picture and no message.
    const frm_Splash again;
    EXPECT_TRUE(again.picVisible->pixmap().isNull());
    boxes.expectNone();
}

// Each label has at least the room its text needs in the label's own font: the width of its
// line, or the height of its lines at the width it got when it wraps.
void expectWholeTexts(const QWidget& window) {
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty()) continue;
        SCOPED_TRACE(label->objectName().toStdString());
        if (label->wordWrap())
            EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        else
            EXPECT_GE(label->width(), label->sizeHint().width());
    }
}

TEST_F(SplashAbout, EveryLabelShowsItsWholeText) {
    SystemVars.ProductName = "Vellacorn";
    SystemVars.ProductCode = "NP-110";
    SystemVars.ProductSubtitle = "Networking Fundamentals";
    SystemVars.Version = "1.0";
    SystemVars.WebAddress = "www.vellacorn.example";
    SystemVars.SupportEmail = "support@vellacorn.example";
    SystemVars.Copyright = "Copyright (c) 2026 Vellacorn Learning. All rights reserved.";
    SystemVars.AboutTexts.at(about_text::kDescription) =
        "Practice exams for computer networking fundamentals";
    SystemVars.AboutTexts.at(about_text::kInvitation) =
        "Questions or suggestions? We would be glad to hear from you.";
    SystemVars.AboutTexts.at(about_text::kNotice) =
        "This program and its questions are protected by copyright law. Copying or distributing "
        "them without permission is not allowed.";

    frm_Splash splash;
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    expectWholeTexts(splash);

    const auto about = std::make_unique<frm_About>();
    about->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about.get()));
    expectWholeTexts(*about);
}

// The splash keeps its picture's size unless a line of its band needs more.
TEST_F(SplashAbout, TheSplashWidensToTextsWiderThanItsPicture) {
    const std::string wide(120, 'W');
    const std::pair<const char*, std::string SystemVarsRecord::*> lines[] = {
        {"the product line", &SystemVarsRecord::ProductSubtitle},
        {"the copyright line", &SystemVarsRecord::Copyright},
    };
    for (const auto& [line, text] : lines) {
        SCOPED_TRACE(line);
        SystemVars.*text = wide;
        frm_Splash splash;
        splash.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
        expectWholeTexts(splash);
        SystemVars.*text = "short";
    }
}

// Stands for a window manager, which maps a new window only after a round trip: the first
// window shown while it is installed is put on the screen when events are next processed.
class LateMapping : public QObject {
public:
    LateMapping() { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWindow*>(watched);
        if (held_ || window == nullptr || event->type() != QEvent::Expose) return false;
        held_ = true;
        QCoreApplication::postEvent(window, new QExposeEvent(QRect(QPoint(), window->size())));
        return true;
    }

private:
    bool held_ = false;
};

// Nothing processes events while the bank loads: the splash must be on the screen, painted,
// when showing it returns.
TEST_F(SplashAbout, TheSplashIsOnScreenWithItsPictureBeforeTheBankLoads) {
    const QColor colour(200, 40, 40);
    ImageStore[kSplashImageSlot] = {"splash.png", testsupport::PngBytes({48, 30}, colour)};
    ProgramWindows windows;
    {
        const LateMapping windowManager;
        windows.ShowSplash();
    }
    QWidget* splash = mod_Forms::Find("frm_Splash");
    ASSERT_NE(splash, nullptr);
    const QImage shown = splash->screen()->grabWindow(splash->winId()).toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 4), colour);
    windows.UnloadSplash();
}

TEST_F(SplashAbout, AboutShowsItsTextsAsPlainTextAndLinksOpenExactlyTheirAddresses) {
    ImageStore[kLogoImageSlot] = {"main_Logo.gif", encodedImage({26, 6}, "PNG")};
    const testsupport::RecordedShell shell;
    const auto about = std::make_unique<frm_About>();
    EXPECT_EQ(fromQt(about->windowTitle()), "About 12 Caf\xE9 Prep (CP-1) <b>Basics</b>");
    EXPECT_EQ(fromQt(about->Label1->text()), "Caf\xE9 Prep (CP-1) <b>Basics</b>");
    EXPECT_EQ(fromQt(about->Label2->text()), "About 1 2.5");
    EXPECT_EQ(about->PicLogoMain->pixmap().size(), QSize(26, 6));
    for (const QLabel* label : about->findChildren<QLabel*>()) {
        if (label != about->PicLogoMain) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        }
    }
    EXPECT_EQ(about->palette().color(about->backgroundRole()), platform::PanelColour());
    EXPECT_EQ(about->Command1->palette().color(QPalette::Button), platform::PanelColour());

    about->show();
    for (const QLabel* link : {about->Label9, about->Label10}) {
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    QTest::mouseClick(about->Label10, Qt::LeftButton);
    QTest::mouseClick(about->Label9, Qt::LeftButton);
    QTest::mouseClick(about->Label7, Qt::LeftButton);
    // The shell gives the bare web address its scheme.
    EXPECT_EQ(shell.opened(),
              (std::vector<std::string>{"mailto:help@exam.example", "http://www.exam.example"}));
}

TEST_F(SplashAbout, AboutCommandButtonEndsTheModalShowAndUnloads) {
    const QPointer<frm_About> about = new frm_About;
    const testsupport::ModalWatcher watcher(testsupport::ModalWatcher::clickButton("Command1"));
    about->exec();
    EXPECT_TRUE(watcher.acted());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_About"));
}

TEST_F(SplashAbout, AboutLinksWithoutAProgramToOpenThemSaySoAndShowTheAddress) {
    testsupport::ScriptedMessageBoxes boxes;
    const platform::ShellHandler previous =
        platform::SetShellHandler([](const QUrl&) { return false; });
    const auto about = std::make_unique<frm_About>();
    boxes.queue(platform::kOk);
    boxes.queue(platform::kOk);
    about->Label9_Click();
    about->Label10_Click();
    platform::SetShellHandler(previous);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_NE(boxes.shown()[0].text.find("www.exam.example"), std::string::npos);
    EXPECT_NE(boxes.shown()[1].text.find("help@exam.example"), std::string::npos);
}

}  // namespace
