#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/SystemVars.h"
#include "formats/Bytes.h"

namespace testsupport {

// A small record with the fields start-up needs; its key source gives KeyOf(record).
SystemVarsRecord MinimalSystemVars();
std::string KeyOf(const SystemVarsRecord& record);

using ArchiveFiles = std::vector<std::pair<std::string, formats::Bytes>>;
formats::Bytes Archive(const ArchiveFiles& files);
formats::Bytes BytesOf(std::string_view text);

// Data/System.dat of the record followed by `images`.
void WriteSystemDat(const SystemVarsRecord& record, const ArchiveFiles& images = {});

// One questions.db record: fields joined by character 31.
std::string Question(int id, int group, std::string_view topic, int level = 1, int type = 1,
                     std::string_view text = "Question?",
                     std::string_view choices = "1<f><f>A<f>yes<c>0<f><f>B<f>no");
std::string JoinQuestions(const std::vector<std::string>& questions);

// Data/Data.dat with header.dat (the right digest for `record`), questions.db and pictures.
void WriteDataDat(const SystemVarsRecord& record, const std::string& questionsDb,
                  const ArchiveFiles& pictures = {});

// Both archives of a valid three-question bank.
void WriteValidSampleData();

}  // namespace testsupport
