#pragma once

class CatalogueFolder;
class Messenger;

/// `mezor --check [dossier]`: the consistency check on the console.
namespace ConsistencyCommand {
/// Prints the findings not marked "Pas un problème", grouped as the window shows them, then a summary. Opens the
/// catalogue read-only and changes nothing. Returns 0 when nothing is found, 1 otherwise or on failure.
int run(const CatalogueFolder& folder, Messenger& messenger);
} // namespace ConsistencyCommand
