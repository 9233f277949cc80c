# The client's texts in each language it ships: translations/<code>.ts, compiled by lrelease
# into "languages/<code>.qm" beside the executable, where the client looks for them at run
# time. scripts/update-translations keeps the .ts files in step with the code.
find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)

set(ONDTPC_TRANSLATION_FILES
    ${PROJECT_SOURCE_DIR}/translations/en_us.ts
    ${PROJECT_SOURCE_DIR}/translations/fr_ca.ts
    ${PROJECT_SOURCE_DIR}/translations/es_us.ts
)

# ondtpc_compile_translations(<target> <directory>)
# Makes <target> depend on <directory>/languages/<code>.qm, built from the .ts files above
# (the custom target <target>_lrelease does the compiling).
function(ondtpc_compile_translations target directory)
    set_source_files_properties(${ONDTPC_TRANSLATION_FILES}
        PROPERTIES OUTPUT_LOCATION ${directory}/languages)
    qt_add_lrelease(${target} TS_FILES ${ONDTPC_TRANSLATION_FILES} OPTIONS -silent)
endfunction()
