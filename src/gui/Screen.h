#pragma once

#include "core/Checked.h"
#include "core/ScreenContext.h"
#include "db/DbError.h"
#include "gui/WidgetFactory.h"

#include <QDialog>
#include <QWidget>

// What the screens and their editor dialogs share: the context the main window
// handed over, and the guard around every action that reaches the database.
template <class Base> class ContextWidget : public Base
{
public:
    ContextWidget(const ScreenContext& context, QWidget* parent) : Base(parent), m_context(context) {}

protected:
    const ScreenContext& context() const { return m_context; }
    const QSqlDatabase& db() const { return m_context.db; }
    Messages& messages() const { return *m_context.messages; }
    bool canWrite() const { return m_context.canWrite; }

    // The usual question before a delete, captioned "提醒"; true for OK.
    bool confirmDelete(const QString& question = QStringLiteral("确实要删除此记录吗?")) const
    {
        return m_context.messages->confirm(question, QStringLiteral("提醒"));
    }

    // Shows why a store refused, and puts the cursor into the box of the column
    // the refusal concerns (the one shown, where two boxes edit one column).
    void refuse(const Refusal& refusal) const
    {
        m_context.messages->information(refusal.text);
        if (refusal.field.isEmpty())
            return;
        // A box the operator can see comes first: one on a tab page not shown
        // names the same column only by chance (a filter of another page).
        QWidget* hidden = nullptr;
        for (QWidget* box : this->template findChildren<QWidget*>()) {
            if (box->property(widgets::kField).toString() != refusal.field || !box->isEnabled() ||
                box->isHidden())
                continue;
            if (box->isVisibleTo(this)) {
                box->setFocus();
                return;
            }
            if (!hidden)
                hidden = box;
        }
        if (hidden)
            hidden->setFocus();
    }

    // Runs an action; a database error it does not handle goes to the general
    // error box and the action is abandoned. Returns whether it ran to its end.
    template <class Action> bool run(Action&& action) const
    {
        return runAction(*m_context.messages, std::forward<Action>(action));
    }

    // The same; when the action finds its record gone (another copy removed it),
    // `whenGone` runs after the message, to show the list as it now stands.
    template <class Action, class WhenGone> bool run(Action&& action, WhenGone&& whenGone) const
    {
        bool gone = false;
        const bool ran = runAction(*m_context.messages, [&] {
            try {
                action();
            } catch (const DbError& e) {
                gone = e.kind() == DbError::Kind::RecordGone;
                throw;
            }
        });
        if (gone)
            whenGone();
        return ran;
    }

private:
    ScreenContext m_context;
};

// A function screen: a top-level window opened from the main window.
using Screen = ContextWidget<QWidget>;
// An editor dialog of a screen, opened window-modal with open().
using ScreenDialog = ContextWidget<QDialog>;
