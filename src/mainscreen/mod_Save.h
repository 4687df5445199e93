#pragma once

#include <filesystem>

// The saved-exams tab (tab 2) of the main screen: lists the *.sav files of Data/Save,
// shows one save's details (which loads it into CurrentExam) and deletes saves. Every
// operation works on the loaded main screen and does nothing without one.
namespace mod_Save {

// Captions on the first entry since the main screen was loaded, the list, then the save
// shown before, read again.
void InitSaveTab();
void SetSaveTabCaptions();
void ListSaveFiles();
void ShowSelectedSave();

// Reads a save into CurrentExam and shows its details; a save that cannot be read gets
// the bad-file message and empty details. An empty path means the file of the list row
// numbered `index` (whatever the sort order). True when the save was shown.
bool ShowSaveDetails(int index, const std::filesystem::path& path = {});

// Deletes the checked saves after asking; each one that cannot be deleted is reported.
void DeleteSaveFiles();
// Deletes the save shown in the details after asking.
void DeleteShownSave();
void ClearSaveDetails();

// The file of the save whose details are shown (the path box); empty when none.
std::filesystem::path ShownSavePath();

}  // namespace mod_Save
