#pragma once

#include <QString>
#include <QStringList>

/// Starts an outside program without waiting for it. Tests replace it with a double that records the call.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    /// Returns false, with the reason in `error`, when the program cannot be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder,
                               QString* error) = 0;
};

/// The real thing, through QProcess (program and arguments, no shell).
class QProcessStarter final : public ProgramStarter {
public:
    bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder,
                       QString* error) override;
};
