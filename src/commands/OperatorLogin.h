#pragma once

#include "app/OperatorAccounts.h"
#include "app/Rights.h"
#include "commands/Invocation.h"

// The operator a command works for: the code of --operator, the password from
// the file named by PELM_PASSWORD_FILE or typed at a prompt that does not echo
// (only on a terminal), never from the command line. The operator's rights
// apply as on the screens.
namespace operator_login {

// What a command needs of the operator's rights for one function of the office.
struct Needed
{
    RightsGroup group;
    int position;
    QString function; // the function's caption, for the refusal
    Access access;    // Browse (export, print) or Edit (billing)
};

// Logs the operator of --operator in on the invocation's database and refuses
// unless the operator has `needed`. Bad usage without --operator.
operator_accounts::Login logIn(Invocation& invocation, const Needed& needed);

// The password from PELM_PASSWORD_FILE (its first line), else from a prompt on a
// terminal; refused when neither can be had.
QString password(const QString& code);

} // namespace operator_login
