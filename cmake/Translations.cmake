# The program's translations: lupdate reads every source below src/ into i18n/*.ts (the target
# update_translations rewrites them), lrelease turns them into .qm files that are embedded in
# vandra_support under :/i18n, so every program finds them without an installed path.
#
# i18n/vandra_en.ts holds only the English plural forms ("%n jobs" for one and for many):
# refresh it with lupdate's -pluralonly option, as tests/tools/check_translations.py does.
#
# Localize::text("…") is a translate call in the "Localize" context; the alias lets lupdate
# read it as one, so the call sites need no second marking of their literals.
set(VANDRA_LUPDATE_OPTIONS -tr-function-alias tr+=text -locations none -no-obsolete)
file(GLOB_RECURSE VANDRA_TRANSLATED_SOURCES CONFIGURE_DEPENDS
     "${CMAKE_SOURCE_DIR}/src/*.cpp" "${CMAKE_SOURCE_DIR}/src/*.h")
set(VANDRA_TS_FILES "${CMAKE_SOURCE_DIR}/i18n/vandra_de.ts")

qt_add_translations(vandra_support
    TS_FILES ${VANDRA_TS_FILES}
    RESOURCE_PREFIX "/i18n"
    SOURCES ${VANDRA_TRANSLATED_SOURCES}
    INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/src"
    LUPDATE_OPTIONS ${VANDRA_LUPDATE_OPTIONS})

# lrelease wants a target to hang its rule on; the resource below is what uses the file.
add_custom_target(vandra_plurals)
qt_add_lrelease(vandra_plurals
    TS_FILES "${CMAKE_SOURCE_DIR}/i18n/vandra_en.ts"
    QM_FILES_OUTPUT_VARIABLE VANDRA_PLURALS_QM
    NO_TARGET_DEPENDENCY NO_GLOBAL_TARGET)
qt_add_resources(vandra_support "vandra_plurals"
    PREFIX "/i18n"
    BASE "${CMAKE_CURRENT_BINARY_DIR}"
    FILES ${VANDRA_PLURALS_QM})
