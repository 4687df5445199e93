#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <string_view>

// One tooltip over one control: an optional title line (bold, with an optional icon) and a text,
// both plain text (Windows-1252). Callers set ParentControl, Style, Title, TipText, then Create.
// The tip shows while the mouse rests on the control: after DelayTime ms, for at most
// VisibleTime ms, wrapped at TipWidth pixels. Create applies 100, 10000 and 800. Over a list
// the tip is the row's under the pointer at Create, and shows only while the pointer is on it.
class cls_ToolTipText {
public:
    cls_ToolTipText();
    ~cls_ToolTipText();
    cls_ToolTipText(const cls_ToolTipText&) = delete;
    cls_ToolTipText& operator=(const cls_ToolTipText&) = delete;

    // Style, Centered and ParentControl take effect at the next Create.
    void Style(int style);  // 0 rectangle, 1 balloon
    [[nodiscard]] int Style() const { return style_; }
    void Centered(bool centered);  // tip centred below the control instead of at the pointer
    [[nodiscard]] bool Centered() const { return centered_; }
    void ParentControl(QWidget* control);
    [[nodiscard]] QWidget* ParentControl() const { return parent_; }

    // Replaces the tip (there is never more than one); without ParentControl there is none.
    void Create();

    // 0 none, 1 information, 2 warning, 3 error. With Title, updates a live tip's title only when
    // both are set (a title alone shows only through Create).
    void Icon(int icon);
    [[nodiscard]] int Icon() const { return icon_; }
    void Title(std::string_view title);
    [[nodiscard]] const std::string& Title() const { return title_; }
    // Black (the platform's colour 0) or an invalid colour means the default tooltip colour.
    void ForeColor(const QColor& colour);
    [[nodiscard]] QColor ForeColor() const { return foreColor_; }
    void BackColor(const QColor& colour);
    [[nodiscard]] QColor BackColor() const { return backColor_; }
    // A tip with an empty text does not show.
    void TipText(std::string_view text);
    [[nodiscard]] const std::string& TipText() const { return text_; }

    // Not stored: they go to the live tip only; the reads give the live tip's value, 0 without.
    void VisibleTime(int milliseconds);
    [[nodiscard]] int VisibleTime() const;
    void DelayTime(int milliseconds);
    [[nodiscard]] int DelayTime() const;
    void TipWidth(int pixels);
    [[nodiscard]] int TipWidth() const;

    // The live tip as the user sees it.
    [[nodiscard]] bool hasTip() const { return tip_ != nullptr; }
    [[nodiscard]] bool isShowing() const;
    [[nodiscard]] std::string shownTitle() const;  // empty while the title line is hidden
    [[nodiscard]] std::string shownText() const;
    [[nodiscard]] const QWidget* tipWindow() const;

private:
    class Tip;

    std::unique_ptr<Tip> tip_;
    int style_ = 0;
    bool centered_ = false;
    QPointer<QWidget> parent_;
    int icon_ = 0;
    QColor foreColor_ = Qt::black;
    QColor backColor_ = Qt::black;
    std::string title_;
    std::string text_;
};
