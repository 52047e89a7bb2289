#pragma once

#include "db/NamedKey.h"
#include "gui/EditorSet.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

class QGridLayout;
class QWidget;

// The part of a form description that needs no record type: what box a field
// gets and where it stands.
namespace form_fields {

enum class Kind {
    Text,   // a one-line box limited to the column's size
    Number, // a one-line box for money, an area or a quantity, read as typed
    Memo,   // a multi-line box, kept as typed
    Choice, // an editable combo box with choices
    Date,   // a date box, its lowest date "no date"
    Keyed,  // a combo box of named records (the screen fills it), read as the key chosen
};

struct Spec
{
    const char* column;
    const char* name; // the box's objectName
    Kind kind;
    QString caption;          // the schema's label of the column unless given
    bool wide = false;        // a row of its own, the box across both pairs
    int height = 0;           // a memo's fixed height
    QStringList choices = {}; // of a choice
    bool endsRow = false;     // the next field starts a new row
    bool keptOnClear = false; // clear() leaves it as it is (a date that carries on)
};

// The schema's label of a column.
QString labelOf(const char* table, const char* column);
// Makes the box of a field on `parent`: named, limited to its column's size, its
// field named for refusals.
QWidget* makeBox(QWidget* parent, const char* table, const Spec& spec);
// The captions and boxes two pairs a row, in the order given, from row
// `firstRow` on; a wide field starts a row of its own and spans it.
QGridLayout* layOut(QWidget* parent, const QList<Spec>& specs, const QList<QWidget*>& boxes,
                    int firstRow = 0);

QString textOf(const QWidget* box);
void setText(QWidget* box, const QString& text);
// Puts named records into a keyed box as its choices; the record chosen stays
// chosen while it is still listed.
void setChoices(QWidget* box, const QList<NamedKey>& records);
std::optional<int> keyOf(const QWidget* box);
void setKey(QWidget* box, const std::optional<int>& key);
QDate dateOf(const QWidget* box);
void setDate(QWidget* box, const QDate& date);
void clear(QWidget* box);

} // namespace form_fields

