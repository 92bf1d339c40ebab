#pragma once

#include "ui/Messenger.h"

/// Writes every message to the standard error instead of showing a box, and answers No to every question: a tool
/// that runs unattended must never wait for a click.
class StderrMessenger final : public Messenger {
public:
    void show(Icon icon, const QString& text, const QString& detail = {}) override;
    bool ask(const QString& text, const QString& detail = {}) override;

    /// Whether anything was said since the start.
    bool spoke() const { return m_spoke; }

private:
    bool m_spoke = false;
};
