#pragma once

#include "catalogue/CatalogueFolder.h"
#include "image/ImageArchive.h"
#include "image/ImagePreviewSettings.h"
#include "image/ImageRequest.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class ImageConversion;
class ImageDownload;
class Messenger;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;

/// The image window "Form_img": one puzzle's picture, downloaded, resized by ImageMagick and shown at its own
/// size, with the entry's number, answer and addresses under it.
///
/// Each display is a fresh window that deletes itself when closed. While it is open the main window is hidden;
/// closing it shows the main window again. Download and conversion run without blocking the event loop, and
/// what goes wrong with them is written in the window.
///
/// With an archive, a picture shown after a download is kept there; a fresh kept copy is shown at once, without a
/// request, and a stale one stands in for a download that fails.
class ImageWindow : public QWidget {
    Q_OBJECT

public:
    /// `mainWindow` is the parent; it is shown again when this window closes. `archive` may be null.
    ImageWindow(const CatalogueFolder& folder, Messenger& messenger, ImagePreviewSettings settings, QWidget* mainWindow,
                ImageArchive* archive = nullptr);
    ~ImageWindow() override;

    /// Fills the boxes under the picture and checks the address: a refusal is shown by the messenger and ends
    /// the display. Otherwise the work files are deleted and the download starts; the rest follows. With the
    /// `category` of a stored entry, the window's archive is used for it.
    void display(const ImageRequest& request, const Category* category = nullptr);

    /// What the window says it is doing, or why it shows no picture (or an older kept copy); empty once the picture
    /// is shown and kept.
    QString status() const;

signals:
    /// The display has ended, with or without a picture.
    void displayEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void downloaded(const QString& error);
    void converted(const QString& error);
    void startConversion();
    /// Shows the kept copy, with `note` in the status; false when it cannot be read (then nothing changed).
    bool showCopy(const QString& note);
    /// After a failed download: the kept copy with the reason, else the reason alone.
    void downloadFailed(const QString& error);
    /// Keeps the downloaded work file in the archive; returns why it could not be kept, or nothing.
    QString keepOriginal();
    void showPicture(const QImage& image);
    void fail(const QString& error);
    /// Deletes the resized then the downloaded work file; returns why one could not be deleted, or nothing.
    QString removeWorkFiles();
    void setStatus(const QString& text, bool isError);
    void stopWork();

    CatalogueFolder m_folder;
    Messenger& m_messenger;
    ImagePreviewSettings m_settings;
    QPointer<QWidget> m_mainWindow;
    QNetworkAccessManager* m_network;
    ImageDownload* m_download = nullptr;
    ImageConversion* m_conversion = nullptr;
    ImageArchive* m_archive;
    ImageRequest m_request;
    std::optional<Category> m_category;
    std::optional<ImageArchive::Copy> m_copy;
    bool m_keepOriginal = false; ///< the work file is a fresh download, to be kept once it is shown
    QString m_note;              ///< a line for the status once the picture is shown

    QWidget* m_pictureArea;
    QLabel* m_picture;
    QLabel* m_status;
    QLineEdit* m_ref;
    QLineEdit* m_name;
    QLineEdit* m_link;
    QLineEdit* m_forumLink;
};
