// Writes the seed corpora with the program's own writers: make-fuzz-seeds FOLDER puts one
// folder per fuzz target under FOLDER. The regression inputs (files once found to crash or
// misread) are written beside the seeds.
#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "DocumentScene.h"
#include "FuzzSupport.h"
#include "browsers/ResourceDocument.h"
#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/cls_RCFile.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "core/mod_User.h"
#include "evaluation/mod_Performance.h"
#include "exam/ExamRecordIo.h"
#include "formats/FileIo.h"
#include "mainscreen/CustomExamFile.h"
#include "notes/mod_MyNotes.h"

namespace {

std::filesystem::path corpus;

void seed(const std::string& target, const std::string& name, const formats::Bytes& bytes) {
    if (!formats::WriteFileReplacing(corpus / target / name, bytes))
        std::fprintf(stderr, "cannot write %s/%s\n", target.c_str(), name.c_str());
}

formats::Bytes bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// The bytes a writer left at `path`.
formats::Bytes written(const std::filesystem::path& path) {
    return formats::ReadFileBytes(path).value_or(formats::Bytes{});
}

std::string questionText(int id, int group, std::string_view choices) {
    std::string q = std::to_string(id) + "\x1F" + std::to_string(group) +
                    "\x1FRouting\x1F"
                    "1\x1F"
                    "1\x1F"
                    "0\x1FWhich one?\x1F"
                    "Because.\x1F\x1F\x1F";
    return q.append(choices);
}

void archives() {
    cls_RCFile archive;
    seed("archive", "two-entries",
         *archive.BuildArchive({{"header.dat", bytesOf("0123456789ABCDEF")},
                                {"questions.db", bytesOf(questionText(1, 51, "1<f><f>A<f>x"))}}));
    seed("archive", "empty", *archive.BuildArchive({}));
}

void systemTexts() {
    SystemVarsRecord record;
    record.ProductName = "Fuzz";
    record.ProductCode = "FZ-1";
    record.DataKeySource = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    record.SupportEmail = "help@example.test";
    const formats::Bytes bytes = mod_System::WriteSystemVars(record);
    seed("system_texts", "record", bytes);
    // One bit flipped in the key source: another key, every user file judged by it.
    formats::Bytes flipped = bytes;
    flipped[flipped.size() / 2] ^= 0x04;
    seed("system_texts", "regression-flipped-bit", flipped);
}

void banks() {
    const std::string choices = "1<f><f>A<f>yes<c>0<f><f>B<f>no";
    std::string bank = questionText(1, 51, choices) + "\x1E" + questionText(2, 11, choices);
    seed("question_bank", "two-questions", bytesOf(bank + std::string(1, '\0')));
    // A NUL flipped into the first question once cut the bank short silently.
    bank[bank.find('\x1E') - 3] = '\0';
    seed("question_bank", "regression-nul-inside", bytesOf(bank));
}

void signedFiles() {
    formats::BinaryWriter body;
    body.writeStringList(std::vector<std::string>{"one", "two"});
    const auto path = AppPaths::DataFolder() / "signed.dat";
    if (mod_System::WriteSignedFile(path, "", body)) seed("signed_file", "list", written(path));
}

void config() {
    UserSettings = {};
    UserSettings.SkipStopTimerConfirm = true;
    if (mod_User::SaveConfig()) seed("config", "settings", written(AppPaths::ConfigDat()));
}

CurrentExamRecord sampleExam() {
    CurrentExamRecord exam;
    exam.Title = "Practice";
    exam.Minutes = "10";
    exam.RemainingText = "00:09:00";
    exam.ElapsedText = "00:01:00";
    exam.ExamDate = 46000.5;
    exam.Groups = std::vector<std::int16_t>{51};
    exam.Objectives = std::vector<ObjectiveCount>{{true, "Routing", 1, 0, 0}};
    exam.Questions = std::vector<QuestionState>{
        {1, std::vector<std::string>{"A"}, std::vector<std::string>{"A"}, false},
        {2, std::vector<std::string>{"A"}, std::nullopt, true}};
    return exam;
}

void storedExams() {
    const auto path = AppPaths::SaveFolder() / "seed.sav";
    if (exam::WriteExamFile(path, sampleExam())) seed("stored_exam", "exam", written(path));
    // Dates outside any calendar were once converted to integers (undefined behaviour).
    CurrentExamRecord nanDate = sampleExam();
    nanDate.ExamDate = std::numeric_limits<double>::quiet_NaN();
    if (exam::WriteExamFile(path, nanDate))
        seed("stored_exam", "regression-nan-date", written(path));
}

void customExams() {
    CustomExam record;
    record.Code = 21;
    record.Groups = std::vector<std::int16_t>{21};
    record.Objectives = std::vector<ObjectiveCount>{{true, "Routing", 2, 0, 1}};
    record.Save = true;
    CustomExamTable = {record};
    if (CustomExamFile::WriteCustomExamFile())
        seed("custom_exams", "one-record", written(AppPaths::CustomDat()));
    // One more than this count, times the smallest record size (38 bytes), wrapped to 2 in
    // 64 bits: it passed the size check, and reserving that many records aborted the program.
    formats::BinaryWriter body;
    CustomExamFile::WriteRecord(body, record);
    if (mod_System::WriteSignedFile(AppPaths::CustomDat(), "485440633518672410", body))
        seed("custom_exams", "regression-wrapping-count", written(AppPaths::CustomDat()));
    CustomExamTable.clear();
}

void historyIndex() {
    mod_Performance::InitPerformancePaths();
    PerformanceSummary summary;
    summary.FilePath = (mod_Performance::PerformanceDir / "0123").string();
    summary.Title = "Practice";
    summary.ExamDate = 46000.5;
    summary.SavedAt = 46000.6;
    summary.ElapsedText = "00:01:00";
    summary.Groups = std::vector<std::int16_t>{51};
    summary.Total = 2;
    summary.Correct = 1;
    summary.Wrong = 1;
    summary.PercentText = "50";
    const auto write = [](const std::string& name, const std::vector<PerformanceSummary>& list) {
        formats::BinaryWriter body;
        for (const PerformanceSummary& s : list)
            mod_Performance::WriteSummary(body, s);
        if (mod_System::WriteSignedFile(mod_Performance::PerformanceIndexPath,
                                        std::to_string(list.size() - 1), body))
            seed("history_index", name, written(mod_Performance::PerformanceIndexPath));
    };
    write("one-record", {summary});
    PerformanceSummary infinite = summary;
    infinite.ExamDate = std::numeric_limits<double>::infinity();
    infinite.SavedAt = -1e300;
    write("regression-dates-beyond-calendars", {summary, infinite});
}

// Each scene of what stands in the temporary folder's place, with the container of a
// document unpacked as Guides.dat.
void documents() {
    cls_RCFile archive;
    const auto header = [](const std::string& name) {
        return std::pair<std::string, formats::Bytes>(
            "header.dat", bytesOf(mod_Viewer::DocumentDigest(
                              SystemVars.ProductName, SystemVars.ProductCode, DataKey, name)));
    };
    const auto madeFor = [&](const std::string& name) {
        return *archive.BuildArchive({header(name),
                                      {"pic.png", bytesOf("picture")},
                                      {"more.png", bytesOf("more")},
                                      {"guides.html", bytesOf("<img src=\"{APP.PATH}pic.png\">")}});
    };
    const auto scene = [](std::uint8_t first, formats::Bytes container) {
        container.insert(container.begin(), first);
        return container;
    };
    using namespace documentscene;
    const formats::Bytes guides = madeFor("Guides.dat");
    seed("document", "fresh", scene(kAbsent, guides));
    seed("document", "over-an-earlier-one", scene(kRealFolder, guides));
    seed("document", "link-in-the-folders-place", scene(kLinkToAFolder, guides));
    seed("document", "plain-file-in-the-folders-place", scene(kPlainFile, guides));
    seed("document", "links-named-like-entries", scene(kLinksInside, guides));
    seed("document", "other-names-of-a-user-file", scene(kHardLinksInside, guides));
    seed("document", "past-the-ceiling", scene(kPastTheCeiling | kLinkToAFolder, guides));
    seed("document", "made-for-another-name", scene(kLinksInside, madeFor("Tips.dat")));
    // Nothing to unpack: what stands in the folder's place once went all the same.
    const formats::Bytes headerOnly = *archive.BuildArchive({header("Guides.dat")});
    seed("document", "regression-header-only-over-a-plain-file", scene(kPlainFile, headerOnly));
    seed("document", "regression-header-only-over-a-link", scene(kLinkToAFolder, headerOnly));
}

// A picture as Qt's writer for `format` writes it; a progressive JPEG takes several scans.
formats::Bytes encoded(const QImage& image, const char* format, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        std::fprintf(stderr, "cannot write a %s picture: %s\n", format,
                     writer.errorString().toLocal8Bit().constData());
    return {bytes.begin(), bytes.end()};
}

QImage gradient(int width, int height, QImage::Format format) {
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor(x * 255 / width, y * 255 / height, 128, 96 + x));
    return image;
}

