#pragma once

#include "common/prompter.h"

// Answers nothing: no question comes up in the benchmarks' runs.
class SilentPrompter : public Prompter
{
public:
    Answer ask(QWidget *, const QString &, Buttons, const QString &, Answer) override
    {
        return Answer::No;
    }
    std::optional<QString> open_file(QWidget *, const QStringList &) override { return {}; }
    std::optional<QString> save_file(QWidget *, const QStringList &, const QString &) override
    {
        return {};
    }
};
