#pragma once

#include "publish/BbcodeRecap.h"

#include <QDialog>

#include <functional>

class Catalogue;
class Messenger;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;

/// The dialog "frm_bbcode": a series, a range of numbers and the fields of each line give the recap, made again at
/// every change; one tab per post with its "Copier" button, and "Enregistrer…" for every post as UTF-8 files.
class BbcodeDialog : public QDialog {
    Q_OBJECT

public:
    /// Asks for the folder where the posts go; empty when the keeper gives up. A folder dialog when not set.
    using FolderChooser = std::function<QString(QWidget* parent)>;

    BbcodeDialog(const Catalogue& catalogue, Messenger& messenger, QWidget* parent = nullptr,
                 FolderChooser chooseFolder = {});

    const BbcodeRecap::Result& recap() const { return m_recap; }

private:
    void seriesChosen();
    void rebuild();
    void save();
    const Category& category() const;

    const Catalogue& m_catalogue;
    Messenger& m_messenger;
    FolderChooser m_chooseFolder;
    QList<PuzzleEntry> m_entries;
    BbcodeRecap::Result m_recap;
    QComboBox* m_series;
    QSpinBox* m_from;
    QSpinBox* m_to;
    QComboBox* m_answer;
    QCheckBox* m_author;
    QCheckBox* m_post;
    QComboBox* m_image;
    QSpinBox* m_limit;
    QLabel* m_status;
    QTabWidget* m_parts;
    QPushButton* m_save;
};
