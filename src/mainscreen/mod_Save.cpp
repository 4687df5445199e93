#include "mainscreen/mod_Save.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>
#include <system_error>
#include <vector>

#include "core/AppPaths.h"
#include "core/ListView.h"
#include "core/SystemVars.h"
#include "core/mod_Helper.h"
#include "core/mod_ListViewSort.h"
#include "exam/CurrentExam.h"
#include "exam/mod_Exam.h"
#include "formats/Windows1252.h"
#include "mainscreen/frm_SwitchBoard.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

namespace fs = std::filesystem;

namespace mod_Save {

namespace {

// Paths are not interface text: they cross to Qt losslessly, whatever the code page.
QString pathToQt(const fs::path& path) {
    return QString::fromStdU16String(path.u16string());
}

fs::path pathFromQt(const QString& text) {
    return fs::path(text.toStdU16String());
}

std::string pathText(const fs::path& path) {
    return formats::PathToWindows1252(path);
}

void setCaption(QLabel* label, const std::string& windows1252) {
    label->setText(platform::toQt(windows1252));
}

bool isSaveFile(const fs::directory_entry& entry) {
    std::error_code ec;
    if (!entry.is_regular_file(ec)) return false;
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".sav" && mod_Helper::FileExists(entry.path());
}

// The *.sav files of the save folder by name; none when the folder is missing or unreadable.
std::vector<fs::path> saveFiles() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(AppPaths::SaveFolder(), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (isSaveFile(*it)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    return files;
}

constexpr int kFileColumn = 1;

// A row's file name in the save folder, as the file system spells it.
fs::path rowFileName(const ListView& list, int row) {
    return pathFromQt(list.cellText(row, kFileColumn));
}

// The file name of the row with the number (its first text, whatever the sort); empty for none.
fs::path listedFileName(const ListView& list, int number) {
    for (int row = 0; row < list.rowCount(); ++row)
        if (list.rowNumber(row) == number) return rowFileName(list, row);
    return {};
}

// Deletes one save; false, after telling the user, when something stands at the path that
// cannot be deleted (a folder, a locked or protected file). Nothing there is no failure.
bool removeSave(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (status.type() == fs::file_type::not_found) return true;
    const bool removable = !ec && status.type() != fs::file_type::directory;
    if (removable && fs::remove(path, ec) && !ec) return true;
    platform::MsgBox("This saved exam could not be deleted:\n\n" + pathText(path),
                     platform::kCritical, SystemVars.SaveTabTexts(save_tab_text::kDeleteCaption));
    return false;
}

void emptyDetails(frm_SwitchBoard& board) {
    board.Text1->clear();
    for (std::size_t k = 1; k <= 6; ++k)
        board.Label6[k]->clear();
    board.Label5[7]->clear();
    board.Label5[8]->clear();
    board.Command5[1]->setEnabled(false);
    board.Command5[2]->setEnabled(false);
}

}  // namespace

void InitSaveTab() {
    frm_SwitchBoard* board = frm_SwitchBoard::Find();
    if (!board) return;
    if (platform::fromQt(board->lbl_Title[1]->text()) !=
        SystemVars.SaveTabTexts(save_tab_text::kTitle))
        SetSaveTabCaptions();
    ListSaveFiles();
    ShowSelectedSave();
}

void SetSaveTabCaptions() {
    frm_SwitchBoard* board = frm_SwitchBoard::Find();
    if (!board) return;
    const auto& texts = SystemVars.SaveTabTexts;
    setCaption(board->lbl_Title[1], texts(save_tab_text::kTitle));
    setCaption(board->Label7, texts(save_tab_text::kCount));
    for (std::size_t k = 0; k < 3; ++k)
        board->Command4[k]->setText(
            platform::toQt(texts(save_tab_text::kFirstListButton + static_cast<int>(k))));
    board->Frame7->setTitle(platform::toQt(texts(save_tab_text::kDetailsFrame)));
    for (std::size_t k = 0; k <= 6; ++k)
        setCaption(board->Label5[k], texts(save_tab_text::kFirstDetail + static_cast<int>(k)));
    board->Label5[7]->clear();
    board->Label5[8]->clear();
    board->Command5[1]->setText(platform::toQt(texts(save_tab_text::kResume)));
    board->Command5[2]->setText(platform::toQt(texts(save_tab_text::kDelete)));
}

void ListSaveFiles() {
    frm_SwitchBoard* board = frm_SwitchBoard::Find();
    if (!board) return;
    ListView& list = *board->ListView3;
    mod_ListViewSort::ResetListViewSort(list);
    list.clearColumns();
    list.addColumn("");
    list.addColumn(SystemVars.SaveTabTexts(save_tab_text::kFileColumn));
    list.clear();

    const std::vector<fs::path> files = saveFiles();
    std::vector<ListRow> rows;
    rows.reserve(files.size());
    for (std::size_t k = 1; k <= files.size(); ++k) {
        const QString name = pathToQt(files[k - 1].filename());
        ListRow row;
        row.Texts = {std::to_string(k), platform::fromQt(name)};
        row.Key = "a" + std::to_string(k);
        rows.push_back(std::move(row));
    }
    list.addRows(rows);
    // The name as the file system spells it, also outside the code page.
    for (int row = 0; row < list.rowCount(); ++row)
        list.setCellText(row, kFileColumn,
                         pathToQt(files[static_cast<std::size_t>(row)].filename()));
    setCaption(board->Label7,
               SystemVars.SaveTabTexts(save_tab_text::kCount) + std::to_string(files.size()));

    const bool any = !files.empty();
    if (any) {
        list.clearSelection();
        list.autoSizeColumn(0, false);
        list.autoSizeColumn(1, true);
    } else {
        list.clearColumns();
    }
    board->Command4[0]->setEnabled(any);
    board->Command4[1]->setEnabled(false);
    board->Command4[2]->setEnabled(false);
    const bool shown = !board->Text1->text().isEmpty();
    board->Command5[1]->setEnabled(shown);
    board->Command5[2]->setEnabled(shown);
}

void ShowSelectedSave() {
    const fs::path shown = ShownSavePath();
    if (!shown.empty()) ShowSaveDetails(0, shown);
}

bool ShowSaveDetails(int index, const fs::path& path) {
    const QPointer<frm_SwitchBoard> board = frm_SwitchBoard::Find();
    if (!board) return false;
    fs::path file = path;
    if (file.empty()) file = AppPaths::SaveFolder() / listedFileName(*board->ListView3, index);

    const bool valid = mod_Exam::LoadSavedExam(file);
    if (!board) return false;
    if (!valid) {
        emptyDetails(*board);
        board->ListView3->clearSelection();
        board->ListView3->setCurrentRow(-1);
        return false;
    }

    const auto& texts = SystemVars.SaveTabTexts;
    board->Text1->setText(pathToQt(file));
    setCaption(board->Label6[1], CurrentExam.Title);
    board->Label6[2]->setText(platform::ShortDateTimeText(CurrentExam.ExamDate));
    std::int16_t minutes = 0;
    const std::string& m = CurrentExam.Minutes;
    std::from_chars(m.data(), m.data() + m.size(), minutes);
    if (minutes == 0) {
        setCaption(board->Label6[3], texts(save_tab_text::kUntimed));
        setCaption(board->Label6[4], texts(save_tab_text::kUntimed));
        board->Label5[7]->clear();
        board->Label5[8]->clear();
    } else {
        setCaption(board->Label6[3], CurrentExam.Minutes);
        setCaption(board->Label5[7],
                   texts(minutes == 1 ? save_tab_text::kMinute : save_tab_text::kMinutes));
        setCaption(board->Label6[4], CurrentExam.RemainingText);
        setCaption(board->Label5[8], texts(save_tab_text::kClockFormat));
    }
    setCaption(board->Label6[5], std::to_string(CurrentExam.Total));
    setCaption(board->Label6[6], std::to_string(CurrentExam.Unanswered));
    board->Command5[1]->setEnabled(true);
    board->Command5[2]->setEnabled(true);
    return true;
}

void DeleteSaveFiles() {
    const int answer =
        platform::MsgBox(SystemVars.SaveTabTexts(save_tab_text::kDeleteCheckedQuestion),
                         platform::kYesNo + platform::kQuestion,
                         SystemVars.SaveTabTexts(save_tab_text::kDeleteCaption));
    const QPointer<frm_SwitchBoard> board = frm_SwitchBoard::Find();
    if (answer != platform::kYes || !board) return;
    std::vector<fs::path> checked;
    const ListView& list = *board->ListView3;
    for (int row = 0; row < list.rowCount(); ++row)
        if (list.isChecked(row)) checked.push_back(AppPaths::SaveFolder() / rowFileName(list, row));
    for (const fs::path& file : checked) {
        removeSave(file);
        if (!board) return;
        ClearSaveDetails();
    }
    if (!checked.empty()) ListSaveFiles();
}

void DeleteShownSave() {
    const fs::path shown = ShownSavePath();
    const int answer = platform::MsgBox(
        SystemVars.SaveTabTexts(save_tab_text::kDeleteOneQuestion) + pathText(shown),
        platform::kYesNo + platform::kQuestion,
        SystemVars.SaveTabTexts(save_tab_text::kDeleteCaption));
    if (answer != platform::kYes) return;
    removeSave(shown);
    ListSaveFiles();
    ClearSaveDetails();
}

void ClearSaveDetails() {
    if (frm_SwitchBoard* board = frm_SwitchBoard::Find()) emptyDetails(*board);
}

fs::path ShownSavePath() {
    const frm_SwitchBoard* board = frm_SwitchBoard::Find();
    return board ? pathFromQt(board->Text1->text()) : fs::path();
}

}  // namespace mod_Save