void appendLittleEndian(formats::Bytes& bytes, std::uint32_t value, int size) {
    for (int k = 0; k < size; ++k)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

// A GIF of one frame in four colours after a graphic control extension, its codes all literals
// (a clear code before every pair keeps them three bits wide); with a colour table of its own
// when `localTable`. The frame may reach past the screen.
formats::Bytes gif(QSize screen, QRect frame, bool localTable) {
    const formats::Bytes colours{0, 0, 0, 255, 0, 0, 0, 255, 0, 255, 255, 255};
    formats::Bytes bytes = bytesOf("GIF89a");
    appendLittleEndian(bytes, screen.width(), 2);
    appendLittleEndian(bytes, screen.height(), 2);
    bytes.insert(bytes.end(), {0x91, 0, 0});
    bytes.insert(bytes.end(), colours.begin(), colours.end());
    bytes.insert(bytes.end(), {0x21, 0xf9, 4, 0, 10, 0, 0, 0});
    bytes.push_back(',');
    for (const int value : {frame.x(), frame.y(), frame.width(), frame.height()})
        appendLittleEndian(bytes, value, 2);
    bytes.push_back(localTable ? 0x81 : 0);
    if (localTable) bytes.insert(bytes.end(), colours.rbegin(), colours.rend());
    constexpr std::uint32_t kClear = 4;
    constexpr std::uint32_t kEnd = 5;
    formats::Bytes codes;
    std::uint32_t bits = 0;
    int held = 0;
    const auto code = [&](std::uint32_t value) {
        bits |= value << held;
        for (held += 3; held >= 8; held -= 8, bits >>= 8)
            codes.push_back(static_cast<std::uint8_t>(bits));
    };
    for (int pixel = 0; pixel < frame.width() * frame.height(); ++pixel) {
        if (pixel % 2 == 0) code(kClear);
        code(static_cast<std::uint32_t>(pixel % 4));
    }
    code(kEnd);
    if (held > 0) codes.push_back(static_cast<std::uint8_t>(bits));
    bytes.push_back(2);
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, codes.size() - at);
        bytes.push_back(static_cast<std::uint8_t>(length));
        bytes.insert(bytes.end(), codes.begin() + static_cast<std::ptrdiff_t>(at),
                     codes.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    bytes.insert(bytes.end(), {0, ';'});
    return bytes;
}

// An 8 x 4 bitmap in four colours, run-length coded (Qt writes only plain bitmaps).
formats::Bytes runLengthBmp() {
    formats::Bytes runs;
    for (int row = 0; row < 4; ++row)
        runs.insert(runs.end(), {3, static_cast<std::uint8_t>(row % 4), 5, 2, 0, 0});
    runs.insert(runs.end(), {0, 1});
    constexpr std::uint32_t kPixelsAt = 14 + 40 + 4 * 4;
    formats::Bytes bytes = bytesOf("BM");
    appendLittleEndian(bytes, kPixelsAt + static_cast<std::uint32_t>(runs.size()), 4);
    appendLittleEndian(bytes, 0, 4);
    appendLittleEndian(bytes, kPixelsAt, 4);
    // Its header's size, width, height, planes, bits a pixel, run-length coding, data size,
    // resolutions and colours, each with its size in bytes.
    const std::array<std::pair<std::uint32_t, int>, 11> header{
        {{40, 4},
         {8, 4},
         {4, 4},
         {1, 2},
         {8, 2},
         {1, 4},
         {static_cast<std::uint32_t>(runs.size()), 4},
         {0, 4},
         {0, 4},
         {4, 4},
         {0, 4}}};
    for (const auto& [value, size] : header)
        appendLittleEndian(bytes, value, size);
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 255, 255, 0});
    bytes.insert(bytes.end(), runs.begin(), runs.end());
    return bytes;
}

