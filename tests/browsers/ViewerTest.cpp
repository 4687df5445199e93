#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <set>

#include "DataBuilder.h"
#include "DocumentBuilder.h"
#include "app/mdi_Main.h"
#include "browsers/DocumentPageJudge.h"
#include "browsers/ResourceDocument.h"
#include "browsers/frm_Viewer.h"
#include "browsers/mod_Viewer.h"
#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/mod_System.h"
#include "exam/CurrentExam.h"
#include "mainscreen/frm_SwitchBoard.h"
#include "pages/PageJudge.h"
#include "pages/PagePictures.h"
#include "pages/PageRefusals.h"
#include "pages/PageTrial.h"
#include "platform/mod_Forms.h"
#include "support/GuiTestSupport.h"
#include "support/Repeated.h"
#include "support/SampleArchives.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempProgramFolder.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

formats::Bytes pngOf(const QSize& size) {
    return testsupport::PngBytes(size, Qt::darkCyan);
}

struct ViewerTest : ::testing::Test {
    TempProgramFolder folder;
    // The program folder of the user who keeps it in "my #1 docs".
    fs::path program = folder.path() / "my #1 docs";
    ScriptedMessageBoxes boxes;
    std::vector<QPointer<frm_Viewer>> viewers;

    void SetUp() override {
        AppPaths::SetProgramFolder(program);
        AbortFlag = false;
        SystemVars = MinimalSystemVars();
        SystemVars.Copyright = "(c) Test";
        SystemVars.ViewerErrorTexts.at(message_text::kMessage) = "Cannot open ";
        SystemVars.ViewerErrorTexts.at(message_text::kCaption) = "Document - ";
        DataKey = KeyOf(SystemVars);
    }
    // A fresh source folder for the packer: the page and one picture.
    static fs::path packerSource(const std::string& page, const std::string& pictureName,
                                 const formats::Bytes& picture) {
        const fs::path source = AppPaths::ProgramFolder() / "source";
        fs::remove_all(source);
        fs::create_directories(source);
        testsupport::WriteFile(source / "tips.html", BytesOf(page));
        testsupport::WriteFile(source / pictureName, picture);
        return source;
    }
    void TearDown() override {
        for (const auto& viewer : viewers)
            delete viewer.data();
        AppPaths::SetProgramFolder(folder.path());
    }

    fs::path container(const std::string& name, const ArchiveFiles& files) {
        ArchiveFiles all{
            {"header.dat", BytesOf(mod_Viewer::DocumentDigest(
                               SystemVars.ProductName, SystemVars.ProductCode, DataKey, name))}};
        all.insert(all.end(), files.begin(), files.end());
        const fs::path path = AppPaths::ResourcesFolder() / name;
        WriteFile(path, Archive(all));
        return path;
    }
    frm_Viewer* open(const fs::path& path, const QString& caption = QStringLiteral("About")) {
        frm_Viewer* viewer = mod_Viewer::OpenResourceDocument(path, caption, QPixmap());
        viewers.emplace_back(viewer);
        return viewer;
    }
    frm_Viewer* openSample() {
        return open(
            container("About.dat", {{"pic.png", pngOf({40, 30})},
                                    {"page.html", BytesOf("<h1>Hello</h1><p><img "
                                                          "src=\"{APP.PATH}pic.png\"></p>")}}));
    }
};

