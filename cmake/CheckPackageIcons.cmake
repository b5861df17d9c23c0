# Run by CPack before it packs the installed tree: the Linux package must
# carry the icon's PNG sizes, which the build renders with rsvg-convert.
file(GLOB_RECURSE icons "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.png")
list(FILTER icons INCLUDE REGEX "/256x256/apps/com\\.zintaro\\.Wordlumen\\.png$")
if(NOT icons)
    message(FATAL_ERROR "The package has no PNG icons in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}: "
                        "install librsvg2-bin and build again.")
endif()
