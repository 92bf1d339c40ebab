#include "publish/BbcodeDialog.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "publish/PublishTexts.h"
#include "publish/Slug.h"
#include "ui/Messenger.h"
#include "ui/Named.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString askFolder(QWidget* parent)
{
    return QFileDialog::getExistingDirectory(parent, PublishTexts::saveFolder(), QDir::homePath());
}

QSpinBox* numberBox(QWidget* parent, const QString& name, int lowest, int highest)
{
    auto* box = named(new QSpinBox(parent), name);
    box->setRange(lowest, highest);
    return box;
}

} // namespace

BbcodeDialog::BbcodeDialog(const Catalogue& catalogue, Messenger& messenger, QWidget* parent,
                           FolderChooser chooseFolder)
    : QDialog(parent)
    , m_catalogue(catalogue)
    , m_messenger(messenger)
    , m_chooseFolder(chooseFolder ? std::move(chooseFolder) : FolderChooser(askFolder))
{
    setObjectName(QStringLiteral("frm_bbcode"));
    setWindowTitle(PublishTexts::bbcodeTitle());
    m_series = named(new QComboBox(this), QStringLiteral("cb_serie"));
    for (const Category& category : Category::all()) {
        m_series->addItem(category.caption);
    }
    m_from = numberBox(this, QStringLiteral("sp_du"), 1, 999);
    m_to = numberBox(this, QStringLiteral("sp_au"), 1, 999);
    m_answer = named(new QComboBox(this), QStringLiteral("cb_reponse"));
    m_answer->addItems({PublishTexts::answerShown(), PublishTexts::answerSpoiler(), PublishTexts::answerLeftOut()});
    m_author = named(new QCheckBox(PublishTexts::author(), this), QStringLiteral("chk_auteur"));
    m_author->setChecked(true);
    m_post = named(new QCheckBox(PublishTexts::postLink(), this), QStringLiteral("chk_message"));
    m_post->setChecked(true);
    m_image = named(new QComboBox(this), QStringLiteral("cb_image"));
    m_image->addItems({PublishTexts::imageLeftOut(), PublishTexts::imageLink(), PublishTexts::imageInline()});
    m_image->setCurrentIndex(int(BbcodeRecap::ImageMode::Link));
    m_limit = numberBox(this, QStringLiteral("sp_limite"), 100, 1'000'000);
    m_limit->setSingleStep(1000);
    m_limit->setValue(BbcodeRecap::Options().limit);
    m_status = named(new QLabel(this), QStringLiteral("lbl_bbcode"));
    m_status->setWordWrap(true);
    m_parts = named(new QTabWidget(this), QStringLiteral("onglets_messages"));
    m_save = named(new QPushButton(PublishTexts::save(), this), QStringLiteral("bt_enregistrer"));
    auto* close = named(new QPushButton(PublishTexts::close(), this), QStringLiteral("bt_fermer"));

    auto* range = new QHBoxLayout;
    range->addWidget(m_from);
    range->addWidget(new QLabel(PublishTexts::to(), this));
    range->addWidget(m_to);
    range->addStretch(1);
    auto* form = new QFormLayout;
    form->addRow(PublishTexts::series(), m_series);
    form->addRow(PublishTexts::from(), range);
    form->addRow(PublishTexts::answer(), m_answer);
    form->addRow(QString(), m_author);
    form->addRow(QString(), m_post);
    form->addRow(PublishTexts::image(), m_image);
    form->addRow(PublishTexts::limit(), m_limit);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addWidget(m_parts, 1);
    layout->addLayout(buttons);
    resize(760, 620);

    connect(m_series, &QComboBox::currentIndexChanged, this, &BbcodeDialog::seriesChosen);
    for (QSpinBox* box : {m_from, m_to, m_limit}) {
        connect(box, &QSpinBox::valueChanged, this, &BbcodeDialog::rebuild);
    }
    for (QComboBox* box : {m_answer, m_image}) {
        connect(box, &QComboBox::currentIndexChanged, this, &BbcodeDialog::rebuild);
    }
    for (QCheckBox* box : {m_author, m_post}) {
        connect(box, &QCheckBox::toggled, this, &BbcodeDialog::rebuild);
    }
    connect(m_save, &QPushButton::clicked, this, &BbcodeDialog::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    seriesChosen();
}

const Category& BbcodeDialog::category() const
{
    return Category::all().at(m_series->currentIndex());
}

// A new series takes its whole range.
void BbcodeDialog::seriesChosen()
{
    try {
        m_entries = m_catalogue.entries(category(), EntryOrder::ByNumber);
    } catch (const CatalogueError& error) {
        m_entries.clear();
        m_messenger.critical(error.message(), error.detail());
    }
    const QSignalBlocker fromBlocked(m_from);
    const QSignalBlocker toBlocked(m_to);
    m_from->setValue(1);
    m_to->setValue(std::max<int>(1, int(m_entries.size())));
    rebuild();
}

void BbcodeDialog::rebuild()
{
    BbcodeRecap::Options options;
    options.from = m_from->value();
    options.to = m_to->value();
    options.answer = BbcodeRecap::AnswerMode(m_answer->currentIndex());
    options.author = m_author->isChecked();
    options.postLink = m_post->isChecked();
    options.image = BbcodeRecap::ImageMode(m_image->currentIndex());
    options.limit = m_limit->value();
    m_recap = BbcodeRecap::build(category(), m_entries, options);
    m_status->setText(m_recap.refusal);
    while (m_parts->count() > 0) {
        QWidget* page = m_parts->widget(0);
        m_parts->removeTab(0);
        delete page;
    }
    const qsizetype parts = m_recap.parts.size();
    for (qsizetype i = 0; i < parts; ++i) {
        const QString& text = m_recap.parts.at(i);
        auto* page = new QWidget;
        auto* view = named(new QPlainTextEdit(text, page), QStringLiteral("texte_message_%1").arg(i + 1));
        view->setReadOnly(true);
        auto* copy = named(new QPushButton(PublishTexts::copy(), page), QStringLiteral("bt_copier_%1").arg(i + 1));
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(PublishTexts::part().arg(i + 1).arg(parts).arg(BbcodeRecap::characters(text)), page),
                       1);
        row->addWidget(copy);
        auto* layout = new QVBoxLayout(page);
        layout->addLayout(row);
        layout->addWidget(view, 1);
        connect(copy, &QPushButton::clicked, this, [this, text, i] {
            QApplication::clipboard()->setText(text);
            m_status->setText(PublishTexts::copied().arg(i + 1));
        });
        m_parts->addTab(page, QString::number(i + 1));
    }
    m_save->setEnabled(parts > 0);
}

void BbcodeDialog::save()
{
    const QString folder = m_chooseFolder(this);
    if (folder.isEmpty()) {
        return;
    }
    QStringList written;
    for (qsizetype i = 0; i < m_recap.parts.size(); ++i) {
        const QString name = PublishTexts::partFile()
                                 .arg(Slug::of(category().caption))
                                 .arg(m_from->value(), 3, 10, QLatin1Char('0'))
                                 .arg(i + 1);
        QSaveFile file(QDir(folder).filePath(name));
        const QByteArray bytes = m_recap.parts.at(i).toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            m_messenger.critical(PublishTexts::saveFailed().arg(QDir::toNativeSeparators(file.fileName()),
                                                                file.errorString(), QString::number(written.size())));
            return;
        }
        written.append(name);
    }
    m_status->setText(PublishTexts::saved().arg(written.size()).arg(QDir::toNativeSeparators(folder)));
}
