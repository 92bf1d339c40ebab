// Writes the demo catalogue: a catalogue as it looks after a few years of a real forum — a few hundred entries over
// the four series (Tusqué shorter), a few dozen authors of whom a handful post most, answers and places with
// accents, some addresses not given, the Vantorel table stored a little out of number order, and the few slips of
// hand entry that "Contrôler le catalogue…" is there to find. The same on every run: the generator's seed is fixed.
// Most pictures are kept in the image archive, as after a few "Archiver les images…": made-up landscapes drawn here,
// kept through the archive as a download would be.
// Usage: mezor-demo FOLDER

#include "CatalogueGenerator.h"
#include "catalogue/Catalogue.h"
#include "catalogue/EntryAddress.h"
#include "image/ImageArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSqlQuery>
#include <QTextStream>

#include <algorithm>
#include <exception>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Places for Plomé; names, titles and things for the other series. Each series takes its answers from its pool
// without putting them back: an answer twice in a series is a slip, and the demo plants its own below.
// clang-format off
const QStringList places = {
    u"Étretat"_s, u"Mont Saint-Michel"_s, u"Cirque de Gavarnie"_s, u"Île de Ré"_s, u"Colmar"_s, u"Annecy"_s,
    u"Saint-Émilion"_s, u"Aiguille du Midi"_s, u"Gorges du Verdon"_s, u"Carcassonne"_s, u"Rocamadour"_s,
    u"Dune du Pilat"_s, u"Pont du Gard"_s, u"Château de Chambord"_s, u"Belle-Île-en-Mer"_s, u"Sète"_s,
    u"Îles de Lérins"_s, u"Cap Fréhel"_s, u"Puy de Dôme"_s, u"Vézelay"_s, u"Gordes"_s, u"Èze"_s,
    u"Calanques de Cassis"_s, u"Lac du Bourget"_s, u"Forêt de Brocéliande"_s, u"Pérouges"_s, u"Honfleur"_s,
    u"Saint-Malo"_s, u"Cordes-sur-Ciel"_s, u"Cité de Carcassonne"_s, u"Mer de Glace"_s, u"Chenonceau"_s,
    u"Gouffre de Padirac"_s, u"Menton"_s, u"Collioure"_s, u"Albi"_s, u"Conques"_s, u"Yvoire"_s,
    u"Riquewihr"_s, u"Bonifacio"_s, u"Porquerolles"_s, u"Pointe du Raz"_s, u"Cirque de Navacelles"_s,
    u"Château de Versailles"_s, u"Sacré-Cœur"_s, u"Place Stanislas"_s, u"Hospices de Beaune"_s,
    u"Abbaye de Sénanque"_s, u"Gorges du Tarn"_s, u"Lac d'Annecy"_s, u"Vallée de Chamonix"_s,
    u"Îles Chausey"_s, u"Ploumanac'h"_s, u"Saint-Cirq-Lapopie"_s, u"Moustiers-Sainte-Marie"_s,
    u"Baie de Somme"_s, u"Falaises d'Étretat"_s, u"Château de Montségur"_s, u"Roussillon"_s, u"Lourdes"_s,
};
const QStringList names = {
    u"Candide"_s, u"Thérèse Raquin"_s, u"Zadig"_s, u"Les Misérables"_s, u"Cyrano de Bergerac"_s,
    u"Œdipe roi"_s, u"Bérénice"_s, u"Madame Bovary"_s, u"Andromaque"_s, u"Le Horla"_s, u"Germinal"_s,
    u"L'Étranger"_s, u"Le Petit Prince"_s, u"Phèdre"_s, u"Les Fleurs du mal"_s, u"Bel-Ami"_s,
    u"Le Rouge et le Noir"_s, u"La Bête humaine"_s, u"Notre-Dame de Paris"_s, u"Le Cid"_s, u"Tartuffe"_s,
    u"Les Trois Mousquetaires"_s, u"Le Comte de Monte-Cristo"_s, u"Vingt mille lieues sous les mers"_s,
    u"Ubu roi"_s, u"La Peste"_s, u"Eugénie Grandet"_s, u"Le Père Goriot"_s, u"Électre"_s, u"Antigone"_s,
    u"Marie Curie"_s, u"Jeanne d'Arc"_s, u"Molière"_s, u"Édith Piaf"_s, u"Gustave Eiffel"_s,
    u"Louis Pasteur"_s, u"Jules Verne"_s, u"George Sand"_s, u"Napoléon"_s, u"Colette"_s, u"Rodin"_s,
    u"Toulouse-Lautrec"_s, u"Le Déjeuner sur l'herbe"_s, u"La Joconde"_s, u"Le Radeau de la Méduse"_s,
    u"La Liberté guidant le peuple"_s, u"Les Nymphéas"_s, u"L'Origine du monde"_s, u"Le Penseur"_s,
    u"Bécassine"_s, u"Astérix"_s, u"Tintin"_s, u"Gaston Lagaffe"_s, u"Le Marsupilami"_s, u"Fantômette"_s,
    u"Crème brûlée"_s, u"Bouillabaisse"_s, u"Pot-au-feu"_s, u"Tarte Tatin"_s, u"Ratatouille"_s,
    u"Croque-monsieur"_s, u"Baguette"_s, u"Pétanque"_s, u"Tour de France"_s, u"Quatorze Juillet"_s,
};
const QStringList pseudonyms = {
    u"Léa"_s,      u"Mathéo"_s,    u"Zoé"_s,       u"Alice"_s,     u"Noémie"_s,  u"bob"_s,
    u"Chloé_42"_s, u"Hélène"_s,    u"Gaëtan"_s,    u"Jérôme"_s,    u"Loïc"_s,    u"Maëlle"_s,
    u"Rémi"_s,     u"Océane"_s,    u"François"_s,  u"Anaïs"_s,     u"Théo"_s,    u"Inès"_s,
    u"Benoît"_s,   u"Camille.B"_s, u"Élodie"_s,    u"Yannick"_s,   u"Sévérine"_s, u"Joël"_s,
    u"marmotte"_s, u"Pénélope"_s,  u"Aurélien"_s,  u"Ségolène"_s,  u"Cédric"_s,  u"Mélanie"_s,
    u"Grégoire"_s, u"Clémence"_s,  u"Nicolas"_s,   u"Bérengère"_s, u"Raphaël"_s, u"Fañch"_s,
};
// Invented people and places that fill the pools out to the length of the longest series.
const QStringList firstNames = {
    u"Victor"_s, u"Émile"_s, u"Honoré"_s, u"Marguerite"_s, u"Simone"_s, u"Albert"_s, u"Marcel"_s, u"Hector"_s,
    u"Louise"_s, u"Berthe"_s, u"Édouard"_s, u"Claude"_s, u"Paul"_s, u"Auguste"_s, u"Irène"_s, u"Lucien"_s,
    u"Adèle"_s, u"Armand"_s, u"Juliette"_s, u"Octave"_s,
};
const QStringList lastNames = {
    u"Lavigne"_s, u"Moreau"_s, u"Fournier"_s, u"Girard"_s, u"Bonnet"_s, u"Dupont"_s, u"Lambert"_s, u"Fontaine"_s,
    u"Rousseau"_s, u"Vincent"_s, u"Lefèvre"_s, u"Faure"_s, u"Mercier"_s, u"Blanc"_s, u"Guérin"_s, u"Boyer"_s,
    u"Garnier"_s, u"Chevalier"_s, u"Marchand"_s, u"Perrin"_s,
};
const QStringList sights = {
    u"Phare"_s, u"Port"_s, u"Église"_s, u"Halles"_s, u"Pont"_s, u"Remparts"_s, u"Marché"_s, u"Plage"_s,
    u"Beffroi"_s, u"Moulin"_s,
};
const QStringList towns = {
    u"Dinan"_s, u"Auray"_s, u"Cahors"_s, u"Figeac"_s, u"Dole"_s, u"Arles"_s, u"Uzès"_s, u"Bayonne"_s, u"Dieppe"_s,
    u"Fécamp"_s, u"Vannes"_s, u"Morlaix"_s, u"Sarlat"_s, u"Millau"_s, u"Rodez"_s, u"Vienne"_s, u"Agde"_s,
    u"Bergues"_s, u"Arras"_s, u"Laval"_s, u"Tulle"_s, u"Nérac"_s, u"Pézenas"_s, u"Lodève"_s, u"Quimper"_s,
};
// clang-format on

