#pragma once

#include "ui/Messenger.h"

/// Writes every message to the standard error and counts them; answers No to every question. For programs that run
/// unattended (the crash child, the screenshot tool, the benchmark): they must never wait for a click, and a message
/// means that what they were doing did not go as planned.
class StderrMessenger final : public Messenger {
public:
    void show(Icon icon, const QString& text, const QString& detail = {}) override;
    bool ask(const QString& text, const QString& detail = {}, Answer byDefault = Answer::No) override;

    int count() const { return m_count; }

private:
    int m_count = 0;
};
