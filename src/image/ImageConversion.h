#pragma once

#include "image/ConverterCommand.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

/// One run of the converter over the work files of a folder, without blocking the event loop and bounded in
/// time. Ends with exactly one `finished`.
class ImageConversion : public QObject {
    Q_OBJECT

public:
    explicit ImageConversion(QObject* parent = nullptr);
    ~ImageConversion() override;

    /// Runs `command` in `folder` on the bare names `inputName` and `outputName` (program and argument list,
    /// no shell).
    void start(const ConverterCommand& command, const QString& folder, const QString& inputName,
               const QString& outputName, int timeoutMs);

signals:
    /// Empty `error` when the converter ended with code 0; else the French reason.
    void finished(const QString& error);

private:
    void end(const QString& error);

    QProcess m_process;
    QTimer m_timer;
    QString m_program;
    int m_timeoutMs = 0;
    bool m_ended = false;
};
