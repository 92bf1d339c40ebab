#pragma once

#include <QObject>

class MainWindow;

/// Runs "Ajouter" and "MAJ" of the four category tabs.
class EntryEditController : public QObject {
    Q_OBJECT

public:
    explicit EntryEditController(MainWindow& window);

private:
    MainWindow& m_window;
};