TEST_F(ViewerTest, ShowsThePageWithItsPictureFromTheTemporaryFolder) {
    QPixmap picture(200, 100);
    picture.fill(Qt::red);
    frm_Viewer* viewer = mod_Viewer::OpenResourceDocument(
        container("About.dat", {{"my pic.png", pngOf({40, 30})},
                                {"page.html", BytesOf("<h1>Hello</h1><img src=\"{APP.PATH}"
                                                      "my pic.png\">")}}),
        QStringLiteral("About the Exams"), picture);
    viewers.emplace_back(viewer);
    ASSERT_NE(viewer, nullptr);
    boxes.expectNone();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), "About the Exams");
    EXPECT_EQ(viewer->Label1->text(), "About the Exams");
    EXPECT_EQ(viewer->Picture2->pixmap().size(), QSize(64, 32));
    EXPECT_EQ(viewer->StatusBar1Panel1->text(), "(c) Test");
    EXPECT_TRUE(viewer->WebBrowser1->toPlainText().startsWith("Hello"));

    const std::vector<QImage> images = ShownImages(*viewer->WebBrowser1);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].size(), QSize(40, 30));
    EXPECT_TRUE(fs::exists(program / "Data" / "Resources" / "temp" / "my pic.png"));
}

// In a bounded child: a slip that reads a device or waits on a fifo fails the test instead of
// taking the run's memory or time.
TEST_F(ViewerTest, ThePagesPicturesComeOnlyFromRegularFilesOfTheTemporaryFolder) {
    const fs::path temp = AppPaths::ResourcesTempFolder();
    const fs::path outsidePicture = AppPaths::DataFolder() / "outside.png";
    WriteFile(outsidePicture, pngOf({20, 10}));
    fs::create_directories(temp);
    fs::create_symlink(outsidePicture, temp / "linked.png");
    fs::create_symlink("/dev/zero", temp / "zero.png");
    // A fifo would keep a reader waiting for a writer that never comes.
    ASSERT_EQ(::mkfifo((temp / "pipe.png").c_str(), 0644), 0);
    // Where a data: URL Qt cannot decode would be opened as a file name.
    const fs::path work = folder.path() / "work";
    WriteFile(work / "data:" / "x.png", pngOf({5, 5}));
    WriteFile(folder.path() / "x.png", pngOf({5, 5}));
    WriteFile(work / "data:,pic.png", pngOf({5, 5}));
    ASSERT_EQ(::mkfifo((work / "data:,fifo").c_str(), 0644), 0);
    const formats::Bytes small = pngOf({3, 2});
    const QByteArray inlined = QByteArray(reinterpret_cast<const char*>(small.data()),
                                          static_cast<qsizetype>(small.size()))
                                   .toBase64();
    std::string page = "<img src=\"{APP.PATH}pic.png\"><img src=\"pic.png\">";
    for (const std::string& source : std::vector<std::string>{
             "/dev/zero", "../../../../dev/zero", "../../../../../../../../../../dev/zero",
             "file:///dev/zero", "{APP.PATH}../../outside.png", outsidePicture.string(),
             "http://example.com/pic.png", "{APP.PATH}linked.png", "{APP.PATH}zero.png",
             "{APP.PATH}pipe.png", "{APP.PATH}missing.png", "data:/../../x.png", "data:,pic.png",
             "data:,fifo", "{APP.PATH}huge.png", "{APP.PATH}big.png", "big.png",
             "{APP.PATH}big copy.png"})
        page += "<img src=\"" + source + "\">";
    page += "<img src=\"data:image/png;base64," + inlined.toStdString() + "\">";
    // Over half the page's pixel budget, and over all of it.
    const int bigSide = static_cast<int>(std::sqrt(platform::kPagePixelBudget * 0.6));
    const formats::Bytes big = PngBytes({bigSide, bigSide}, Qt::white, QImage::Format_Mono);
    const int hugeSide = static_cast<int>(std::sqrt(platform::kPagePixelBudget)) + 1;

    std::string failure;
    const auto shown = RunBoundedWithQt(
        [&] {
            if (::chdir(work.c_str()) != 0) return std::string("no working folder");
            frm_Viewer* viewer = open(container(
                "About.dat",
                {{"pic.png", pngOf({40, 30})},
                 {"big.png", big},
                 {"big copy.png", big},
                 {"huge.png", PngBytes({hugeSide, hugeSide}, Qt::white, QImage::Format_Mono)},
                 {"page.html", BytesOf(page)}}));
            if (!viewer) return std::string("no viewer");
            std::string pictures;
            for (const std::string& picture : ShownPictures(*viewer->WebBrowser1))
                pictures += picture + " ";
            // Printing lays the page out again from the same pictures.
            const PrintToPdf printing(folder.path() / "page.pdf");
            viewer->mnuPrint_Click();
            return pictures + "printed " + std::to_string(printing.printDialogs());
        },
        failure);
    const std::string bigShown = std::to_string(bigSide) + "x" + std::to_string(bigSide);
    std::string expected = "40x30 40x30 ";  // a relative name is the folder's
    for (int k = 0; k < 15; ++k)
        expected += "mark ";
    expected += bigShown + " " + bigShown + " mark 3x2 printed 1";
    EXPECT_EQ(shown.value_or(failure), expected);
    boxes.expectNone();
}

