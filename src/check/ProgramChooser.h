#pragma once

#include <QObject>

#include <functional>

class QWidget;
struct Workspace;

/// "Catalogue › Programme de recherche…": the keeper picks the search program in the catalogue's folder, and its
/// name becomes the "programme=" line of the settings file; the rest of that file stays as it was.
class ProgramChooser : public QObject {
    Q_OBJECT

public:
    /// The file dialog opens over `window`.
    ProgramChooser(const Workspace& workspace, QWidget* window, QObject* parent = nullptr);

    void choose();
    /// Replaces the file dialog (tests): given the folder to start in, returns the chosen file or nothing.
    void setFileChooser(std::function<QString(const QString& folder)> chooser) { m_chooseFile = std::move(chooser); }

signals:
    /// The settings file now names `setting` (a name in the catalogue's folder).
    void chosen(const QString& setting);

private:
    const Workspace& m_workspace;
    std::function<QString(const QString& folder)> m_chooseFile;
};
