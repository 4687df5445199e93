#include "core/ListView.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <charconv>
#include <unordered_set>
#include <utility>

#include "core/ListModel.h"
#include "core/OwnIcons.h"
#include "platform/TextCodec.h"

namespace {

// The platform header puts a column's image to the right of its text.
class SortArrowHeader : public QHeaderView {
public:
    explicit SortArrowHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

    void setImage(int column, int imageIndex) {
        if (column < 0) return;
        if (static_cast<std::size_t>(column) >= images_.size())
            images_.resize(static_cast<std::size_t>(column) + 1, -1);
        images_[static_cast<std::size_t>(column)] = imageIndex;
        viewport()->update();
    }

    [[nodiscard]] int image(int column) const {
        if (column < 0 || static_cast<std::size_t>(column) >= images_.size()) return -1;
        return images_[static_cast<std::size_t>(column)];
    }

    void clearImages() {
        images_.clear();
        viewport()->update();
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        // The base painting can leave the painter clipped to nothing (Qt 6.4 restores an
        // unset clip as an empty one), which would hide the arrow drawn after it.
        painter->save();
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        const int imageIndex = image(logicalIndex);
        if (imageIndex < 0) return;
        constexpr int kSize = 16;
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        const QString text = model()->headerData(logicalIndex, orientation()).toString();
        const int afterText = rect.left() + 2 * margin + fontMetrics().horizontalAdvance(text);
        const int x = std::max(rect.left(), std::min(afterText, rect.right() + 1 - kSize));
        const QRect target(x, rect.top() + (rect.height() - kSize) / 2, kSize, kSize);
        OwnIcons::sortArrow(imageIndex == 0).paint(painter, target);
    }

private:
    std::vector<int> images_;
};

SortArrowHeader& arrowHeader(const ListView& list) {
    return *static_cast<SortArrowHeader*>(list.header());
}

}  // namespace

ListView::ListView(QWidget* parent) : QTreeView(parent), model_(new ListModel(this)) {
    setHeader(new SortArrowHeader(this));
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    QHeaderView* head = header();
    head->setSortIndicatorShown(false);
    head->setSectionsMovable(false);
    head->setSectionsClickable(true);
    head->setHighlightSections(false);
    head->setStretchLastSection(false);
    head->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Fixed sections ignore divider drags and double-clicks; resizeSection from code still works.
    head->setSectionResizeMode(QHeaderView::Fixed);

    connect(head, &QHeaderView::sectionClicked, this, &ListView::columnClicked);
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last, const QList<int>& roles) {
                if (!roles.contains(Qt::CheckStateRole)) return;
                for (int row = first.row(); row <= last.row(); ++row)
                    emit rowCheckChanged(row);
            });
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { emit rowClicked(index.row()); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row()); });
    connect(this, &QAbstractItemView::entered, this,
            [this](const QModelIndex& index) { emit rowEntered(index.row()); });
}

ListView::~ListView() = default;

void ListView::clearColumns() {
    model_->clearColumns();
    tags_.clear();
    arrowHeader(*this).clearImages();
}

int ListView::addColumn(std::string_view text, int width, std::string_view tag) {
    const int column = columnCount();
    model_->addColumn(platform::toQt(text));
    setColumnWidth(column, width);
    tags_.emplace_back(tag);
    return column;
}

int ListView::columnCount() const {
    return model_->columnCount();
}

std::string ListView::columnText(int column) const {
    return platform::fromQt(model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
}

std::string ListView::columnTag(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= tags_.size()) return {};
    return tags_[static_cast<std::size_t>(column)];
}

void ListView::setColumnTag(int column, std::string_view tag) {
    if (column < 0 || column >= columnCount()) return;
    tags_.resize(static_cast<std::size_t>(columnCount()));
    tags_[static_cast<std::size_t>(column)] = tag;
}

void ListView::autoSizeColumn(int column, bool includeHeader) {
    const int contents = contentWidth(column);
    const int heading =
        includeHeader && !header()->isHidden() ? header()->sectionSizeHint(column) : 0;
    setColumnWidth(column, std::max(contents, heading));
}