TEST_F(ViewerTest, APlainFileInTheTemporaryFoldersPlaceGivesWayToTheFolder) {
    WriteFile(AppPaths::ResourcesTempFolder(), BytesOf("not a folder"));
    frm_Viewer* viewer = openSample();
    ASSERT_NE(viewer, nullptr);
    boxes.expectNone();
    const std::vector<QImage> images = ShownImages(*viewer->WebBrowser1);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].size(), QSize(40, 30));
}

TEST_F(ViewerTest, AFailedOpeningShowsTheMessageAndLeavesNoWindow) {
    const fs::path path = AppPaths::ResourcesFolder() / "Guides.dat";
    WriteFile(path, BytesOf("not an archive"));
    boxes.queue(platform::kOk);
    EXPECT_EQ(open(path), nullptr);
    EXPECT_EQ(boxes.shown(), (std::vector<ShownBox>{{"Cannot open " + path.string(),
                                                     "Document - " + path.string(), 16}}));
    EXPECT_FALSE(AbortFlag);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Viewer"));
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(windows.begin(), windows.end(),
                             [](QWidget* w) { return qobject_cast<frm_Viewer*>(w); }));
}

// A page Qt could not show in time is refused with its reason (an intact file, never called
// missing or damaged), and the packer, judging it the viewer's way, never packs it.
TEST_F(ViewerTest, APageThatCannotBeShownInTimeIsRefusedWithItsReasonAndNeverPacked) {
    struct Row {
        const char* what;
        std::string page;
        std::optional<std::string> refusal;  // the reason; nullopt when shown
    };
    // The packer names its budget; the viewer, which holds the page to the wider limit, that.
    const auto slowAt = [](const page_refusals::Contents& holds, std::chrono::microseconds limit) {
        return page_refusals::Reason(
            {page_refusals::Cause::kTooSlow, static_cast<std::uint64_t>(limit.count()), 0, holds},
            page_refusals::Subject::kDocumentPage);
    };
    const auto slow = [&slowAt](const page_refusals::Contents& holds) {
        return slowAt(holds, page_trial::kLayoutBudget);
    };
    const auto held = [&slowAt](const std::string& refusal) {
        for (const page_refusals::Contents holds :
             {page_refusals::Contents{}, page_refusals::Contents{false, true, false}})
            if (refusal == slowAt(holds, page_trial::kLayoutBudget))
                return slowAt(holds, page_trial::kHeldLayoutBudget);
        return refusal;
    };
    // The packer lays the page out with its pictures, as the viewer does.
    const std::string tall = "<img src=\"{APP.PATH}tall.png\"><br>";
    const Row rows[] = {
        {"tables one level too deep",
         Repeated("<table><tr><td>", page_judge::kPageLimits.tableDepth + 1),
         "The page has tables inside tables more than 10 levels deep. Fewer tables inside one "
         "another would fit."},
        {"one word of 300,000 letters", "<p>" + std::string(300'000, 'w') + "</p>",
         slow({false, false, false})},
        {"100 rows of a cell spanning 20,480 columns",
         "<table>" + Repeated("<tr><td colspan=20480>x</td></tr>", 100),
         "The page has tables of more than 200,000 cells together, counting a cell once for "
         "every column it spans. Fewer or smaller tables would fit."},
        {"120 paragraphs of line height 1000000%",
         Repeated("<p style=\"line-height:1000000%\">a b c d</p>", 120), std::nullopt},
        {"a picture 16,000 px tall shown 300 times", Repeated(tall, 300), std::nullopt},
        {"the same shown 600 times, past the height Qt lays out", Repeated(tall, 600),
         slow({false, true, false})},
    };
    const formats::Bytes tallPicture = pngOf({1, 16'000});
    const datapack::ProductIdentity product{SystemVars.ProductName, SystemVars.ProductCode,
                                            DataKey};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const fs::path source = packerSource(row.page, "tall.png", tallPicture);
        std::string report;
        EXPECT_EQ(datapack::buildDocument(product, source, AppPaths::ProgramFolder() / "Packed.dat",
                                          report, mod_Viewer::JudgeDocumentPage),
                  !row.refusal)
            << report;
        if (row.refusal) {
            EXPECT_NE(report.find(": the viewer would refuse the page: " + *row.refusal + "\n"),
                      std::string::npos)
                << report;
        }

        const fs::path path =
            container("Tips.dat", {{"tips.html", BytesOf(row.page)}, {"tall.png", tallPicture}});
        if (!row.refusal) {
            frm_Viewer* viewer = open(path);
            ASSERT_NE(viewer, nullptr);
            viewer->close();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            continue;
        }
        boxes.queue(platform::kOk);
        EXPECT_EQ(open(path), nullptr);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "This document's page cannot be shown:\r\n\r\n" +
                                             held(*row.refusal) + "\r\n\r\n" + path.string());
        EXPECT_EQ(boxes.shown()[0].title, "Document Not Shown - " + path.string());
        boxes.clear();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Viewer"));
    }
}

// The packer holds a page to the budget of what comes in, the viewer to the wider limit of what
// the user already has: under a trial slowed past the first, what the packer would refuse the
// viewer still shows, so that whatever was packed near the budget always shows.
TEST_F(ViewerTest, UnderASlowedTrialThePackerRefusesWhatTheViewerStillShows) {
    const page_trial::Limits limits = page_trial::CurrentLimits();
    page_trial::Limits slowed = limits;
    slowed.comingIn = std::chrono::microseconds(1);
    page_trial::SetLimits(slowed);
    page_trial::ForgetVerdicts();
    struct Row {
        const char* what;
        std::string page;
    };
    // Enough to take some milliseconds: a processor clock may advance in ticks.
    const std::string paragraphs = Repeated("<p>A few words of a tip.</p>", 4'000);
    const Row rows[] = {
        {"paragraphs", paragraphs},
        {"a table",
         "<table border=1>" + Repeated("<tr><td>a</td><td>b</td></tr>", 2'000) + "</table>"},
        {"a picture", paragraphs + "<p>Look: <img src=\"{APP.PATH}pic.png\"></p>"},
    };
    const datapack::ProductIdentity product{SystemVars.ProductName, SystemVars.ProductCode,
                                            DataKey};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const fs::path source = packerSource(row.page, "pic.png", pngOf({40, 30}));
        std::string report;
        EXPECT_FALSE(datapack::buildDocument(product, source,
                                             AppPaths::ProgramFolder() / "Packed.dat", report,
                                             mod_Viewer::JudgeDocumentPage));
        EXPECT_NE(report.find("seconds to show"), std::string::npos) << report;

        frm_Viewer* viewer = open(container(
            "Tips.dat", {{"tips.html", BytesOf(row.page)}, {"pic.png", pngOf({40, 30})}}));
        EXPECT_NE(viewer, nullptr);
        if (viewer) viewer->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    page_trial::SetLimits(limits);
    page_trial::ForgetVerdicts();
    boxes.expectNone();
}

TEST_F(ViewerTest, ThePopUpMenuComesOncePerRightClickOrMenuKey) {
    frm_Viewer* viewer = openSample();
    ASSERT_NE(viewer, nullptr);
    QList<QAction*> items = viewer->mnuFile->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "&Print");
    EXPECT_EQ(items[1]->text(), "Print P&review");

    QSignalSpy shown(viewer->mnuFile, &QMenu::aboutToShow);
    const auto expectMenus = [&](int count, int line = __builtin_LINE()) {
        EXPECT_EQ(shown.count(), count) << "line " << line;
        viewer->mnuFile->hide();
        shown.clear();
    };
    QWidget* page = viewer->WebBrowser1->viewport();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(20, 20),
                                 page->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(page, &rightClick);
    expectMenus(1);

    // One key-down each, as the keyboard sends them: a modifier is a key press of its own, and
    // its event, like the platform's, carries the state from before the press.
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(viewer->WebBrowser1, &event);
    };
    press(Qt::Key_F, Qt::ControlModifier);
    expectMenus(0);
    press(Qt::Key_Control, Qt::NoModifier);
    expectMenus(0);
    press(Qt::Key_Down, Qt::NoModifier);
    expectMenus(0);
    press(Qt::Key_P, Qt::ControlModifier);
    expectMenus(1);
    press(Qt::Key_Shift, Qt::NoModifier);
    expectMenus(1);
    press(Qt::Key_A, Qt::ShiftModifier);
    expectMenus(1);
    press(Qt::Key_P, Qt::ShiftModifier | Qt::ControlModifier);
    expectMenus(1);
    // A mouse click sends nothing anywhere.
    QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(5, 5));
    expectMenus(0);
}

TEST_F(ViewerTest, PrintsAndPreviewsThePage) {
    frm_Viewer* viewer = openSample();
    ASSERT_NE(viewer, nullptr);
    const fs::path pdf = folder.path() / "page.pdf";
    const PrintToPdf printing(pdf);
    viewer->Toolbar1->findChild<QAction*>("print")->trigger();
    EXPECT_EQ(printing.printDialogs(), 1);
    EXPECT_GT(fs::file_size(pdf), 500u);

    fs::remove(pdf);
    viewer->mnuPrintPreview->trigger();
    EXPECT_EQ(printing.previews(), 1);
    EXPECT_TRUE(fs::exists(pdf));
}

// A page shown at once on screen whose print would never end (printing lays it out a dozen
// times taller): refused with a message, nothing painted. Each row runs in a bounded child, so
// that a print that freezes fails the row.
TEST_F(ViewerTest, APrintThatWouldNeverEndIsRefusedWithAMessage) {
    struct Row {
        const char* what;
        bool preview;
    };
    const Row rows[] = {{"print", false}, {"print preview", true}};
    std::string page = "<p style=\"line-height:1000px\">";
    for (int k = 0; k < 800; ++k)
        page += "word<br>";
    const fs::path pdf = folder.path() / "page.pdf";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string failure;
        const auto outcome = testsupport::RunBoundedWithQt(
            [&] {
                frm_Viewer viewer;
                viewer.resize(800, 600);
                viewer.show();
                if (viewer.ShowPage(page)) return std::string("not shown on screen");
                const PrintToPdf printing(pdf);
                boxes.queue(platform::kOk);
                if (row.preview)
                    viewer.mnuPrintPreview_Click();
                else
                    viewer.mnuPrint_Click();
                const std::string said = boxes.shown().empty() ? "" : boxes.shown()[0].text;
                boxes.clear();
                const bool painted = fs::exists(pdf) || printing.previews() > 0;
                return (painted ? "painted; " : "not painted; ") + said;
            },
            failure);
        ASSERT_TRUE(outcome) << failure;
        EXPECT_EQ(outcome->rfind("not painted; This cannot be printed:", 0), 0u) << *outcome;
        EXPECT_NE(outcome->find("seconds to show"), std::string::npos) << *outcome;
    }
}

