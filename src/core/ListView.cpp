#include "core/ListView.h"

#include <QHeaderView>
#include <QPainter>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <utility>

#include "core/OwnIcons.h"
#include "platform/TextCodec.h"

namespace {

constexpr int kRowType = QTreeWidgetItem::UserType;

// The model's stable sort asks the rows themselves for their order, which keeps selection and
// current row attached to their rows without removal signals. A row keeps its texts (as given,
// Windows-1252), key, check state and icon in its own members and answers the view's questions
// from them, so that a list of many thousand rows costs one small object per row, and Qt values
// only for what is painted.
class ListItem : public QTreeWidgetItem {
public:
    ListItem(std::vector<std::string> texts, std::string key, std::optional<Qt::CheckState> check,
             QIcon icon)
        : QTreeWidgetItem(kRowType),
          texts_(std::move(texts)),
          key_(std::move(key)),
          check_(check),
          icon_(std::move(icon)) {}

    bool operator<(const QTreeWidgetItem& other) const override {
        return rank < static_cast<const ListItem&>(other).rank;
    }

    [[nodiscard]] QVariant data(int column, int role) const override {
        switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
                return hasText(column) ? QVariant(platform::toQt(text(column))) : QVariant();
            case Qt::UserRole:
                return column == 0 ? QVariant(platform::toQt(key_)) : QVariant();
            case Qt::CheckStateRole:
                return column == 0 && check_ ? QVariant(static_cast<int>(*check_)) : QVariant();
            case Qt::DecorationRole:
                return column == 0 && !icon_.isNull() ? QVariant(icon_) : QVariant();
            default:
                return QTreeWidgetItem::data(column, role);
        }
    }

    // The row's own members change, then the base class tells the view (with the role, which
    // the check signal needs).
    void setData(int column, int role, const QVariant& value) override {
        if (column < 0) return;
        // As the base class: an unchanged value tells nobody.
        if (isOwnRole(role) && data(column, role) == value) return;
        switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
                if (!hasText(column)) texts_.resize(static_cast<std::size_t>(column) + 1);
                texts_[static_cast<std::size_t>(column)] = platform::fromQt(value.toString());
                break;
            case Qt::UserRole:
                if (column == 0) key_ = platform::fromQt(value.toString());
                break;
            case Qt::CheckStateRole:
                if (column == 0) check_ = static_cast<Qt::CheckState>(value.toInt());
                break;
            case Qt::DecorationRole:
                if (column == 0) icon_ = value.value<QIcon>();
                break;
            default:
                break;
        }
        QTreeWidgetItem::setData(column, role, value);
    }

    [[nodiscard]] bool hasText(int column) const {
        return column >= 0 && static_cast<std::size_t>(column) < texts_.size();
    }
    [[nodiscard]] const std::string& text(int column) const {
        static const std::string kNone;
        return hasText(column) ? texts_[static_cast<std::size_t>(column)] : kNone;
    }
    [[nodiscard]] const std::string& key() const { return key_; }

    int rank = 0;

private:
    static bool isOwnRole(int role) {
        return role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::UserRole ||
               role == Qt::CheckStateRole || role == Qt::DecorationRole;
    }

    std::vector<std::string> texts_;
    std::string key_;
    std::optional<Qt::CheckState> check_;
    QIcon icon_;
};

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
        QHeaderView::paintSection(painter, rect, logicalIndex);
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

// Case folding works character by character, so a row's folded text is the folded forms of
// its bytes one after another: each byte's form is worked out once.
const std::array<std::u16string, 256>& foldedBytes() {
    static const auto table = [] {
        std::array<std::u16string, 256> folded;
        for (std::size_t byte = 0; byte < folded.size(); ++byte) {
            const char text = static_cast<char>(byte);
            const QString one = platform::toQt(std::string_view(&text, 1)).toCaseFolded();
            folded[byte] = one.toStdU16String();
        }
        return folded;
    }();
    return table;
}

// The cell's text case-folded, as QString::toCaseFolded gives it.
std::u16string foldedKey(const QTreeWidgetItem& item, int column) {
    if (item.type() != kRowType) return item.text(column).toCaseFolded().toStdU16String();
    const auto& folded = foldedBytes();
    const std::string& text = static_cast<const ListItem&>(item).text(column);
    std::u16string key(text.size(), u'\0');
    std::size_t length = 0;
    for (const char c : text) {
        const std::u16string& form = folded[static_cast<unsigned char>(c)];
        if (form.size() == 1) {
            key[length++] = form.front();
            continue;
        }
        key.resize(length);
        key += form;
        length = key.size();
        key.resize(length + text.size());
    }
    key.resize(length);
    return key;
}

