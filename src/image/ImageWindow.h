#pragma once

#include "catalogue/CatalogueFolder.h"
#include "image/ImagePreviewSettings.h"
#include "image/ImageRequest.h"

#include <QPointer>
#include <QWidget>

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
class ImageWindow : public QWidget {
    Q_OBJECT

public:
    /// `mainWindow` is the parent; it is shown again when this window closes.
    ImageWindow(const CatalogueFolder& folder, Messenger& messenger, ImagePreviewSettings settings,
                QWidget* mainWindow);
    ~ImageWindow() override;

    /// Fills the boxes under the picture and checks the address: a refusal is shown by the messenger and ends
    /// the display. Otherwise the work files are deleted and the download starts; the rest follows.
    void display(const ImageRequest& request);

    /// What the window says it is doing, or why it shows no picture; empty once the picture is shown.
    QString status() const;

signals:
    /// The display has ended, with or without a picture.
    void displayEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void downloaded(const QString& error);
    void converted(const QString& error);
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

    QWidget* m_pictureArea;
    QLabel* m_picture;
    QLabel* m_status;
    QLineEdit* m_ref;
    QLineEdit* m_name;
    QLineEdit* m_link;
    QLineEdit* m_forumLink;
};