// The widest cell as the view measures it. Laying out thousands of rows would cost more than
// filling the list: the cells with the 32 longest distinct texts stand for all of them, each
// text (with its check box and icon) measured once.
int ListView::contentWidth(int column) {
    if (rowCount() == 0 || column < 0 || column >= columnCount()) return sizeHintForColumn(column);
    constexpr std::size_t kMeasured = 32;
    ensurePolished();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    std::unordered_set<QString> measured;
    int width = 0;
    for (const int row : model_->longestCells(column, kMeasured)) {
        const QModelIndex index = model_->index(row, column);
        QString sample = index.data().toString();
        sample += index.data(Qt::CheckStateRole).isValid() ? u'c' : u'-';
        sample += index.data(Qt::DecorationRole).isValid() ? u'i' : u'-';
        if (!measured.insert(sample).second) continue;
        width = std::max(width, itemDelegateForIndex(index)->sizeHint(option, index).width());
    }
    return width;
}

void ListView::setTextSource(std::vector<int> columns, TextSource source) {
    model_->setTextSource(std::move(columns), std::move(source));
}

void ListView::setCheckBoxes(bool on) {
    checkBoxes_ = on;
}

void ListView::addRows(const std::vector<ListRow>& rows) {
    for (const ListRow& row : rows)
        stageRow(row);
    showStagedRows();
}

void ListView::stageRow(const ListRow& row) {
    model_->stageRow(row, checkBoxes_);
}

void ListView::showStagedRows() {
    model_->showStagedRows();
    if (sorted_) sortByText();
}

ListRowBatch::~ListRowBatch() {
    list_.showStagedRows();
}

void ListRowBatch::add(const ListRow& row) {
    list_.stageRow(row);
}

void ListView::clear() {
    model_->clearRows();
}

int ListView::rowCount() const {
    return model_->rowCount();
}

std::string ListView::text(int row, int column) const {
    return std::string(model_->text(row, column));
}

std::string ListView::key(int row) const {
    return std::string(model_->key(row));
}

int ListView::rowNumber(int row) const {
    const std::string_view text = model_->text(row, 0);
    int number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

int ListView::findKeyUpwards(std::string_view key, int startRow) const {
    for (int row = std::min(startRow, rowCount() - 1); row >= 0; --row)
        if (model_->key(row) == key) return row;
    return -1;
}

QString ListView::cellText(int row, int column, qsizetype maxLength) const {
    return model_->shownText(row, column, maxLength);
}

void ListView::setCellText(int row, int column, const QString& text) {
    model_->setShownText(row, column, text);
}

bool ListView::isChecked(int row) const {
    return model_->checkState(row) == Qt::Checked;
}

void ListView::setChecked(int row, bool checked) {
    model_->setCheckState(row, checked ? Qt::Checked : Qt::Unchecked);
}

void ListView::setRowIcon(int row, const QIcon& icon) {
    model_->setIcon(row, icon);
}

QIcon ListView::rowIcon(int row) const {
    return model_->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
}

int ListView::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

int ListView::selectedRow() const {
    const int row = currentRow();
    if (row < 0 || !selectionModel()->isSelected(model_->index(row, 0))) return -1;
    return row;
}

void ListView::setCurrentRow(int row) {
    if (row < 0 || row >= rowCount()) {
        selectionModel()->clear();
        return;
    }
    setCurrentIndex(model_->index(row, 0));
}

int ListView::rowAt(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    return index.isValid() ? index.row() : -1;
}

void ListView::setSorted(bool on) {
    sorted_ = on;
    if (sorted_) sortByText();
}

void ListView::setSortKey(int column) {
    sortKey_ = column;
    if (sorted_) sortByText();
}

void ListView::setSortOrder(int order) {
    sortOrder_ = order == 0 ? 0 : 1;
    if (sorted_) sortByText();
}

void ListView::sortByText() {
    reorderRows(model_->textOrder(sortKey_, sortOrder_ == 0));
}

void ListView::reorderRows(const std::vector<int>& order) {
    model_->reorder(order);
}

void ListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QScrollBar& sideways = *horizontalScrollBar();
    const int kept = sideways.value();
    QTreeView::scrollTo(index, hint);
    sideways.setValue(kept);
}

void ListView::setHeaderImage(int column, int imageIndex) {
    arrowHeader(*this).setImage(column, imageIndex);
}

int ListView::headerImage(int column) const {
    return arrowHeader(*this).image(column);
}
