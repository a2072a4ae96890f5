// Page 1, １行項目: the single-line items in two columns of label and value,
// the choice boxes with their suggestions, the size's unit, the first two user
// items' names and today's date.

#include "model/catalogue.h"
#include "session/edits.h"
#include "settings/commands.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"
#include "window/buttons.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace kelvaro::ui {
namespace {

// The user items whose names stand on this page (the others on page 2).
constexpr std::size_t kNamesHere = 2;

class LinesPage : public FormPage {
public:
    LinesPage(QWidget* tab, PageContext& context) : FormPage(tab, context) {
        Build();
        Connect();
    }

    void Refresh(Change what) override {
        if (what == Change::Form) {
            ShowForm();
        } else if (what == Change::Emphasis) {
            ShowEmphasis();
        }
    }

private:
    void Build();
    QComboBox* ChoiceBox(const CatalogueItem& item);
    void Connect();
    void ShowForm();
    void ShowEmphasis();

    std::array<QLabel*, LineLabelCount> labels_{};
    std::array<QLineEdit*, LineValueCount> values_{};
    std::array<QComboBox*, ChoiceValueCount> choices_{};
    std::array<QLineEdit*, kNamesHere> names_{};
    // The user items' values, named after what the user named the item.
    std::array<QWidget*, kNamesHere> userValues_{};
    QComboBox* sizeUnit_ = nullptr;
    QPushButton* today_ = nullptr;
};

void LinesPage::Build() {
    QWidget* page = tab();
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    // Two columns of label and value, the way the items are usually filled in:
    // the software itself on the left, its requirements and contacts on the right.
    int leftRow = 0;
    int rightRow = 0;
    // Tab reads the page as it is read: row by row, each row from left to right.
    std::vector<std::vector<QWidget*>> rows;
    for (const CatalogueItem& item : Catalogue()) {
        const bool single = item.Kind == ItemKind::SingleLine ||
                            item.Kind == ItemKind::SizeWithUnit || item.Kind == ItemKind::Choice;
        if (!single && item.Kind != ItemKind::UserSingleLine) {
            continue;
        }
        const bool left =
            item.Kind == ItemKind::UserSingleLine ? item.UserIndex == 0 : item.ControlIndex < 8;
        const int row = left ? leftRow++ : rightRow++;
        const int column = left ? 0 : 2;
        if (rows.size() <= static_cast<std::size_t>(row)) {
            rows.resize(static_cast<std::size_t>(row) + 1);
        }
        std::vector<QWidget*>& stops = rows[static_cast<std::size_t>(row)];

        QWidget* name = nullptr;
        if (item.Kind == ItemKind::UserSingleLine) {
            auto* box = UserNameBox(item, page);
            // The name box takes the width of the labels above it, and as much
            // more as its default name needs.
            box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
            // A box whose width hint the layout ignores does not widen its
            // column by itself.
            grid->setColumnMinimumWidth(column, box->minimumWidth());
            names_[static_cast<std::size_t>(item.UserIndex)] = box;
            name = box;
            stops.push_back(box);
        } else {
            auto* label = Label(ToQt(item.Key), Indexed("TopicsLine", item.ControlIndex), page);
            labels_[static_cast<std::size_t>(item.ControlIndex)] = label;
            name = label;
        }

        QWidget* value = nullptr;
        if (item.Kind == ItemKind::Choice) {
            value = ChoiceBox(item);
        } else {
            auto* box = LineEdit(Indexed("TopicsLineText", item.Slot), page);
            values_[static_cast<std::size_t>(item.Slot)] = box;
            value = box;
        }
        stops.push_back(value);
        if (auto* label = qobject_cast<QLabel*>(name)) {
            NameBy(label, value);
        } else {
            userValues_[static_cast<std::size_t>(item.UserIndex)] = value;
        }
        grid->addWidget(name, row, column);

        if (item.Kind == ItemKind::SizeWithUnit || item.Key == "作成日") {
            auto* rowBox = new QHBoxLayout;
            rowBox->setSpacing(3);
            rowBox->addWidget(value, 1);
            if (item.Kind == ItemKind::SizeWithUnit) {
                sizeUnit_ = Named(new SuggestionBox(page), QStringLiteral("ComboSize"));
                for (std::string_view unit : SizeUnitList()) {
                    sizeUnit_->addItem(ToQt(unit));
                }
                Speak(sizeUnit_, ToQt(item.Key) + QStringLiteral("の単位"));
                rowBox->addWidget(sizeUnit_);
                stops.push_back(sizeUnit_);
            } else {
                today_ = Button(ButtonId::GetToday, page);
                rowBox->addWidget(today_);
                stops.push_back(today_);
            }
            grid->addLayout(rowBox, row, column + 1);
        } else {
            grid->addWidget(value, row, column + 1);
        }
    }
    // The left values hold the date beside its button; the right ones are
    // combo boxes that need less.
    grid->setColumnStretch(1, 4);
    grid->setColumnStretch(3, 3);
    grid->setRowStretch(std::max(leftRow, rightRow), 1);
    std::vector<QWidget*> order;
    for (const std::vector<QWidget*>& stops : rows) {
        order.insert(order.end(), stops.begin(), stops.end());
    }
    TabInOrder(order);
}

QComboBox* LinesPage::ChoiceBox(const CatalogueItem& item) {
    auto* combo = Named(new SuggestionBox(tab()), Indexed("ComboTopics", item.Slot));
    combo->setEditable(true);
    combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    combo->setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: what the user types is what the ReadMe says.
    combo->setCompleter(nullptr);
    // The box is as wide as the column allows and never so narrow that
    // the placeholder is cut; the list opens as wide as its longest entry.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    const QFontMetrics metrics(combo->font());
    const int letter = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
    combo->setMinimumContentsLength(
        (metrics.horizontalAdvance(ToQt(UserInputPlaceholder)) + 2 + letter - 1) / letter);
    for (std::string_view entry : ChoiceSuggestions(item.Slot)) {
        combo->addItem(ToQt(entry));
    }
    choices_[static_cast<std::size_t>(item.Slot)] = combo;
    return combo;
}

void LinesPage::Connect() {
    Form& form = session().ws.form;
    for (std::size_t i = 0; i < values_.size(); ++i) {
        StoreTyping(this, session(), values_[i], &form.LineValues[i], showingFlag());
    }
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        QComboBox* combo = choices_[i];
        connect(combo, &QComboBox::editTextChanged, this,
                [this, &form, combo, i](const QString& text) {
                    if (!showing()) {
                        form.ChoiceValues[i] = SingleLineOf(combo->lineEdit(), text, showingFlag());
                        Edited();
                    }
                });
    }
    connect(sizeUnit_, &QComboBox::currentIndexChanged, this, [this, &form](int index) {
        if (!showing()) {
            form.SizeUnit = index;
            Edited();
        }
    });
    for (std::size_t i = 0; i < names_.size(); ++i) {
        QLineEdit* box = names_[i];
        connect(box, &QLineEdit::textChanged, this, [this, box, i](const QString& text) {
            if (showing()) {
                return;
            }
            std::string name = SingleLineOf(box, text, showingFlag());
            Speak(userValues_[i], ToQt(name));
            Run([&] { SetUserName(session(), static_cast<int>(i), std::move(name)); });
        });
    }
    connect(today_, &QPushButton::clicked, this,
            [this] { RunOnSession(ButtonOf(ButtonId::GetToday).Command); });
}

