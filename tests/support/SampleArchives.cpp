#include "support/SampleArchives.h"

#include "core/AppPaths.h"
#include "core/DataKey.h"
#include "core/cls_RCFile.h"
#include "core/mod_Question.h"
#include "core/mod_System.h"
#include "support/TempProgramFolder.h"

namespace testsupport {

SystemVarsRecord MinimalSystemVars() {
    SystemVarsRecord record;
    record.ProductName = "TestPrep";
    record.ProductCode = "TP-1";
    record.TitleSuffix = "Simulator";
    record.SupportEmail = "help@test.example";
    record.DataKeySource = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return record;
}

std::string KeyOf(const SystemVarsRecord& record) {
    return MakeDataKey(record.DataKeySource).value_or("");
}

formats::Bytes Archive(const ArchiveFiles& files) {
    return cls_RCFile().BuildArchive(files).value();
}

formats::Bytes BytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

void WriteSystemDat(const SystemVarsRecord& record, const ArchiveFiles& images) {
    ArchiveFiles files{{"sysvars.dat", mod_System::WriteSystemVars(record)}};
    files.insert(files.end(), images.begin(), images.end());
    WriteFile(AppPaths::SystemDat(), Archive(files));
}

std::string Question(int id, int group, std::string_view topic, int level, int type,
                     std::string_view text, std::string_view choices) {
    const std::string fields[] = {std::to_string(id),
                                  std::to_string(group),
                                  std::string(topic),
                                  std::to_string(level),
                                  std::to_string(type),
                                  "0",
                                  std::string(text),
                                  "Because.",
                                  "",
                                  "",
                                  std::string(choices)};
    std::string q;
    for (const auto& field : fields)
        q += (q.empty() ? "" : "\x1F") + field;
    return q;
}

std::string JoinQuestions(const std::vector<std::string>& questions) {
    std::string db;
    for (std::size_t i = 0; i < questions.size(); ++i)
        db += (i ? "\x1E" : "") + questions[i];
    return db;
}

void WriteDataDat(const SystemVarsRecord& record, const std::string& questionsDb,
                  const ArchiveFiles& pictures) {
    ArchiveFiles files{{"header.dat", BytesOf(mod_Question::DataDigest(
                                          record.ProductName, record.ProductCode, KeyOf(record)))},
                       {"questions.db", BytesOf(questionsDb)}};
    files.insert(files.end(), pictures.begin(), pictures.end());
    WriteFile(AppPaths::DataDat(), Archive(files));
}

void WriteValidSampleData() {
    const auto record = MinimalSystemVars();
    WriteSystemDat(record);
    WriteDataDat(record, JoinQuestions({Question(1, 11, "Routing"), Question(2, 51, "Switching"),
                                        Question(3, 52, "Routing")}));
}

}  // namespace testsupport
