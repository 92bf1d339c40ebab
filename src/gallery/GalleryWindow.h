#pragma once

#include "catalogue/Category.h"

#include <QMainWindow>

class GalleryModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSlider;
class QSortFilterProxyModel;
class ThumbnailLoader;
struct PuzzleEntry;
struct Workspace;

/// The window "frm_galerie": one series as thumbnails of its kept pictures in number order, the number and the
/// answer under each. A filter box narrows by answer or author, a slider sets the size (96 to 256 pixels). Enter
/// asks for the image window, a double click for the entry in its tab. The window follows the catalogue's
/// announcements; thumbnails are made on worker threads, those in view first.
class GalleryWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int smallest = 96;
    static constexpr int largest = 256;

    GalleryWindow(const Workspace& workspace, const Category& category, QWidget* parent = nullptr);
    ~GalleryWindow() override;

    const Category& category() const { return m_category; }
    GalleryModel* model() const { return m_model; }
    QListView* view() const { return m_view; }
    ThumbnailLoader* loader() const { return m_loader; }
    /// Reads the series again from the catalogue; false, after a message, when it cannot be read.
    bool reload();

signals:
    /// Enter on a thumbnail: show this entry's picture in the image window.
    void imageRequested(const Category& category, const PuzzleEntry& entry);
    /// A double click: show entry `ref` of series `category` (descriptor index) in its tab.
    void entryChosen(int category, const QString& ref);
    /// "Archiver les images…".
    void archiveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setThumbnailSize(int size);
    /// Asks for the thumbnails of the items in view, then of the next screen, after the current events.
    void scheduleRequests();
    void requestVisible();
    void showStates();

    const Workspace& m_workspace;
    const Category& m_category;
    ThumbnailLoader* m_loader;
    GalleryModel* m_model;
    QSortFilterProxyModel* m_filtered;
    QListView* m_view;
    QLineEdit* m_filter;
    QSlider* m_size;
    QLabel* m_notKept;
    QPushButton* m_archive;
    QLabel* m_status;
    bool m_requestsScheduled = false;
};