TEST_F(ViewerTest, SeveralViewersLiveSideBySideAndExitClosesOnlyItsOwn) {
    frm_Viewer* first = openSample();
    frm_Viewer* second = openSample();
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->isVisible() && second->isVisible());

    first->Toolbar1->findChild<QAction*>("exit")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(viewers[0].isNull());
    EXPECT_TRUE(second->isVisible());

    // Never below 600 x 200.
    second->resize(100, 50);
    EXPECT_GE(second->width(), 600);
    EXPECT_GE(second->height(), 200);
}

TEST_F(ViewerTest, LinksNeverLeaveTheStoredPage) {
    frm_Viewer* viewer = openSample();
    ASSERT_NE(viewer, nullptr);
    const QString before = viewer->WebBrowser1->toHtml();
    for (const char* link : {"http://example.com/", "file:///etc/passwd", "other.html", "#top"})
        emit viewer->WebBrowser1->anchorClicked(QUrl(QString::fromLatin1(link)));
    EXPECT_EQ(viewer->WebBrowser1->toHtml(), before);
    EXPECT_TRUE(viewer->WebBrowser1->source().isEmpty());
}

TEST_F(ViewerTest, AnInPageLinkScrollsToItsAnchor) {
    std::string page = "<p><a href=\"#end\">To the end</a></p>";
    for (int k = 0; k < 200; ++k)
        page += "<p>Line " + std::to_string(k) + "</p>";
    page += "<p><a name=\"end\"></a>The end</p>";
    frm_Viewer* viewer = open(container("Tips.dat", {{"page.html", BytesOf(page)}}));
    ASSERT_NE(viewer, nullptr);
    QTextBrowser* browser = viewer->WebBrowser1;
    QWidget* shown = browser->viewport();
    const QScrollBar* bar = browser->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);  // taller than the window
    ASSERT_EQ(bar->value(), 0);

    QTextCursor link = browser->document()->find(QStringLiteral("To the end"));
    link.setPosition(link.selectionStart() + 2);
    QTest::mouseClick(shown, Qt::LeftButton, {}, browser->cursorRect(link).center());
    EXPECT_GT(bar->value(), 0);
    const QTextCursor end =
        browser->document()->find(QStringLiteral("The end"), 0, QTextDocument::FindCaseSensitively);
    EXPECT_TRUE(shown->rect().contains(browser->cursorRect(end)));
    EXPECT_TRUE(browser->source().isEmpty());
}

