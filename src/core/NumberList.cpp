#include "core/NumberList.h"

#include <QAbstractListModel>
#include <QComboBox>

#include <algorithm>

namespace {

class NumberListModel : public QAbstractListModel {
public:
    explicit NumberListModel(QObject* parent) : QAbstractListModel(parent) {}

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : count_;
    }

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= count_) return {};
        if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
        return QString::number(index.row() + 1);
    }

    void setCount(int count) {
        beginResetModel();
        count_ = std::max(count, 0);
        endResetModel();
    }

private:
    int count_ = 0;
};

}  // namespace

void ShowNumbers(QComboBox& combo, int count) {
    auto* numbers = dynamic_cast<NumberListModel*>(combo.model());
    if (!numbers) {
        numbers = new NumberListModel(&combo);
        combo.setModel(numbers);
    }
    numbers->setCount(count);
    combo.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo.setMinimumContentsLength(static_cast<int>(QString::number(std::max(count, 1)).size()));
}
