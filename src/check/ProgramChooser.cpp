#include "check/ProgramChooser.h"

#include "catalogue/CatalogueTexts.h"
#include "catalogue/SettingsFile.h"
#include "check/CheckTexts.h"
#include "ui/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSaveFile>

ProgramChooser::ProgramChooser(const Workspace& workspace, QWidget* window, QObject* parent)
    : QObject(parent)
    , m_workspace(workspace)
    , m_chooseFile([window](const QString& folder) {
        return QFileDialog::getOpenFileName(window, CheckTexts::chooseProgramTitle(), folder);
    })
{
}

void ProgramChooser::choose()
{
    const CatalogueFolder& folder = m_workspace.folder;
    const QString file = m_chooseFile(folder.path());
    if (file.isEmpty()) {
        return;
    }
    Messenger& messenger = m_workspace.messenger();
    const QString settingsPath = QDir::toNativeSeparators(folder.settings());
    // The setting names a file of the catalogue's folder, as the search program lives beside the catalogue.
    const QString setting = QDir(folder.path()).relativeFilePath(QDir::cleanPath(file));
    if (setting.isEmpty() || setting.startsWith(u"..") || QDir::isAbsolutePath(setting)) {
        messenger.warning(CheckTexts::programOutside().arg(QDir::toNativeSeparators(folder.path())));
        return;
    }
    QFile current(folder.settings());
    if (!current.open(QIODevice::ReadOnly)) {
        messenger.critical(CheckTexts::settingsWriteFailed().arg(settingsPath), current.errorString());
        return;
    }
    if (current.size() > SettingsFile::maxBytes) {
        messenger.critical(CheckTexts::settingsWriteFailed().arg(settingsPath),
                           CatalogueTexts::settingsTooLarge().arg(settingsPath).arg(SettingsFile::maxBytes / 1024));
        return;
    }
    const std::optional<QByteArray> bytes = SettingsFile::withProgramSetting(current.readAll(), setting);
    current.close();
    if (!bytes) {
        messenger.warning(CheckTexts::programNotWritable().arg(setting, settingsPath));
        return;
    }
    QSaveFile settings(folder.settings());
    if (!settings.open(QIODevice::WriteOnly) || settings.write(*bytes) != bytes->size() || !settings.commit()) {
        messenger.critical(CheckTexts::settingsWriteFailed().arg(settingsPath), settings.errorString());
        return;
    }
    emit chosen(setting);
    messenger.show(Messenger::Icon::Information, CheckTexts::programChosen().arg(setting, settingsPath));
}
