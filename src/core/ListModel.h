#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ListView.h"

// The rows of one ListView, packed so that a list of many thousand rows costs a few bytes per
// row plus its own texts: every given text sits in one buffer, icons are shared, and the
// columns of a text source are read from it when asked. Qt values are made only for the cells
// the view asks about.
class ListModel : public QAbstractTableModel {
public:
    explicit ListModel(QObject* parent) : QAbstractTableModel(parent) {}

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;

    void clearColumns();
    void addColumn(const QString& header);
    void setTextSource(std::vector<int> columns, ListView::TextSource source);

    // Rows are staged one by one (their texts packed at once), then shown together.
    void stageRow(const ListRow& row, bool withCheckBox);
    void showStagedRows();
    void clearRows();

    // The cell's Windows-1252 text; borrowed texts are valid until their source changes.
    [[nodiscard]] std::string_view text(int row, int column) const;
    [[nodiscard]] std::string_view key(int row) const;
    // Rows whose cells in the column have the longest texts, at most `count` of them; past the
    // first column one row for each distinct text.
    [[nodiscard]] std::vector<int> longestCells(int column, std::size_t count) const;
    // At most maxLength characters of it, all with -1.
    [[nodiscard]] QString shownText(int row, int column, qsizetype maxLength = -1) const;
    void setShownText(int row, int column, const QString& text);
    // The present rows in case-insensitive order of the column's shown texts: folded as
    // QString::toCaseFolded folds, compared unit by unit as QString compares; equal texts keep
    // their order. order[i] is the present index of row i.
    [[nodiscard]] std::vector<int> textOrder(int column, bool ascending) const;

    [[nodiscard]] std::optional<Qt::CheckState> checkState(int row) const;
    void setCheckState(int row, Qt::CheckState state);
    void setIcon(int row, const QIcon& icon);

    // order[i] is the present index of new row i; persistent indexes follow their rows.
    void reorder(const std::vector<int>& order);

private:
    struct Row {
        std::uint32_t firstCell = 0;  // its texts, then its key, in cellStarts_
        std::uint16_t texts = 0;
        std::int8_t check = -1;  // a Qt::CheckState, -1 without a check box
        std::uint32_t icon = 0;  // 0 none, else icons_[icon - 1]
        std::int32_t source = 0;
        std::int32_t shown = -1;  // its entry in shownTexts_, -1 none
    };
    using ShownTexts = std::vector<std::pair<int, QString>>;

    [[nodiscard]] bool inRange(int row) const;
    [[nodiscard]] bool isBorrowed(int column) const;
    [[nodiscard]] bool hasText(const Row& row, int column) const;
    // `borrowed`: whether the column reads the text source (asked once by callers of many rows).
    [[nodiscard]] std::string_view rowText(const Row& row, int column, bool borrowed) const;
    [[nodiscard]] std::string_view cell(std::size_t index) const;
    void appendCell(std::string_view text);
    [[nodiscard]] const QString* shownOverride(const Row& row, int column) const;
    [[nodiscard]] std::u16string foldedText(int row, int column) const;
    [[nodiscard]] std::uint32_t iconSlot(const QIcon& icon);

    std::vector<QString> headers_;
    std::vector<Row> rows_;
    std::vector<Row> staged_;
    std::string texts_;
    std::vector<std::uint32_t> cellStarts_{0};
    std::vector<QIcon> icons_;
    std::vector<ShownTexts> shownTexts_;
    std::vector<int> borrowedColumns_;
    ListView::TextSource source_;
};
