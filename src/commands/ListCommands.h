#pragma once

class Invocation;

// `pelm export LIST [filters] -o FILE.xlsx|FILE.csv|-` and `pelm print REPORT
// [filters] -o FILE.pdf`: a screen's list through the screen's own description,
// statement and layout, for an operator with the browse right of its function.
namespace list_commands {

int exportList(Invocation& invocation);
int printList(Invocation& invocation);

} // namespace list_commands
