-- Mézor catalogue: four series of puzzles and the register of authors.
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
