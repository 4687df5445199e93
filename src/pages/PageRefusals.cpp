#include "pages/PageRefusals.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace page_refusals {

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

std::string count(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at != 0 && (digits.size() - at) % 3 == 0) grouped += ',';
        grouped += digits[at];
    }
    return grouped;
}

// To the nearest tenth, but a size just over its bound never reads as the bound.
std::string measuredMegabytes(std::uint64_t bytes, std::uint64_t limit) {
    std::uint64_t tenths = bytes / kMiB * 10 + ((bytes % kMiB) * 10 + kMiB / 2) / kMiB;
    if (bytes > limit) tenths = std::max(tenths, limit * 10 / kMiB + 1);
    return count(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string seconds(std::uint64_t micros) {
    const std::uint64_t tenths = micros / 100'000;
    return count(tenths / 10) + (tenths % 10 != 0 ? "." + std::to_string(tenths % 10) : "");
}

// A note saved, or one a paste would make, does not exist yet.
bool hypothetical(Subject subject) {
    return subject == Subject::kSavedNote || subject == Subject::kNoteWithPaste;
}

std::string subjectWords(Subject subject) {
    switch (subject) {
        case Subject::kPage:
            return "It";
        case Subject::kDocumentPage:
            return "The page";
        case Subject::kNote:
            return "The note";
        case Subject::kNoteFile:
            return "The note's file";
        case Subject::kSavedNote:
            return "Saved with its formatting, the note";
        case Subject::kPaste:
            return "What you pasted";
        case Subject::kNoteWithPaste:
            return "With what you pasted, the note";
    }
    return "It";
}

std::string holderOf(Subject subject) {
    return subject == Subject::kPage || subject == Subject::kDocumentPage ? "a page" : "a note";
}

// "17.3 MB of pictures, more than the 6 MB a note may hold", or without a measure "more than
// 6 MB of pictures, the most a note may hold".
std::string sizeAgainstLimit(const Refusal& refusal, const std::string& what,
                             const std::string& holder) {
    const std::string limit = count(refusal.limit / kMiB) + " MB";
    if (refusal.amount != 0)
        return measuredMegabytes(refusal.amount, refusal.limit) + " MB" + what +
               ", more than the " + limit + " " + holder + " may hold";
    return "more than " + limit + what + ", the most " + holder + " may hold";
}

// What is wrong, said of the subject: "has more than 2,500 pictures".
std::string predicate(const Refusal& refusal, Subject subject) {
    const bool would = hypothetical(subject);
    const auto verb = [would](const char* now, const char* then) {
        return std::string(would ? then : now) + " ";
    };
    const std::string holder = holderOf(subject);
    const std::string limit = count(refusal.limit);
    switch (refusal.cause) {
        case Cause::kTooLarge:
            return verb("is", "would be") + (refusal.amount != 0
                                                 ? sizeAgainstLimit(refusal, "", holder)
                                                 : "larger than " + count(refusal.limit / kMiB) +
                                                       " MB, the most " + holder + " may hold");
        case Cause::kPictureData:
            return verb("holds", "would hold") + sizeAgainstLimit(refusal, " of pictures", holder);
        case Cause::kLinkData:
            return verb("holds", "would hold") +
                   sizeAgainstLimit(refusal, " of data in the addresses of its links", holder);
        case Cause::kPictureAndLinkData:
            return verb("holds", "would hold") +
                   sizeAgainstLimit(
                       refusal, " of pictures and of data in the addresses of its links", holder);
        case Cause::kTooManyParts:
            return verb("has", "would have") +
                   "too many paragraphs and changes of formatting: more than " + limit +
                   ", counting where each begins and where it ends";
        case Cause::kTooManyCells:
            return verb("has", "would have") + "tables of more than " + limit +
                   " cells together, counting a cell once for every column it spans";
        case Cause::kTooManyPictures:
            return verb("has", "would have") + "more than " + limit + " pictures";
        case Cause::kTablesTooDeep:
            return verb("has", "would have") + "tables inside tables more than " + limit +
                   " levels deep";
        case Cause::kNestedTooDeep:
            return verb("has", "would have") +
                   "lists, quotes, tables or formatting inside one another more than " + limit +
                   " levels deep";
        case Cause::kTooSlow:
            return verb("takes", "would take") + "longer than " + seconds(refusal.limit) +
                   " seconds to show";
        case Cause::kTooMuchMemory:
            return verb("needs", "would need") + "more than " + count(refusal.limit / kGiB) +
                   " GB of memory to show";
        case Cause::kCheckLate:
            return "could not be made ready to show within " + seconds(refusal.limit) +
                   " seconds; the computer may be busy";
        case Cause::kCheckerMissing:
            return "cannot be made ready to show: the program that does it, " + refusal.program +
                   ", cannot be started (" + refusal.failure + ")";
        case Cause::kCheckFailed:
            return "could not be made ready to show: the program that does it stopped with an "
                   "error";
    }
    return {};
}

// "a, b or c", capitalised.
std::string oneOf(std::vector<std::string> choices) {
    std::string words = choices.front();
    for (std::size_t k = 1; k < choices.size(); ++k)
        words += (k + 1 == choices.size() ? " or " : ", ") + choices[k];
    words.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(words.front())));
    return words;
}