SortArrowHeader& arrowHeader(const ListView& list) {
    return *static_cast<SortArrowHeader*>(list.header());
}

}  // namespace

ListView::ListView(QWidget* parent) : QTreeWidget(parent) {
    setHeader(new SortArrowHeader(this));
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);

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
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last, const QList<int>& roles) {
                if (!roles.contains(Qt::CheckStateRole) || first.parent().isValid()) return;
                for (int row = first.row(); row <= last.row(); ++row)
                    emit itemCheckChanged(topLevelItem(row));
            });
}

void ListView::clearColumns() {
    setColumnCount(0);
    tags_.clear();
    arrowHeader(*this).clearImages();
}

int ListView::addColumn(std::string_view text, int width, std::string_view tag) {
    const int column = columnCount();
    setColumnCount(column + 1);
    headerItem()->setText(column, platform::toQt(text));
    setColumnWidth(column, width);
    tags_.emplace_back(tag);
    return column;
}

std::string ListView::columnText(int column) const {
    return platform::fromQt(headerItem()->text(column));
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

// The widest cell as the view measures it, asked only of the cells with the longest texts:
// measuring thousands of rows would lay out every text.
int ListView::contentWidth(int column) {
    const int rows = topLevelItemCount();
    if (rows == 0 || column < 0 || column >= columnCount()) return sizeHintForColumn(column);
    constexpr std::size_t kMeasured = 32;
    std::vector<std::pair<std::size_t, int>> lengths;
    lengths.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
        lengths.emplace_back(static_cast<const ListItem*>(topLevelItem(row))->text(column).size(),
                             row);
    const std::size_t measured = std::min(kMeasured, lengths.size());
    std::nth_element(lengths.begin(), lengths.begin() + static_cast<std::ptrdiff_t>(measured - 1),
                     lengths.end(), std::greater<>());
    ensurePolished();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int width = 0;
    for (std::size_t k = 0; k < measured; ++k) {
        const QModelIndex index = model()->index(lengths[k].second, column);
        width = std::max(width, itemDelegateForIndex(index)->sizeHint(option, index).width());
    }
    return width;
}

void ListView::setCheckBoxes(bool on) {
    checkBoxes_ = on;
}

void ListView::addRows(std::vector<ListRow> rows) {
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (ListRow& row : rows) {
        std::optional<Qt::CheckState> check;
        if (checkBoxes_) check = row.Checked ? Qt::Checked : Qt::Unchecked;
        // Owned by the tree from addTopLevelItems on.
        items.append(
            new ListItem(std::move(row.Texts), std::move(row.Key), check, std::move(row.Icon)));
    }
    addTopLevelItems(items);
    if (sorted_) sortByText();
}

std::string ListView::itemText(const QTreeWidgetItem& item, int column) {
    if (item.type() == kRowType) return static_cast<const ListItem&>(item).text(column);
    return platform::fromQt(item.text(column));
}

QString ListView::cellText(const QTreeWidgetItem& item, int column, qsizetype maxLength) {
    if (item.type() != kRowType) return item.text(column).left(maxLength);
    // One character per byte: the first maxLength bytes are the first maxLength characters.
    const std::string_view text = static_cast<const ListItem&>(item).text(column);
    return platform::toQt(maxLength < 0 ? text
                                        : text.substr(0, static_cast<std::size_t>(maxLength)));
}

std::string ListView::itemKey(const QTreeWidgetItem& item) {
    if (item.type() == kRowType) return static_cast<const ListItem&>(item).key();
    return platform::fromQt(item.data(0, Qt::UserRole).toString());
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
    const int count = topLevelItemCount();
    std::vector<std::u16string> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        keys.push_back(foldedKey(*topLevelItem(row), sortKey_));
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const bool ascending = sortOrder_ == 0;
    // UTF-16 units compared in order, as QString compares.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const std::u16string& left = keys[static_cast<std::size_t>(a)];
        const std::u16string& right = keys[static_cast<std::size_t>(b)];
        return ascending ? left < right : right < left;
    });
    reorderRows(order);
}

void ListView::reorderRows(const std::vector<int>& order) {
    Q_ASSERT(order.size() == static_cast<std::size_t>(topLevelItemCount()));
    for (std::size_t position = 0; position < order.size(); ++position) {
        QTreeWidgetItem* item = topLevelItem(order[position]);
        Q_ASSERT(item->type() == kRowType);
        static_cast<ListItem*>(item)->rank = static_cast<int>(position);
    }
    sortItems(0, Qt::AscendingOrder);
}

void ListView::setHeaderImage(int column, int imageIndex) {
    arrowHeader(*this).setImage(column, imageIndex);
}

int ListView::headerImage(int column) const {
    return arrowHeader(*this).image(column);
}
