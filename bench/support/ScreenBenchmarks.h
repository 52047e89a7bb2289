#pragma once

#include "core/Messages.h"

#include <functional>

// Messages that nobody reads: the benchmarks answer every question with yes and
// write what a screen would show to standard error.
class SilentMessages final : public Messages
{
public:
    void information(const QString& text, const QString& caption, const QString& detail) override;
    void error(const QString& text, const QString& caption, const QString& detail) override;
    bool confirm(const QString& text, const QString& caption, Buttons buttons) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt,
                                   const QString& initial) override;
};

// The main function of a benchmark of screens: an offscreen application whose
// platform warnings stay out of the report, `prepare` (the estate is made before
// any timing starts), then the benchmarks asked for on the command line.
int runScreenBenchmarks(int argc, char** argv, const std::function<void()>& prepare);
