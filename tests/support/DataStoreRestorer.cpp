#include "support/DataStoreRestorer.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/AbortFlag.h"
#include "core/DataKey.h"
#include "core/ImageStore.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "core/mod_User.h"

namespace testsupport {

namespace {

struct DataStore {
    SystemVarsRecord systemVars = SystemVars;
    decltype(ImageStore) images = ImageStore;
    std::string dataKey = DataKey;
    UserSettingsRecord userSettings = UserSettings;
    std::vector<QuestionRecord> bank = QuestionBank;
    std::optional<std::vector<QuestionRecord>> bankBackup = QuestionBankBackup;
    std::vector<AttachedFile> pictures = QuestionPictures;
    std::vector<std::string> objectives = ObjectiveNames;
    std::vector<std::int16_t> practiceGroups = PracticeGroups;
    std::vector<QuestionStats> stats = QuestionStatsTable;
    bool abort = AbortFlag;

    void restore() const {
        SystemVars = systemVars;
        ImageStore = images;
        DataKey = dataKey;
        UserSettings = userSettings;
        QuestionBank = bank;
        QuestionBankBackup = bankBackup;
        QuestionPictures = pictures;
        ObjectiveNames = objectives;
        PracticeGroups = practiceGroups;
        QuestionStatsTable = stats;
        AbortFlag = abort;
    }
};

class DataStoreRestorer : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { kept_.emplace(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        if (kept_) kept_->restore();
        kept_.reset();
    }

    std::optional<DataStore> kept_;
};

}  // namespace

void RestoreDataStoreAfterEachTest() {
    // GoogleTest owns its listeners.
    ::testing::UnitTest::GetInstance()->listeners().Append(new DataStoreRestorer);
}

}  // namespace testsupport