// A form declared once: one line per field, naming the column it edits, its
// box's objectName and the member of the record as typed (`Input`) it reads and
// shows. The member's type and the kind make the box (texts, numbers as typed,
// memos, choices: QString; dates: QDate); the caption is the column's label in
// the schema unless given. From the description the form builds the boxes with
// their limits, the two-pairs-a-row layout (also the tab order) and the editor
// set, and reads, shows and clears the record as typed:
//
//     m_fields.memo("contents", "dbmContents", &ServiceJobInput::contents).caption(u"内容"_s).wide()
//             .text("worker", "DBEdit2", &ServiceJobInput::worker)
//             .number("material_money", "DBEdit6", &ServiceJobInput::materialMoney);
//     layout->addLayout(m_fields.build(page, editors));
//     ... m_fields.show(input);  ... ServiceJobInput typed = m_fields.read();
//
// A box left out of the description is a box no one reads: every box of the form
// is in it, so what is typed is never lost on the way to the store.
template <class Input> class FormFields
{
public:
    explicit FormFields(const char* table) : m_table(table) {}

    FormFields& text(const char* column, const char* name, QString Input::*member)
    {
        return add(column, name, form_fields::Kind::Text, member);
    }
    FormFields& number(const char* column, const char* name, QString Input::*member)
    {
        return add(column, name, form_fields::Kind::Number, member);
    }
    FormFields& memo(const char* column, const char* name, QString Input::*member)
    {
        return add(column, name, form_fields::Kind::Memo, member);
    }
    FormFields& choice(const char* column, const char* name, const QStringList& choices,
                       QString Input::*member)
    {
        add(column, name, form_fields::Kind::Choice, member);
        m_fields.last().spec.choices = choices;
        return *this;
    }
    FormFields& date(const char* column, const char* name, QDate Input::*member)
    {
        return add(column, name, form_fields::Kind::Date, member);
    }
    FormFields& keyed(const char* column, const char* name, std::optional<int> Input::*member)
    {
        return add(column, name, form_fields::Kind::Keyed, member);
    }

    // What the field declared last adds to its line.
    FormFields& caption(const QString& caption)
    {
        m_fields.last().spec.caption = caption;
        return *this;
    }
    FormFields& wide()
    {
        m_fields.last().spec.wide = true;
        return *this;
    }
    FormFields& height(int pixels)
    {
        m_fields.last().spec.height = pixels;
        return *this;
    }
    FormFields& endsRow()
    {
        m_fields.last().spec.endsRow = true;
        return *this;
    }
    FormFields& keptOnClear()
    {
        m_fields.last().spec.keptOnClear = true;
        return *this;
    }

    // Makes the boxes on `parent`, watched by `editors` (when given), and
    // returns their layout for the screen to place. The rows above `firstRow`
    // are left to boxes the screen makes and places itself.
    QGridLayout* build(QWidget* parent, EditorSet* editors = nullptr, int firstRow = 0)
    {
        QList<form_fields::Spec> specs;
        for (Field& f : m_fields) {
            if (f.spec.caption.isEmpty())
                f.spec.caption = form_fields::labelOf(m_table, f.spec.column);
            f.box = form_fields::makeBox(parent, m_table, f.spec);
            specs.append(f.spec);
        }
        if (editors)
            for (const Field& f : m_fields)
                editors->add(f.box);
        return form_fields::layOut(parent, specs, boxes(), firstRow);
    }

    // The record as typed; the members no field reads keep what `base` holds.
    Input read(Input base = {}) const
    {
        for (const Field& f : m_fields) {
            if (const auto* text = std::get_if<QString Input::*>(&f.member))
                base.*(*text) = form_fields::textOf(f.box);
            else if (const auto* date = std::get_if<QDate Input::*>(&f.member))
                base.*(*date) = form_fields::dateOf(f.box);
            else
                base.*std::get<std::optional<int> Input::*>(f.member) = form_fields::keyOf(f.box);
        }
        return base;
    }
    // Shows a record as typed. Changes count as the operator's unless the
    // caller holds its editor set's Loading guard.
    void show(const Input& input) const
    {
        for (const Field& f : m_fields) {
            if (const auto* text = std::get_if<QString Input::*>(&f.member))
                form_fields::setText(f.box, input.*(*text));
            else if (const auto* date = std::get_if<QDate Input::*>(&f.member))
                form_fields::setDate(f.box, input.*(*date));
            else
                form_fields::setKey(f.box, input.*std::get<std::optional<int> Input::*>(f.member));
        }
    }
    // Empties every box but those kept on clear.
    void clear() const
    {
        for (const Field& f : m_fields)
            if (!f.spec.keptOnClear)
                form_fields::clear(f.box);
    }

    // The box of a column, made by build(); null for a column not in the form.
    QWidget* box(const char* column) const
    {
        for (const Field& f : m_fields)
            if (qstrcmp(f.spec.column, column) == 0)
                return f.box;
        return nullptr;
    }
    template <class Box> Box* box(const char* column) const { return static_cast<Box*>(box(column)); }
    QList<QWidget*> boxes() const
    {
        QList<QWidget*> all;
        for (const Field& f : m_fields)
            all.append(f.box);
        return all;
    }

private:
    using Member = std::variant<QString Input::*, QDate Input::*, std::optional<int> Input::*>;
    struct Field
    {
        form_fields::Spec spec;
        Member member;
        QWidget* box = nullptr;
    };

    template <class T>
    FormFields& add(const char* column, const char* name, form_fields::Kind kind, T Input::*member)
    {
        form_fields::Spec spec{column, name, kind, {}};
        m_fields.append(Field{std::move(spec), Member(member), nullptr});
        return *this;
    }

    const char* m_table;
    QList<Field> m_fields;
};
