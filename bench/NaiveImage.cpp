#include "NaiveImage.h"

#include "image/ConverterCommand.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QThread>

double naiveImageDisplay(const CatalogueFolder& folder, const QUrl& url)
{
    QFile::remove(folder.resizedImage());
    QFile::remove(folder.downloadedImage());
    QElapsedTimer timer;
    timer.start();
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(QNetworkRequest(url));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    QFile file(folder.downloadedImage());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(reply->readAll());
        file.close();
    }
    reply->deleteLater();
    const ConverterCommand converter = ConverterCommand::locate();
    QProcess::startDetached(converter.program,
                            converter.arguments(QStringLiteral("image_url.jpg"), QStringLiteral("image2_url.jpg")),
                            folder.path());
    QThread::msleep(3000);
    const QImage picture(folder.resizedImage());
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    QFile::remove(folder.resizedImage());
    QFile::remove(folder.downloadedImage());
    return picture.isNull() ? -1 : elapsed;
}