std::set<QString> openViewerTitles() {
    std::set<QString> titles;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<frm_Viewer*>(window) && window->isVisible())
            titles.insert(window->windowTitle());
    }
    return titles;
}

TEST_F(ViewerTest, TheResourcesTabAndTheHelpMenuOpenViewersThatCloseWithTheMainWindow) {
    for (const char* name : {"About.dat", "Guides.dat", "Tips.dat", "Others.dat", "VOZOvi.dat"})
        container(name, {{"page.html", BytesOf(name)}});
    const std::array<std::string, 4> captions = {"About", "Guides", "Tips", "Others"};
    for (std::size_t k = 0; k < captions.size(); ++k)
        SystemVars.SwitchBoardCaptions.at(static_cast<int>(3 * k)) = captions[k];
    QuestionBank = {};
    QuestionStatsTable = {};
    CurrentExam = BlankExam;
    const QPointer<mdi_Main> main = new mdi_Main();
    main->show();
    frm_SwitchBoard* board = frm_SwitchBoard::Find();
    ASSERT_NE(board, nullptr);

    board->SSTab1->setCurrentIndex(frm_SwitchBoard::kResourcesTab);
    board->Command16->click();
    board->Command17->click();
    board->Command18->click();
    board->Command19->click();
    main->mnuVOZOvi->trigger();
    boxes.expectNone();
    EXPECT_EQ(openViewerTitles(),
              (std::set<QString>{"About", "Guides", "Tips", "Others", main->mnuVOZOvi->text()}));
    // Each shows its own page.
    std::set<QString> pages;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<frm_Viewer*>(window))
            pages.insert(viewer->WebBrowser1->toPlainText());
    EXPECT_EQ(pages, (std::set<QString>{"About.dat", "Guides.dat", "Tips.dat", "Others.dat",
                                        "VOZOvi.dat"}));

    boxes.queue(platform::kYes);
    main->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main.isNull());
    EXPECT_TRUE(openViewerTitles().empty());
    EXPECT_FALSE(mod_Forms::IsFormLoaded("frm_Viewer"));
    EXPECT_FALSE(fs::exists(AppPaths::ResourcesTempFolder()));
}

