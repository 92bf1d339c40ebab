#include "image/ImageConversion.h"

#include "image/ImageTexts.h"
#include "ui/UiTexts.h"

ImageConversion::ImageConversion(QObject* parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_ended) {
            return;
        }
        // Ended before the kill, which reports the process as crashed; killed before `finished`, so that the
        // work files it holds can be deleted.
        m_ended = true;
        m_process.kill();
        m_process.waitForFinished(1000);
        emit finished(ImageTexts::converterTimeout().arg(UiTexts::seconds(m_timeoutMs)));
    });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            end(ImageTexts::converterNotStarted().arg(m_program, m_process.errorString()));
        }
    });
    connect(&m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        if (status == QProcess::CrashExit) {
            end(ImageTexts::converterCrashed());
        } else if (exitCode != 0) {
            const QString output = QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed().left(300);
            end(ImageTexts::converterFailed().arg(exitCode).arg(output));
        } else {
            end({});
        }
    });
}

ImageConversion::~ImageConversion()
{
    // A window closed during a conversion must not leave the converter running on its files.
    m_ended = true;
    disconnect(&m_process, nullptr, this, nullptr);
    m_process.kill();
    m_process.waitForFinished(1000);
}

void ImageConversion::start(const ConverterCommand& command, const QString& folder, const QString& inputName,
                            const QString& outputName, int timeoutMs)
{
    m_ended = false;
    m_program = command.program;
    m_timeoutMs = timeoutMs;
    if (command.program.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this] { end(ImageTexts::converterMissing()); }, Qt::QueuedConnection);
        return;
    }
    m_process.setWorkingDirectory(folder);
    m_process.setProgram(command.program);
    m_process.setArguments(command.arguments(inputName, outputName));
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_timer.start(timeoutMs);
    m_process.start(QIODevice::ReadOnly);
}

void ImageConversion::end(const QString& error)
{
    if (m_ended) {
        return;
    }
    m_ended = true;
    m_timer.stop();
    emit finished(error);
}