// One of each picture format a page may show, in the forms that cost differently to decode.
void pictures() {
    const QImage colours = gradient(24, 16, QImage::Format_ARGB32);
    seed("pictures", "png-rgb", encoded(colours.convertToFormat(QImage::Format_RGB32), "png"));
    seed("pictures", "png-16-bit-alpha",
         encoded(colours.convertToFormat(QImage::Format_RGBA64), "png"));
    seed("pictures", "png-palette",
         encoded(colours.convertToFormat(QImage::Format_Indexed8), "png"));
    QImage commented = colours;
    commented.setText(QStringLiteral("Comment"), QString(2000, QLatin1Char('c')));
    commented.setText(QStringLiteral("Title"), QStringLiteral("\u03a9 international"));
    const formats::Bytes withText = encoded(commented, "png");
    seed("pictures", "png-with-text", withText);
    // A comment declaring 1.6 GiB in a file of 219 bytes: Qt's reader took that much memory.
    formats::Bytes declaredPastTheEnd = withText;
    const std::string_view chunks(reinterpret_cast<const char*>(withText.data()), withText.size());
    const auto length = static_cast<std::ptrdiff_t>(chunks.find("zTXt") - 4);
    const std::array<std::uint8_t, 4> declared{0x69, 0, 0, 0};
    std::copy(declared.begin(), declared.end(), declaredPastTheEnd.begin() + length);
    seed("pictures", "regression-comment-declared-past-the-end", declaredPastTheEnd);
    // A plain comment as large after the header: the page's judge once counted only compressed
    // ones.
    formats::Bytes plainPastTheEnd = encoded(colours.convertToFormat(QImage::Format_RGB32), "png");
    const formats::Bytes plain{0x69, 0,   0,   0,   't', 'E', 'X', 't', 'C', 'o', 'm',
                               'm',  'e', 'n', 't', 0,   'h', 'e', 'l', 'l', 'o'};
    plainPastTheEnd.insert(plainPastTheEnd.begin() + 33, plain.begin(), plain.end());
    seed("pictures", "regression-text-declared-past-the-end", plainPastTheEnd);
    seed("pictures", "jpeg-baseline", encoded(colours, "jpeg"));
    seed("pictures", "jpeg-progressive", encoded(colours, "jpeg", true));
    seed("pictures", "bmp-24-bit", encoded(colours.convertToFormat(QImage::Format_RGB888), "bmp"));
    seed("pictures", "bmp-palette",
         encoded(colours.convertToFormat(QImage::Format_Indexed8), "bmp"));
    seed("pictures", "bmp-run-length", runLengthBmp());
    seed("pictures", "gif-frame-inside-screen", gif(QSize(12, 8), QRect(2, 1, 6, 5), false));
    seed("pictures", "gif-frame-past-screen", gif(QSize(4, 4), QRect(3, 2, 7, 6), true));
}

