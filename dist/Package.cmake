# The Debian package: `scripts/package` runs cpack with this configuration on the ci build and writes
# mezor_<version>_amd64.deb. It holds what `cmake --install` puts in place (the program, the launcher, the icon, the
# AppStream file); its dependencies are the binary's libraries, found by dpkg-shlibdeps, plus what no library lookup
# can find: the ImageMagick converter the image window runs, Qt's SQLite driver (a plugin) and Qt's French texts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mezor)
set(CPACK_PACKAGE_VENDOR "Mézor")
set(CPACK_PACKAGE_CONTACT "Mézor <mezor@exemple.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue des énigmes Dravé, Plomé, Tusqué et Vantorel")
set(CPACK_PACKAGE_DESCRIPTION "Mézor tient le catalogue des énigmes en images postées sur un forum en quatre \
séries numérotées : ajout du numéro suivant sous contrôle strict, corrections, tris, recherche, statistiques par \
auteur, aperçu de l'image de chaque énigme et comparaison avec les derniers numéros trouvés sur le forum.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "imagemagick, libqt6sql6-sqlite, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mdbtools")
set(CPACK_STRIP_FILES ON)
include(CPack)
