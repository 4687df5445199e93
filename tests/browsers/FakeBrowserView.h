#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "browsers/BrowserView.h"
#include "browsers/NoteSlot.h"

namespace testsupport {

// Records what a question view was told to show.
struct FakeBrowserView : browsers::BrowserView {
    browsers::BrowserCaptions captions;
    int jumpCount = -1;
    int jumpClears = 0;
    std::string pageCaption;
    bool previousEnabled = false;
    bool nextEnabled = false;
    std::string text;  // "" once no question is shown
    int renders = 0;
    bool answersBox = false;
    std::optional<bool> bookmarkBox;
    int listFills = 0;
    std::vector<std::string> headers;
    std::size_t rows = 0;
    bool questionPage = false;

    void SetCaptions(const browsers::BrowserCaptions& c) override { captions = c; }
    void FillJumpList(int count) override { jumpCount = count; }
    void ClearJumpText() override { ++jumpClears; }
    void SetPageCaption(const std::string& caption) override { pageCaption = caption; }
    void SetStepButtons(bool previous, bool next) override {
        previousEnabled = previous;
        nextEnabled = next;
    }
    void ShowQuestion(const browsers::RenderedQuestion& page) override {
        text = page.Text;
        ++renders;
    }
    void ShowNoQuestion() override { text.clear(); }
    void SetAnswersBox(bool ticked) override { answersBox = ticked; }
    void SetBookmarkBox(bool ticked) override { bookmarkBox = ticked; }
    void ShowQuestionPage() override { questionPage = true; }
    void FillList(const std::vector<std::string>& h, std::size_t count) override {
        headers = h;
        rows = count;
        ++listFills;
    }

    [[nodiscard]] bool Shows(std::int32_t id) const {
        return text.find("\r\nText " + std::to_string(id) + "\r\n") != std::string::npos;
    }
};

// Records the order of note loads and saves, as "load 3" and "save 3"; saves fail while
// `failing` is set, as on a full disk.
struct RecordingNotes : browsers::NoteSlot {
    std::vector<std::string> calls;
    bool failing = false;
    void Load(std::int32_t id) override { calls.push_back("load " + std::to_string(id)); }
    bool Save(std::int32_t id, mod_MyNotes::Leaving) override {
        calls.push_back("save " + std::to_string(id));
        return !failing;
    }
    std::vector<std::string> Take() { return std::exchange(calls, {}); }
};

}  // namespace testsupport