void notes() {
    seed("notes", "default-page", bytesOf(mod_MyNotes::DefaultNotePage()));
    // A note as the editor writes it, and cut short at the points where a crash or a full
    // disk once left notes that showed nothing.
    const std::string written = mod_MyNotes::NoteFileText(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
        "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n<html><head><meta name=\"qrichtext\" "
        "content=\"1\" /><meta charset=\"utf-8\" /><style type=\"text/css\">\np, li { "
        "white-space: pre-wrap; }\nhr { height: 1px; border-width: 0; }\n</style></head><body "
        "style=\" font-family:'Sans Serif'; font-size:9pt; font-weight:400; "
        "font-style:normal;\">\n<p style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; "
        "margin-right:0px; -qt-block-indent:0; text-indent:0px;\">a note &#937; \x80 the user "
        "wrote</p></body></html>");
    seed("notes", "written", bytesOf(written));
    for (const std::size_t cut : {0, 1, 50, 200, 400, 514})
        seed("notes", "regression-cut-" + std::to_string(cut), bytesOf(written.substr(0, cut)));
    seed("notes", "regression-title-only",
         bytesOf("<html><head><title>only a title</title></head></html>"));
    seed("notes", "regression-comment-only",
         bytesOf("<html><body><!-- only a comment --></body></html>"));
    // Pictures that once made the editor read a device without end.
    seed("notes", "regression-picture-device",
         bytesOf("<html><body><p>x</p><img src=\"/dev/zero\"></body></html>"));
    seed("notes", "regression-picture-leaving-the-folder",
         bytesOf("<html><body><img src=\"../../../../dev/zero\"><img "
                 "src=\"http://example.com/a.png\"></body></html>"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds FOLDER\n");
        return 2;
    }
    corpus = std::filesystem::absolute(argv[1]);
    fuzzsupport::PrepareProgram();
    archives();
    systemTexts();
    banks();
    signedFiles();
    config();
    storedExams();
    customExams();
    historyIndex();
    notes();
    documents();
    pictures();
    return 0;
}
