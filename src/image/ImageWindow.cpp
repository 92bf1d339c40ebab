#include "image/ImageWindow.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/EntryAddress.h"
#include "image/ImageAddress.h"
#include "image/ImageConversion.h"
#include "image/ImageDownload.h"
#include "image/ImageSignature.h"
#include "image/ImageTexts.h"
#include "ui/GridStyle.h"
#include "ui/Messenger.h"
#include "ui/Named.h"
#include "ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Each refusal keeps the icon its message has always had.
Messenger::Icon refusalIcon(ImageAddress::Problem problem)
{
    switch (problem) {
    case ImageAddress::Problem::Missing:
        return Messenger::Icon::Warning;
    case ImageAddress::Problem::Gif:
        return Messenger::Icon::Critical;
    default:
        return Messenger::Icon::None;
    }
}

// The reader is closed when this returns: Windows refuses to delete a work file that is still open.
QImage readPicture(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

// A kept original, scaled in-process to the converter's box (proportions kept, a small picture enlarged as the
// converter does): starting the converter alone would take longer than a copy is allowed. Null for a format Qt
// does not read (TIFF). The reader is closed when this returns.
QImage readScaled(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isEmpty()) {
        return {};
    }
    reader.setScaledSize(size.scaled(ConverterCommand::boxWidth, ConverterCommand::boxHeight, Qt::KeepAspectRatio));
    return reader.read();
}

QString lines(const QStringList& parts)
{
    QStringList kept = parts;
    kept.removeAll(QString());
    return kept.join(u'\n');
}

QLineEdit* box(const QString& name, const QString& text, int widthInTwips, QWidget* parent)
{
    auto* edit = named(new QLineEdit(text, parent), name);
    edit->setMinimumWidth(GridStyle::pixels(widthInTwips));
    return edit;
}

} // namespace