// A viewer takes the main window's place and size, as much of them as the screen holding the
// main window has room for; the offscreen screen is smaller than the main window's own size.
TEST_F(ViewerTest, AViewerOpensWhollyOnTheScreenOfTheMainWindow) {
    container("VOZOvi.dat", {{"page.html", BytesOf("help")}});
    QuestionBank = {};
    QuestionStatsTable = {};
    CurrentExam = BlankExam;
    const QPointer<mdi_Main> main = new mdi_Main();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    const QRect screen = main->screen()->availableGeometry();

    struct Row {
        const char* what;
        QRect placed;
        // The viewer's frame from the main window's and the screen's room.
        std::function<QRect(const QRect& mainFrame)> expected;
    };
    const Row rows[] = {
        {"within the screen",
         {screen.x() + 20, screen.y() + 30, screen.width() - 100, screen.height() / 2},
         [](const QRect& mainFrame) { return mainFrame; }},
        {"placed low",
         {screen.x() + 40, screen.bottom() - 150, screen.width() - 100, screen.height() / 2},
         [&screen](const QRect& mainFrame) {
             return QRect(QPoint(mainFrame.x(), screen.bottom() + 1 - mainFrame.height()),
                          mainFrame.size());
         }},
        {"placed left, above and larger than the screen",
         {screen.x() - 60, screen.y() - 80, screen.width() + 224, screen.height() + 140},
         [&screen](const QRect&) { return screen; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        main->setGeometry(row.placed);
        QApplication::processEvents();
        main->mnuVOZOvi->trigger();
        boxes.expectNone();
        frm_Viewer* viewer = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<frm_Viewer*>(window); shown && shown->isVisible())
                viewer = shown;
        ASSERT_NE(viewer, nullptr);
        viewers.emplace_back(viewer);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
        EXPECT_EQ(viewer->frameGeometry(), row.expected(main->frameGeometry()));
        viewer->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    delete main.data();
}

TEST_F(ViewerTest, EveryShippedDocumentOpensWithItsPictures) {
    std::string report;
    ASSERT_TRUE(datapack::buildDataFolder(fs::path(EXAMSIM_SOURCE_DIR) / "data",
                                          AppPaths::DataFolder(), report,
                                          mod_Viewer::JudgeDocumentPage))
        << report;
    mod_System::LoadSystemVars();
    DataKey = MakeDataKey(SystemVars.DataKeySource).value();
    for (const char* name : {"About.dat", "Guides.dat", "Tips.dat", "Others.dat", "VOZOvi.dat"}) {
        SCOPED_TRACE(name);
        frm_Viewer* viewer = open(AppPaths::ResourcesFolder() / name);
        ASSERT_NE(viewer, nullptr);
        EXPECT_GT(viewer->WebBrowser1->toPlainText().size(), 500);
        const std::vector<QImage> images = ShownImages(*viewer->WebBrowser1);
        EXPECT_FALSE(images.empty());
        for (const QImage& image : images)
            EXPECT_FALSE(image.isNull());
    }
    boxes.expectNone();
}

}  // namespace