// What would make a page cheaper to show, naming only what it holds.
std::string cheaper(const Contents& holds, bool formatting, const char* outcome) {
    std::vector<std::string> choices{"shorter text"};
    if (formatting) choices.emplace_back("less formatting");
    if (holds.tables) choices.emplace_back("smaller tables");
    if (holds.pictures) choices.emplace_back("smaller pictures");
    return oneOf(std::move(choices)) + " " + outcome;
}

// What would help.
std::string advice(const Refusal& refusal, Subject subject) {
    const Contents& holds = refusal.holds;
    switch (refusal.cause) {
        case Cause::kTooLarge:
            if (subject == Subject::kNoteFile) return "A smaller file would show.";
            return cheaper(holds, !holds.plainText, "would fit.");
        case Cause::kPictureData:
            return "Fewer or smaller pictures would fit.";
        case Cause::kLinkData:
            return "Shorter links would fit.";
        case Cause::kPictureAndLinkData:
            return "Fewer or smaller pictures, or shorter links, would fit.";
        case Cause::kTooManyParts:
            return holds.tables ? "Fewer lines, less formatting or smaller tables would fit."
                                : "Fewer lines or less formatting would fit.";
        case Cause::kTooManyCells:
            return "Fewer or smaller tables would fit.";
        case Cause::kTooManyPictures:
            return "Fewer pictures would fit.";
        case Cause::kTablesTooDeep:
            return "Fewer tables inside one another would fit.";
        case Cause::kNestedTooDeep:
            return "Fewer levels inside one another would fit.";
        case Cause::kTooSlow:
            return cheaper(holds, !holds.plainText, "would show in time.");
        case Cause::kTooMuchMemory:
            return cheaper(holds, false, "would fit in memory.");
        case Cause::kCheckLate:
            return "Trying again when the computer is less busy may work.";
        case Cause::kCheckerMissing:
            return "Installing the program again would bring it back.";
        case Cause::kCheckFailed:
            return cheaper(holds, !holds.plainText, "may show.");
    }
    return {};
}

}  // namespace

bool Tried(const Refusal& refusal) {
    return refusal.cause != Cause::kCheckLate && refusal.cause != Cause::kCheckerMissing;
}

std::string Reason(const Refusal& refusal, Subject subject) {
    return subjectWords(subject) + " " + predicate(refusal, subject) + ". " +
           advice(refusal, subject);
}

std::string NoteNotShown(std::string_view reason, std::string_view path) {
    return "This note cannot be shown:\n" + std::string(reason) + "\n" + std::string(path) +
           "\nIts file is left as it is.";
}

std::string NoteShownAsText(std::string_view reason, bool cut) {
    return "This note is shown as plain text, read-only, and its file is left as it is. " +
           std::string(reason) +
           (cut ? " Only its beginning is shown; the file holds the rest." : "");
}

std::string DocumentPageNotShown(std::string_view reason, std::string_view path) {
    return "This document's page cannot be shown:\r\n\r\n" + std::string(reason) + "\r\n\r\n" +
           std::string(path);
}

std::string DocumentPageNotShownTitle(std::string_view path) {
    return "Document Not Shown - " + std::string(path);
}

}  // namespace page_refusals
