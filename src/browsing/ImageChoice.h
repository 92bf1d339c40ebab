#pragma once

#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"

#include <QString>

#include <optional>

/// What a click on an entry of a category grid shows, decided from the stored entry and the "Affichage" options
/// alone, so that every combination can be checked without widgets.
struct ImageChoice {
    /// The option selected in the "Affichage" frame.
    enum class Option { Window, Web, Forum };
    enum class Action {
        Nothing,       ///< "Afficher" unticked, no address, or no such entry
        OpenOnDesktop, ///< hand `address` to the desktop (web browser)
        OpenWindow,    ///< show `address` in the image window, which checks it
        Refuse,        ///< `address` is no http:// or https:// address: it must not reach the desktop
    };

    Action action = Action::Nothing;
    QString address;

    /// `entry` is the stored entry, or nothing when the catalogue no longer holds the clicked number.
    static ImageChoice decide(const Category& category, const std::optional<PuzzleEntry>& entry, bool showImage,
                              Option option);

    friend bool operator==(const ImageChoice&, const ImageChoice&) = default;
};