QStringList pool(bool places)
{
    QStringList answers = places ? ::places : names;
    for (const QString& first : places ? sights : firstNames) {
        for (const QString& second : places ? towns : lastNames) {
            const bool elided = places && QStringLiteral("AEÉIOUY").contains(second.front());
            answers.append(places ? first + (elided ? u" d'"_s : u" de "_s) + second : first + u' ' + second);
        }
    }
    return answers;
}

PuzzleEntry& entry(std::array<QList<PuzzleEntry>, 4>& series, const Category& category, const QString& ref)
{
    QList<PuzzleEntry>& entries = series[category.index];
    return *std::find_if(entries.begin(), entries.end(), [&](const PuzzleEntry& e) { return e.ref == ref; });
}

// What years of hand entry leave behind, for the consistency check to find.
void plant(std::array<QList<PuzzleEntry>, 4>& series, QStringList& authors)
{
    entry(series, Category::dravé(), u"012"_s).author = u"Zoé "_s;                 // a trailing space
    entry(series, Category::dravé(), u"027"_s).answer = u"La Dame aux camélias"_s; // entered twice
    entry(series, Category::dravé(), u"141"_s).answer = u"la dame aux camelias"_s;
    for (const QString& ref : {u"118"_s, u"119"_s}) { // an address pasted into the next row too
        entry(series, Category::plomé(), ref).url = u"https://images.exemple.org/plomé/118.jpg"_s;
    }
    for (const QString& ref : {u"049"_s, u"050"_s}) {
        entry(series, Category::vantorel(), ref).link = u"https://forum.exemple.org/sorvane/titres/049"_s;
    }
    entry(series, Category::tusqué(), u"030"_s).url = u"images.exemple.org/tusqué/030.jpg"_s; // no scheme
    entry(series, Category::tusqué(), u"057"_s).ref = u"57"_s; // a number typed by another tool
    authors.append(u"Gaspard"_s);                              // registered, never posted
}