void LinesPage::ShowForm() {
    const Showing quiet(showingFlag());
    const Form& form = session().ws.form;
    for (std::size_t i = 0; i < values_.size(); ++i) {
        SetText(values_[i], form.LineValues[i]);
    }
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        QComboBox* combo = choices_[i];
        const QString value = ToQt(form.ChoiceValues[i]);
        // The list position follows the text: a text that is no suggestion
        // (the placeholder) has none, so Down goes to the first suggestion.
        const int index = combo->findText(value);
        if (combo->currentIndex() != index) {
            combo->setCurrentIndex(index);
        }
        if (combo->currentText() != value) {
            combo->setEditText(value);
            combo->lineEdit()->setCursorPosition(0);
        }
    }
    sizeUnit_->setCurrentIndex(
        form.SizeUnit >= 0 && form.SizeUnit < sizeUnit_->count() ? form.SizeUnit : -1);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        SetText(names_[i], form.UserNames[i]);
        Speak(userValues_[i], ToQt(form.UserNames[i]));
    }
}

void LinesPage::ShowEmphasis() {
    ForEachEmphasis([this](const CatalogueItem& item, std::size_t index, bool bold) {
        if (item.Control == EmphasisControl::LineLabel) {
            SetBold(labels_[index], bold);
        } else if (item.Control == EmphasisControl::UserName && index < names_.size()) {
            SetBold(names_[index], bold);
        }
    });
}

} // namespace

FormPage* MakeLinesPage(QWidget* tab, PageContext& context) {
    return new LinesPage(tab, context);
}

} // namespace kelvaro::ui
