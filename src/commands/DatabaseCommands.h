#pragma once

class Invocation;

// The commands that make, check, upgrade, back up, restore and copy the
// database. They need no operator: whoever may reach the file or the server's
// database may do them, as with today's --init-db, --backup and --restore.
namespace database_commands {

int init(Invocation& invocation);
// Mark, version (an older one is refused, naming `pelm upgrade`), every table
// and column, and the engine's integrity check; exit 1 with the reason.
int check(Invocation& invocation);
int upgrade(Invocation& invocation);
int backup(Invocation& invocation);
// Refused without --yes.
int restore(Invocation& invocation);
int copyTo(Invocation& invocation);

} // namespace database_commands
