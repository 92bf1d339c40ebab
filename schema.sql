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

-- Findings of the consistency check that the keeper marked "Pas un problème": the key naming the finding (its
-- kind with the entries and texts it is made of), its line as it read then, and when (UTC, ISO 8601).
CREATE TABLE marques (
    "clé"    TEXT NOT NULL PRIMARY KEY,
    constat  TEXT NOT NULL,
    date     TEXT NOT NULL
);

-- The version of this schema; a catalogue of an older version is upgraded when it is opened.
PRAGMA user_version = 2;
