#!/bin/sh
# Sample search program for the demo catalogue. Mézor starts it in the catalogue folder as
#     recherche-exemple.sh , 6
# (both arguments are accepted and not used). A real search program reads the forum; this one takes the
# catalogue's counts (with sqlite3, when it is installed), adds a little invented progress so that both equal and
# different numbers show, and rewrites the section [dernier_numero] of paramvorn.ini, keeping every other line.
# The numbers start at characters 20, 22, 20 and 24 of their lines.
set -eu

settings=paramvorn.ini
database=Mézor.db

count() {
    if command -v sqlite3 >/dev/null 2>&1 && [ -f "$database" ]; then
        sqlite3 "$database" "SELECT count(*) FROM \"$1\";" 2>/dev/null || echo "$2"
    else
        echo "$2"
    fi
}

drave=$(($(count dravé 14) + 3))
tusque=$(count tusqué 12)
plome=$(($(count plomé 11) + 1))
vantorel=$(count titres 10)

[ -f "$settings" ] || : >"$settings"
work="$settings.$$"
# Drop the old section (its line and the four after it); keep the rest with Windows line ends.
awk '{ sub(/\r$/, "") }
     skip > 0 { skip--; next }
     $0 == "[dernier_numero]" { skip = 4; next }
     { printf "%s\r\n", $0 }' "$settings" >"$work"
{
    printf '[dernier_numero]\r\n'
    printf '%-18s=%s\r\n' dernier_drave "$drave"
    printf '%-20s=%s\r\n' dernier_tusque "$tusque"
    printf '%-18s=%s\r\n' dernier_plome "$plome"
    printf '%-22s=%s\r\n' dernier_vantorel "$vantorel"
} >>"$work"
mv "$work" "$settings"