ImageWindow::ImageWindow(const CatalogueFolder& folder, Messenger& messenger, ImagePreviewSettings settings,
                         QWidget* mainWindow, ImageArchive* archive)
    : QWidget(mainWindow, Qt::Window)
    , m_folder(folder)
    , m_messenger(messenger)
    , m_settings(std::move(settings))
    , m_mainWindow(mainWindow)
    , m_network(new QNetworkAccessManager(this))
    , m_archive(archive)
{
    setObjectName(QStringLiteral("Form_img"));
    setWindowTitle(ImageTexts::windowTitle());
    setAttribute(Qt::WA_DeleteOnClose);

    // The picture is placed by hand at the area's top left and sized to the picture.
    m_pictureArea = new QWidget(this);
    m_pictureArea->setMinimumSize(GridStyle::pixels(12435), GridStyle::pixels(6915));
    m_picture = named(new QLabel(m_pictureArea), QStringLiteral("Picture1"));
    m_picture->setGeometry(0, 0, GridStyle::pixels(12435), GridStyle::pixels(6915));
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Its click used to run the display again; every display is a fresh window now, so it stays hidden.
    auto* again = named(new QPushButton(ImageTexts::showButton(), this), QStringLiteral("bt_lien"));
    again->hide();

    m_status = named(new QLabel(this), QStringLiteral("lbl_etat"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_ref = box(QStringLiteral("lbl_ref"), ImageTexts::boxPlaceholder(), 675, this);
    m_ref->setMaximumWidth(GridStyle::pixels(675) * 2);
    m_name = box(QStringLiteral("lbl_nom"), ImageTexts::boxPlaceholder(), 3495, this);
    m_link = box(QStringLiteral("txt_lien"), {}, 6015, this);
    m_forumLink = box(QStringLiteral("txt_lien_sor"), {}, 6015, this);

    auto* fields = new QGridLayout;
    fields->addWidget(named(new QLabel(ImageTexts::refLabel(), this), QStringLiteral("Label1")), 0, 0);
    fields->addWidget(m_ref, 0, 1);
    fields->addWidget(named(new QLabel(ImageTexts::nameLabel(), this), QStringLiteral("Label2")), 0, 2, Qt::AlignRight);
    fields->addWidget(m_name, 0, 3);
    fields->addWidget(m_link, 0, 4);
    fields->addWidget(named(new QLabel(ImageTexts::linkLabel(), this), QStringLiteral("Label3")), 1, 0, 1, 3,
                      Qt::AlignRight);
    fields->addWidget(m_forumLink, 1, 3, 1, 2, Qt::AlignLeft);
    fields->setColumnStretch(4, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(GridStyle::pixels(120), GridStyle::pixels(180), GridStyle::pixels(120),
                               GridStyle::pixels(120));
    layout->addWidget(m_pictureArea, 1);
    layout->addWidget(m_status);
    layout->addLayout(fields);
    resize(GridStyle::pixels(12735), GridStyle::pixels(9030));
    WindowPlacement::closeOnEscape(*this);
}

ImageWindow::~ImageWindow()
{
    stopWork();
}

void ImageWindow::display(const ImageRequest& request, const Category* category)
{
    stopWork();
    m_request = request;
    m_category = category && m_archive ? std::optional<Category>(*category) : std::nullopt;
    m_copy.reset();
    m_keepOriginal = false;
    m_note.clear();
    m_ref->setText(request.ref);
    m_name->setText(request.answer);
    m_link->setText(request.address);
    m_forumLink->setText(request.shownLink);

    const ImageAddress::Problem problem = ImageAddress::check(request.address);
    if (problem != ImageAddress::Problem::None) {
        m_messenger.show(refusalIcon(problem), ImageAddress::message(problem));
        emit displayEnded();
        return;
    }
    if (const QString error = removeWorkFiles(); !error.isEmpty()) {
        fail(error);
        return;
    }
    const QUrl url = EntryAddress::webUrl(request.address);
    if (!url.isValid()) {
        fail(ImageTexts::notWebDownload().arg(request.address));
        return;
    }
    if (m_category) {
        try {
            m_copy = m_archive->copyOf(*m_category, request.ref, request.address);
        } catch (const CatalogueError& error) {
            m_note = ImageTexts::archiveReadFailed().arg(error.message() + u' ' + error.detail());
        }
        if (m_copy && m_copy->fresh && showCopy(m_note)) {
            return;
        }
        m_keepOriginal = true;
    }

    setStatus(ImageTexts::downloading(), false);
    m_download = new ImageDownload(*m_network, this);
    connect(m_download, &ImageDownload::finished, this, &ImageWindow::downloaded);
    m_download->start(url, request.referer, m_folder.downloadedImage(), m_settings.downloadTimeoutMs,
                      m_settings.maxDownloadBytes);
}

QString ImageWindow::status() const
{
    return m_status->text();
}

void ImageWindow::closeEvent(QCloseEvent* event)
{
    stopWork();
    removeWorkFiles();
    event->accept();
    if (m_mainWindow) {
        m_mainWindow->show();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
}

void ImageWindow::downloaded(const QString& error)
{
    m_download->deleteLater();
    m_download = nullptr;
    if (!error.isEmpty()) {
        downloadFailed(error);
        return;
    }

    QFile file(m_folder.downloadedImage());
    if (!file.open(QIODevice::ReadOnly)) {
        fail(ImageTexts::fileReadFailed().arg(file.fileName(), file.errorString()));
        return;
    }
    const QByteArray head = file.read(ImageSignature::headLength);
    file.close();
    if (!ImageSignature::isAccepted(head)) {
        // A page in place of the picture is how a closed image host often answers.
        downloadFailed(ImageTexts::notAnImage());
        return;
    }
    startConversion();
}

void ImageWindow::downloadFailed(const QString& error)
{
    if (m_copy) {
        m_keepOriginal = false;
        const QString date =
            QLocale(QLocale::French).toString(m_copy->taken.toLocalTime(), ImageTexts::copyDateFormat());
        if (showCopy(lines({ImageTexts::localCopy().arg(date), error, m_note}))) {
            return;
        }
    }
    fail(error);
}

bool ImageWindow::showCopy(const QString& note)
{
    QFile file(m_copy->path);
    if (!file.open(QIODevice::ReadOnly) || !ImageSignature::isAccepted(file.read(ImageSignature::headLength))) {
        return false;
    }
    file.close();
    const QString removal = removeWorkFiles();
    const QImage image = readScaled(m_copy->path);
    if (image.isNull()) {
        // A format read by the converter only: the copy takes the downloaded file's place.
        if (!removal.isEmpty() || !QFile::copy(m_copy->path, m_folder.downloadedImage())) {
            return false;
        }
        m_note = note;
        startConversion();
        return true;
    }
    showPicture(image);
    const QString status = lines({note, removal});
    setStatus(status, !status.isEmpty());
    raise();
    activateWindow();
    emit displayEnded();
    return true;
}

void ImageWindow::startConversion()
{
    setStatus(ImageTexts::converting(), false);
    m_conversion = new ImageConversion(this);
    connect(m_conversion, &ImageConversion::finished, this, &ImageWindow::converted);
    m_conversion->start(m_settings.converter, m_folder.path(), QFileInfo(m_folder.downloadedImage()).fileName(),
                        QFileInfo(m_folder.resizedImage()).fileName(), m_settings.conversionTimeoutMs);
}

void ImageWindow::converted(const QString& error)
{
    m_conversion->deleteLater();
    m_conversion = nullptr;
    if (!error.isEmpty()) {
        fail(error);
        return;
    }
    const QImage image = readPicture(m_folder.resizedImage());
    if (image.isNull()) {
        fail(ImageTexts::unreadablePicture().arg(m_folder.resizedImage()));
        return;
    }
    showPicture(image);
    const QString kept = m_keepOriginal ? keepOriginal() : QString();
    setStatus(lines({m_note, kept, removeWorkFiles()}), true);
    raise();
    activateWindow();
    emit displayEnded();
}

void ImageWindow::showPicture(const QImage& image)
{
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_picture->setGeometry(0, 0, image.width(), image.height());
    m_picture->repaint();
}

QString ImageWindow::keepOriginal()
{
    QFile file(m_folder.downloadedImage());
    if (!file.open(QIODevice::ReadOnly)) {
        return ImageTexts::fileReadFailed().arg(file.fileName(), file.errorString());
    }
    const QByteArray original = file.readAll();
    file.close();
    return m_archive->keep(*m_category, m_request.ref, m_request.address, original);
}

void ImageWindow::fail(const QString& error)
{
    const QString removal = removeWorkFiles();
    setStatus(lines({error, m_note, removal}), true);
    emit displayEnded();
}

QString ImageWindow::removeWorkFiles()
{
    QStringList errors;
    for (const QString& path : {m_folder.resizedImage(), m_folder.downloadedImage()}) {
        QFile file(path);
        if (file.exists() && !file.remove()) {
            errors.append(ImageTexts::workFileNotRemoved().arg(path, file.errorString()));
        }
    }
    return errors.join(u'\n');
}

void ImageWindow::setStatus(const QString& text, bool isError)
{
    m_status->setText(text);
    m_status->setStyleSheet(isError ? QStringLiteral("color: #b00000;") : QString());
}

void ImageWindow::stopWork()
{
    delete m_download;
    m_download = nullptr;
    delete m_conversion;
    m_conversion = nullptr;
}