CatalogueGenerator::Recipe demo()
{
    CatalogueGenerator::Recipe recipe;
    recipe.entries = {314, 246, 58, 172}; // Dravé, Plomé, Tusqué, Vantorel
    recipe.authors = int(pseudonyms.size());
    recipe.authorName = [](int rank) { return pseudonyms.at(rank); };
    recipe.answer = [left = std::make_shared<std::array<QStringList, 4>>()](const Category& category,
                                                                            QRandomGenerator& random) {
        QStringList& answers = (*left)[category.index];
        if (answers.isEmpty()) {
            answers = pool(category.answerField == u"lieu");
        }
        return answers.takeAt(qsizetype(random.bounded(int(answers.size()))));
    };
    // About one image address in twelve and one forum address in fifteen were never given.
    recipe.url = [](const Category& category, const QString& ref, QRandomGenerator& random) {
        return random.bounded(12) == 0 ? EntryAddress::notAvailable()
                                       : u"https://images.exemple.org/%1/%2.jpg"_s.arg(category.table, ref);
    };
    recipe.link = [](const Category& category, const QString& ref, QRandomGenerator& random) {
        return random.bounded(15) == 0 ? EntryAddress::notAvailable()
                                       : u"https://forum.exemple.org/sorvane/%1/%2"_s.arg(category.table, ref);
    };
    recipe.otherCaseOneIn = 40;
    recipe.registerAll = false; // the register grows with Dravé entries only
    recipe.storedOutOfOrder = 6;
    recipe.seed = 4302;
    recipe.plant = plant;
    return recipe;
}

// A made-up puzzle picture: a sky, a sun or a moon, two ranges of hills, each in colours of its own.
QByteArray landscape(QRandomGenerator& random)
{
    const int width = 480;
    const int height = 360;
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int hue = random.bounded(360);
    const bool night = random.bounded(5) == 0;
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor::fromHsv(hue, night ? 120 : 90, night ? 70 : 230));
    sky.setColorAt(1, QColor::fromHsv((hue + 40) % 360, night ? 80 : 60, night ? 120 : 250));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(night ? QColor(0xF0, 0xF0, 0xE0) : QColor(0xFF, 0xC1, 0x07));
    painter.drawEllipse(QPointF(60 + random.bounded(width - 120), 50 + random.bounded(90)), 35, 35);
    for (int range = 0; range < 2; ++range) {
        const int base = height - 60 + range * 50;
        painter.setBrush(QColor::fromHsv((hue + 120 + range * 25) % 360, 150, night ? 60 : 150 - range * 30));
        QPolygonF hills{QPointF(0, height)};
        for (int x = 0; x <= width; x += 60) {
            hills << QPointF(x, base - random.bounded(90 + range * 40));
        }
        hills << QPointF(width, height);
        painter.drawPolygon(hills);
    }
    painter.end();
    return CatalogueGenerator::jpeg(image);
}

// Keeps a picture for about six entries in seven that have an image address; one kept copy of the first series
// is damaged, as a copy cut short on a full disk would be.
QString fillArchive(const QString& folder)
{
    Catalogue catalogue(CatalogueFolder(folder).database());
    ImageArchive archive(CatalogueFolder(folder), catalogue);
    // A demo being made is not yet anyone's data: its hundreds of records need not each wait for the disk.
    QSqlQuery(catalogue.database()).exec(QStringLiteral("PRAGMA synchronous = OFF"));
    QRandomGenerator random(4303);
    const QDateTime taken(QDate(2026, 11, 2), QTime(20, 30), Qt::UTC);
    for (const Category& category : Category::all()) {
        const QList<PuzzleEntry> entries = catalogue.entries(category, EntryOrder::ByNumber);
        for (qsizetype n = 0; n < entries.size(); ++n) {
            const PuzzleEntry& entry = entries.at(n);
            if (entry.url == EntryAddress::notAvailable() || random.bounded(7) == 0) {
                continue;
            }
            const QByteArray picture =
                category.index == 0 && n == 6 ? QByteArray("\xFF\xD8\xFF\xE0 coupé") : landscape(random);
            const QString failure = archive.keep(category, entry.ref, entry.url, picture, taken.addSecs(n * 60));
            if (!failure.isEmpty()) {
                return failure;
            }
        }
    }
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "Usage : mezor-demo DOSSIER\n";
        return 2;
    }
    const QString folder = app.arguments().at(1);
    if (!QDir().mkpath(folder)) {
        err << "mezor-demo : le dossier " << folder << " ne peut pas être créé.\n";
        return 1;
    }
    try {
        CatalogueGenerator::generate(folder, demo(), "recherche-exemple.sh");
        if (const QString failure = fillArchive(folder); !failure.isEmpty()) {
            err << "mezor-demo : " << failure << '\n';
            return 1;
        }
    } catch (const std::exception& error) {
        err << "mezor-demo : " << QString::fromLocal8Bit(error.what()) << '\n';
        return 1;
    }
    return 0;
}
