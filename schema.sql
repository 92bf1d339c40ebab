-- Mézor catalogue: four series of puzzles, the register of authors and the records of the kept pictures.
-- Every field is text; numbers are three zero-padded digits kept as typed ("001", "042").
-- SQLite index names are global to the file, so each series names its number index `idx_ref`
-- as a table constraint (constraint names are per table); it also refuses a number twice.

CREATE TABLE "dravé" (
    ref    TEXT NOT NULL,
    nom    TEXT NOT NULL,
    auteur TEXT NOT NULL,
    url    TEXT NOT NULL,
    lien   TEXT NOT NULL,
    CONSTRAINT idx_ref UNIQUE (ref)
);

CREATE TABLE "plomé" (
    ref    TEXT NOT NULL,
    lieu   TEXT NOT NULL,
    auteur TEXT NOT NULL,
    url    TEXT NOT NULL,
    lien   TEXT NOT NULL,
    CONSTRAINT idx_ref UNIQUE (ref)
);

CREATE TABLE "tusqué" (
    ref    TEXT NOT NULL,
    nom    TEXT NOT NULL,
    auteur TEXT NOT NULL,
    url    TEXT NOT NULL,
    lien   TEXT NOT NULL,
    CONSTRAINT idx_ref UNIQUE (ref)
);

CREATE TABLE "titres" (
    ref    TEXT NOT NULL,
    nom    TEXT NOT NULL,
    auteur TEXT NOT NULL,
    url    TEXT NOT NULL,
    lien   TEXT NOT NULL,
    CONSTRAINT idx_ref UNIQUE (ref)
);

CREATE TABLE "auteurs" (
    nom TEXT NOT NULL
);
CREATE INDEX "idx_nom" ON "auteurs" (nom);

-- Pictures kept in the folder "images" beside the catalogue: the file of each entry, the image address it was
-- downloaded from and when (UTC, ISO 8601). A copy is fresh while the entry's address is still that one.
CREATE TABLE "images" (
    "série"  TEXT NOT NULL,
    ref      TEXT NOT NULL,
    adresse  TEXT NOT NULL,
    fichier  TEXT NOT NULL,
    date     TEXT NOT NULL,
    CONSTRAINT idx_image UNIQUE ("série", ref)
);

-- The journal of changes: one row per change (one step of undo), newest last, with the series and number of its
-- first entry and how many entries it changed; `journal_entrées` holds each entry before and after (the five fields
-- as a JSON array, NULL where the entry did not exist), `journal_auteurs` the names it added to the register (1) or
-- removed from it (0). `état` is 'fait' on the undo stack, 'annulé' on the redo stack, NULL otherwise; an undo or a
-- redo names its change in `cible`. Only the newest 10,000 changes are kept.
CREATE TABLE "journal" (
    id          INTEGER PRIMARY KEY,
    date        TEXT NOT NULL,
    sorte       TEXT NOT NULL,
    description TEXT NOT NULL,
    "série"     TEXT,
    ref         TEXT,
    nombre      INTEGER NOT NULL,
    "état"      TEXT,
    cible       INTEGER
);
CREATE INDEX "idx_journal_etat" ON "journal" ("état", id);
CREATE INDEX "idx_journal_cible" ON "journal" (cible) WHERE cible IS NOT NULL;
CREATE TABLE "journal_entrées" (
    change  INTEGER NOT NULL,
    "série" TEXT NOT NULL,
    ref     TEXT NOT NULL,
    avant   TEXT,
    "après" TEXT
);
CREATE INDEX "idx_journal_change" ON "journal_entrées" (change);
CREATE INDEX "idx_journal_entree" ON "journal_entrées" ("série", ref);
CREATE TABLE "journal_auteurs" (
    change   INTEGER NOT NULL,
    nom      TEXT NOT NULL,
    "ajouté" INTEGER NOT NULL
);
CREATE INDEX "idx_journal_auteurs" ON "journal_auteurs" (change);

-- Findings of the consistency check that the keeper marked "Pas un problème": the key naming the finding (its
-- kind with the entries and texts it is made of), its line as it read then, and when (UTC, ISO 8601).
CREATE TABLE marques (
    "clé"    TEXT NOT NULL PRIMARY KEY,
    constat  TEXT NOT NULL,
    date     TEXT NOT NULL
);

-- The version of this schema; a catalogue of an older version is upgraded when it is opened.
PRAGMA user_version = 3;
