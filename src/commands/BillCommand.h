#pragma once

class Invocation;

// `pelm bill --from 2026-01 --to 2026-03 [--dry-run]`: the monthly property-fee
// run of the screen, with its rules, its guard against billing a month twice
// and its texts, for an operator with the edit right of "物管费自动生成".
namespace bill_command {

int run(Invocation& invocation);

} // namespace bill_command
