#include "gui/FormFields.h"

#include "db/Schema.h"
#include "gui/WidgetFactory.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace form_fields {

QString labelOf(const char* table, const char* column)
{
    return schema::label(QString::fromLatin1(table), QString::fromLatin1(column));
}

QWidget* makeBox(QWidget* parent, const char* table, const Spec& spec)
{
    switch (spec.kind) {
    case Kind::Text:
        return widgets::lineEdit(parent, spec.name, table, spec.column);
    case Kind::Number: {
        QLineEdit* box = widgets::numberEdit(parent, spec.name);
        widgets::setField(box, spec.column);
        return box;
    }
    case Kind::Memo: {
        QPlainTextEdit* box = widgets::memo(parent, spec.name, table, spec.column);
        if (spec.height > 0)
            box->setFixedHeight(spec.height);
        return box;
    }
    case Kind::Choice:
        return widgets::comboBox(parent, spec.name, spec.choices, table, spec.column);
    case Kind::Keyed: {
        auto* box = new QComboBox(parent);
        box->setObjectName(QLatin1StringView(spec.name));
        widgets::setField(box, spec.column);
        return box;
    }
    case Kind::Date: {
        QDateEdit* box = widgets::dateEdit(parent, spec.name);
        widgets::setField(box, spec.column);
        return box;
    }
    }
    return nullptr;
}

QGridLayout* layOut(QWidget* parent, const QList<Spec>& specs, const QList<QWidget*>& boxes, int firstRow)
{
    auto* grid = new QGridLayout;
    int row = firstRow;
    int pair = 0;
    for (qsizetype i = 0; i < specs.size(); ++i) {
        if (specs[i].wide && pair != 0) {
            ++row;
            pair = 0;
        }
        grid->addWidget(new QLabel(specs[i].caption, parent), row, pair * 2);
        grid->addWidget(boxes[i], row, pair * 2 + 1, 1, specs[i].wide ? 3 : 1);
        if (specs[i].wide || specs[i].endsRow || pair == 1) {
            ++row;
            pair = 0;
        } else {
            pair = 1;
        }
    }
    return grid;
}

QString textOf(const QWidget* box)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(box))
        return line->text();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(box))
        return memo->toPlainText();
    if (const auto* combo = qobject_cast<const QComboBox*>(box))
        return combo->currentText();
    return {};
}

void setText(QWidget* box, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(text);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(box)) {
        memo->setPlainText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(box)) {
        combo->setCurrentIndex(combo->findText(text));
        combo->setEditText(text);
    }
}

void setChoices(QWidget* box, const QList<NamedKey>& records)
{
    auto* combo = qobject_cast<QComboBox*>(box);
    if (!combo)
        return;
    const QVariant shown = combo->currentData();
    combo->clear();
    for (const NamedKey& r : records)
        combo->addItem(r.name, r.id);
    combo->setCurrentIndex(shown.isValid() ? combo->findData(shown) : -1);
}

std::optional<int> keyOf(const QWidget* box)
{
    const auto* combo = qobject_cast<const QComboBox*>(box);
    if (!combo || combo->currentIndex() < 0)
        return std::nullopt;
    return combo->currentData().toInt();
}

void setKey(QWidget* box, const std::optional<int>& key)
{
    if (auto* combo = qobject_cast<QComboBox*>(box))
        combo->setCurrentIndex(key ? combo->findData(qlonglong(*key)) : -1);
}

QDate dateOf(const QWidget* box)
{
    const auto* date = qobject_cast<const QDateEdit*>(box);
    return date ? widgets::dateOf(date) : QDate();
}

void setDate(QWidget* box, const QDate& date)
{
    if (auto* edit = qobject_cast<QDateEdit*>(box))
        widgets::setDate(edit, date);
}

void clear(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->clear();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(box)) {
        memo->clear();
    } else if (auto* combo = qobject_cast<QComboBox*>(box)) {
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
    } else if (auto* date = qobject_cast<QDateEdit*>(box)) {
        widgets::setDate(date, QDate());
    }
}

} // namespace form_fields
