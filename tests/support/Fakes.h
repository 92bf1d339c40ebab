#pragma once

#include "ui/DesktopOpener.h"
#include "ui/Messenger.h"
#include "ui/ProgramStarter.h"

#include <QList>
#include <QStringList>

/// Records every message instead of showing a box; `answers` scripts the replies to questions (default: No).
class FakeMessenger final : public Messenger {
public:
    struct Shown {
        Icon icon;
        QString text;
        QString detail;
    };
    void show(Icon icon, const QString& text, const QString& detail = {}) override;
    bool ask(const QString& text, const QString& detail = {}, Answer byDefault = Answer::No) override;

    QStringList texts() const;
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }

    QList<Shown> shown;
    QStringList questions;
    QList<Answer> defaults; ///< the answer Enter would give, for each question
    QList<bool> answers;
};

class FakeDesktop final : public DesktopOpener {
public:
    bool open(const QUrl& url) override
    {
        opened.append(url);
        return true;
    }
    QList<QUrl> opened;
};

class FakeProgramStarter final : public ProgramStarter {
public:
    struct Call {
        QString program;
        QStringList arguments;
        QString workingFolder;
    };
    bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder,
                       QString* error) override;
    QList<Call> calls;
    bool succeed = true;
};
